#pragma once

#include "refdata/records.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The "General Data" and "Fertility Information" pages of the crop property sheet without the
// sheet: the crop's values as the pages show them (depths and temperatures in display units),
// their ranges, and the way back into the record. The "Growth Stages" page edits the record's
// stages directly (stage_editor.h).
namespace tw {

constexpr std::size_t kCropTextChars = 19;
constexpr std::size_t kYieldUnitChars = 9;

struct CropSheetValues
{
    std::string name;
    std::string hybrid;
    int max_harvests = 1;
    int average_yield = 0;
    std::string yield_units;
    int plant_population = 0; ///< 1000/Acre
    float planting_depth = 0.0f;
    float max_root_depth = 0.0f;
    float min_temperature = 0.0f;
    float max_temperature = 0.0f;
    KcPolynomial kc_before{};
    KcPolynomial kc_after{};
    float n_requirement = 0.0f;
    std::array<int, 6> efficiency{}; ///< percent, in the record's order
    std::array<int, 3> p_levels{};   ///< low, medium, high, lb/acre
    std::array<int, 3> k_levels{};
    float yield_b0 = 0.0f;
};

enum class SoilTestNutrient { Phosphorus, Potassium };

/// The tool tip of a soil-test level field (level 0 Low, 1 Medium, 2 High): the field holds the
/// rate paid at that soil-test class, not the class's bound.
std::string soil_test_rate_tip(SoilTestNutrient nutrient, std::size_t level);

/// The yield units the list offers.
std::vector<std::string_view> yield_unit_choices();

CropSheetValues crop_sheet_values(const CropRecord &crop);
/// The message of the first value outside its range, nothing when the values can be stored.
std::optional<std::string> check_crop_sheet_values(const CropSheetValues &values);
/// Stores the values in internal units, the texts cut to their fields; the stages are left.
void store_crop_sheet_values(const CropSheetValues &values, CropRecord &crop);

} // namespace tw
