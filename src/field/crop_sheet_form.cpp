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

} // namespace

std::vector<std::string_view> yield_unit_choices()
{
    return {"BU/Acre", "CWT/Acre", "Tons/Acre"};
}

CropSheetValues crop_sheet_values(const CropRecord &crop)
{
    CropSheetValues v;
    v.name = crop.name;
    v.hybrid = crop.hybrid;
    v.max_harvests = crop.max_harvests;
    v.average_yield = crop.average_yield;
    v.yield_units = crop.yield_units;
    v.plant_population = crop.plant_population;
    v.planting_depth = convert_to(Depth, crop.planting_depth);
    v.max_root_depth = convert_to(Depth, crop.max_root_depth);
    v.min_temperature = convert_to(Temperature, crop.gdd_min_temp);
    v.max_temperature = convert_to(Temperature, crop.gdd_max_temp);
    v.kc_before = crop.kc_before;
    v.kc_after = crop.kc_after;
    v.n_requirement = crop.n_requirement;
    v.efficiency = crop.efficiency;
    v.p_levels = crop.p_levels;
    v.k_levels = crop.k_levels;
    v.yield_b0 = crop.yield_b0;
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
    crop.name = cut_to_chars(v.name, kCropTextChars);
    crop.hybrid = cut_to_chars(v.hybrid, kCropTextChars);
    crop.max_harvests = v.max_harvests;
    crop.average_yield = v.average_yield;
    crop.yield_units = cut_to_chars(v.yield_units, kYieldUnitChars);
    crop.plant_population = v.plant_population;
    crop.planting_depth = convert_from(Depth, v.planting_depth);
    crop.max_root_depth = convert_from(Depth, v.max_root_depth);
    crop.gdd_min_temp = convert_from(Temperature, v.min_temperature);
    crop.gdd_max_temp = convert_from(Temperature, v.max_temperature);
    crop.kc_before = v.kc_before;
    crop.kc_after = v.kc_after;
    crop.n_requirement = v.n_requirement;
    crop.efficiency = v.efficiency;
    crop.p_levels = v.p_levels;
    crop.k_levels = v.k_levels;
    crop.yield_b0 = v.yield_b0;
}

} // namespace tw
