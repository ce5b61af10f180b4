#include "field/crop_sheet_form.h"

#include "platform/text_encoding.h"
#include "platform/text_format.h"
#include "refdata/units.h"

namespace tw {
namespace {

constexpr const char *kEfficiencyNames[] = {
    "the Fertilizer efficiency",
    "the Residual Nitrate efficiency",
    "the Organic Matter efficiency",
    "the Legume Fixation efficiency",
    "the Manure Mineralization efficiency",
    "the Irrigation Water Nitrate efficiency",
};

// The sheet's numbers with a unit (none: as stored); one table serves both directions.
struct ShownValue
{
    float CropSheetValues::*shown;
    float CropRecord::*stored;
    std::int32_t dimension;
};
constexpr ShownValue kShownValues[] = {
    {&CropSheetValues::planting_depth, &CropRecord::planting_depth, Depth},
    {&CropSheetValues::max_root_depth, &CropRecord::max_root_depth, Depth},
    {&CropSheetValues::min_temperature, &CropRecord::gdd_min_temp, Temperature},
    {&CropSheetValues::max_temperature, &CropRecord::gdd_max_temp, Temperature},
    {&CropSheetValues::n_requirement, &CropRecord::n_requirement, 0},
    {&CropSheetValues::yield_b0, &CropRecord::yield_b0, 0},
};

/// The members the sheet shows as they are stored; they have the same names on both sides.
template<typename From, typename To>
void copy_as_shown(const From &from, To &to)
{
    to.name = from.name;
    to.hybrid = from.hybrid;
    to.max_harvests = from.max_harvests;
    to.average_yield = from.average_yield;
    to.yield_units = from.yield_units;
    to.plant_population = from.plant_population;
    to.kc_before = from.kc_before;
    to.kc_after = from.kc_after;
    to.efficiency = from.efficiency;
    to.p_levels = from.p_levels;
    to.k_levels = from.k_levels;
}

} // namespace

std::string soil_test_rate_tip(SoilTestNutrient nutrient, std::size_t level)
{
    // The class bounds of the consultation's phosphorus tests and potassium levels, ppm.
    static constexpr const char *kPhosphorusClasses[] = {
        "Low (Olsen below 8 ppm, Bray below 6, AB-DTPA below 4)",
        "Medium (Olsen 8 to 14 ppm, Bray 6 to 15, AB-DTPA 4 to 7)",
        "High (Olsen 15 to 22 ppm, Bray 16 to 25, AB-DTPA 8 to 11)"};
    static constexpr const char *kPotassiumClasses[] = {
        "Low (0 to 60 ppm)", "Medium (61 to 120 ppm)", "High (121 to 180 ppm)"};
    if (level > 2)
        return {};
    if (nutrient == SoilTestNutrient::Phosphorus)
        return strprintf("lb P2O5 per acre recommended when the phosphorus soil test is %s; a "
                         "Very High test gets none",
                         kPhosphorusClasses[level]);
    return strprintf("lb K2O per acre recommended when the potassium soil test is %s; a Very High "
                     "test (above 180 ppm) gets none",
                     kPotassiumClasses[level]);
}

std::vector<std::string_view> yield_unit_choices()
{
    return {"BU/Acre", "CWT/Acre", "Tons/Acre"};
}

CropSheetValues crop_sheet_values(const CropRecord &crop)
{
    CropSheetValues v;
    copy_as_shown(crop, v);
    for (const ShownValue &f : kShownValues)
        v.*f.shown = f.dimension ? convert_to(f.dimension, crop.*f.stored) : crop.*f.stored;
    return v;
}

std::optional<std::string> check_crop_sheet_values(const CropSheetValues &v)
{
    if (auto m = range_message(v.max_harvests, 1, 9, "the Maximum Harvests/Season"))
        return m;
    for (std::size_t i = 0; i < v.efficiency.size(); ++i) {
        if (auto m = range_message(v.efficiency[i], 0, 100, kEfficiencyNames[i]))
            return m;
    }
    return std::nullopt;
}

void store_crop_sheet_values(const CropSheetValues &v, CropRecord &crop)
{
    copy_as_shown(v, crop);
    crop.name = cut_to_chars(v.name, kCropTextChars);
    crop.hybrid = cut_to_chars(v.hybrid, kCropTextChars);
    crop.yield_units = cut_to_chars(v.yield_units, kYieldUnitChars);
    for (const ShownValue &f : kShownValues)
        crop.*f.stored = f.dimension ? convert_from(f.dimension, v.*f.shown) : v.*f.shown;
}

} // namespace tw
