#pragma once

#include "platform/dates.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The one input record of the fertility consultation. It is stored whole at the head of the
// nutrient file, so its members keep the stored order and widths; texts are UTF-8 in memory and
// cut to their field when encoded. Choice members hold the index of the choice (-1 = none).
namespace tw {

struct FertilityInputs
{
    std::string crop_name = "CORN";      ///< char[20]
    std::string yield_units = "BU/ACRE"; ///< char[10]
    std::int32_t year = 2000;
    std::string text_a;       ///< char[14]
    std::string text_b;       ///< char[13]
    std::string soil_texture; ///< char[16]
    std::int32_t nebraska_equation = 0;
    std::int32_t yield_goal_int = 200;
    float yield_goal = 200.0f;
    std::int32_t unused_1 = -1;
    std::int32_t soil_test_available = 1;
    float organic_matter = 1.0f;
    float soil_nitrate = 20.0f;
    std::int32_t p_class = -1;
    std::int32_t k_level = 4;
    std::int32_t p_test_type = 3;
    std::int32_t p_level = 0;
    std::int32_t sample_depth = 1;
    std::int32_t texture_index = 7;
    std::int32_t sample_count = 5;
    std::int32_t handled_well = 1;
    std::int32_t lab_trustworthy = 1;
    float bulk_density = 1.32f;
    float soil_ph = 8.0f;
    float cn_ratio = 10.0f;
    float cec = 20.0f;
    std::int32_t previous_crop = -1;
    std::int32_t pre_legume_nitrogen = -1;
    std::int32_t legume_harvest = -1;
    std::int32_t previous_yield = 1;
    std::int32_t residue_left = 1;
    std::int32_t tillage = 0;
    std::int32_t manure_this_season = -1;
    float manure_amount = 0.0f;
    std::int32_t manure_type = -1;
    std::int32_t manure_form = -1;
    std::int32_t manure_fresh = -1;
    std::int32_t manure_method = -1;
    std::int32_t manure_analysis = -1;
    float manure_n_percent = 0.0f;
    float manure_p_percent = 0.0f;
    float manure_moisture = 0.0f;
    std::int32_t last_manure = -1;
    float last_manure_amount = 0.0f;
    std::int32_t last_manure_type = -1;
    std::int32_t last_manure_form = -1;
    std::int32_t last_manure_fresh = -1;
    std::int32_t last_manure_method = -1;
    std::int32_t last_manure_analysis = -1;
    float last_manure_n_percent = 0.0f;
    float last_manure_moisture = 0.0f;
    std::int32_t irrigation_nitrate_known = -1;
    float irrigation_nitrate = 0.0f;
    float irrigation_amount = 0.0f;
    std::int32_t unused_2 = -1;
    float irrigation_efficiency = 75.0f;
    std::int32_t drainage_class = 2;
    std::int32_t tile_drained = 0;
    std::int32_t compact_layer = 0;
    float extra_nitrogen = 0.0f;
    std::int32_t root_depth_ft = 2;
    float n_requirement = 0.0f;
    std::array<std::int32_t, 5> p_recommendation{};
    std::array<std::int32_t, 5> k_recommendation{80, 40, 20, 0, 0};
    /// Uptake efficiencies in percent: fertilizer, residual nitrate, organic matter, legume
    /// fixation, manure mineralization, irrigation water nitrate.
    std::array<std::int32_t, 6> efficiency{70, 70, 70, 70, 70, 70};
    float yield_b0 = -12.7f;
    float plant_population = 32.0f;
    StoredDate planting_date;
    std::array<std::int32_t, 8> weekly_gdd{};
    std::array<std::int32_t, 10> typical_weekly_gdd{87, 78, 85, 91, 101, 127, 138, 151, 161, 153};
    float uptake_to_date = 0.0f;
    std::int32_t new_soil_test = 0;
    std::int32_t applications_count = 1;
    std::int32_t soil_test_date = 0;
    std::int32_t midseason_mode = 0;
    std::int32_t midseason_pass = 0;
    float applied_to_date = 0.0f;
    std::int32_t reserved = 0;
};

/// Indices into `efficiency`.
enum EfficiencyIndex : std::size_t {
    EffFertilizer,
    EffResidual,
    EffOrganicMatter,
    EffLegume,
    EffManure,
    EffIrrigation,
};

constexpr std::size_t kFertilityInputsSize = 492;
using FertilityInputsImage = std::array<std::uint8_t, kFertilityInputsSize>;

/// Byte offsets of the members that are patched inside a stored image (the midseason save).
namespace inputs_offset {
constexpr std::size_t planting_date = 376, applications_count = 468, soil_test_date = 472,
                      midseason_mode = 476, applied_to_date = 484;
} // namespace inputs_offset

FertilityInputsImage encode_fertility_inputs(const FertilityInputs &inputs);
FertilityInputs decode_fertility_inputs(std::span<const std::uint8_t, kFertilityInputsSize> bytes);

/// The values a consultation starts from, before the field and the nutrient file are applied.
void reset_fertility_inputs(FertilityInputs &inputs);

/// The program's one consultation record; it keeps its values between consultations of a run.
FertilityInputs &fertility_inputs();

} // namespace tw
