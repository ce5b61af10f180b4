#include "fertility/fertility_inputs.h"

#include "fertility/record_fields.h"

namespace tw {
namespace {

using namespace codec;

// The stored layout, member by member. One list serves the encoder and the decoder, so the two
// can never disagree about an offset.
template<class Inputs, class Visitor>
void visit_inputs(Inputs &in, Visitor &&v)
{
    v.text(0, in.crop_name, 20);
    v.text(20, in.yield_units, 10);
    v.word(32, in.year);
    v.text(36, in.text_a, 14);
    v.text(50, in.text_b, 13);
    v.text(63, in.soil_texture, 16);
    v.word(80, in.nebraska_equation);
    v.word(84, in.yield_goal_int);
    v.word(88, in.yield_goal);
    v.word(92, in.unused_1);
    v.word(96, in.soil_test_available);
    v.word(100, in.organic_matter);
    v.word(104, in.soil_nitrate);
    v.word(108, in.p_class);
    v.word(112, in.k_level);
    v.word(116, in.p_test_type);
    v.word(120, in.p_level);
    v.word(124, in.sample_depth);
    v.word(128, in.texture_index);
    v.word(132, in.sample_count);
    v.word(136, in.handled_well);
    v.word(140, in.lab_trustworthy);
    v.word(144, in.bulk_density);
    v.word(148, in.soil_ph);
    v.word(152, in.cn_ratio);
    v.word(156, in.cec);
    v.word(160, in.previous_crop);
    v.word(164, in.pre_legume_nitrogen);
    v.word(168, in.legume_harvest);
    v.word(172, in.previous_yield);
    v.word(176, in.residue_left);
    v.word(180, in.tillage);
    v.word(184, in.manure_this_season);
    v.word(188, in.manure_amount);
    v.word(192, in.manure_type);
    v.word(196, in.manure_form);
    v.word(200, in.manure_fresh);
    v.word(204, in.manure_method);
    v.word(208, in.manure_analysis);
    v.word(212, in.manure_n_percent);
    v.word(216, in.manure_p_percent);
    v.word(220, in.manure_moisture);
    v.word(224, in.last_manure);
    v.word(228, in.last_manure_amount);
    v.word(232, in.last_manure_type);
    v.word(236, in.last_manure_form);
    v.word(240, in.last_manure_fresh);
    v.word(244, in.last_manure_method);
    v.word(248, in.last_manure_analysis);
    v.word(252, in.last_manure_n_percent);
    v.word(256, in.last_manure_moisture);
    v.word(260, in.irrigation_nitrate_known);
    v.word(264, in.irrigation_nitrate);
    v.word(268, in.irrigation_amount);
    v.word(272, in.unused_2);
    v.word(276, in.irrigation_efficiency);
    v.word(280, in.drainage_class);
    v.word(284, in.tile_drained);
    v.word(288, in.compact_layer);
    v.word(292, in.extra_nitrogen);
    v.word(296, in.root_depth_ft);
    v.word(300, in.n_requirement);
    v.words(304, in.p_recommendation);
    v.words(324, in.k_recommendation);
    v.words(344, in.efficiency);
    v.word(368, in.yield_b0);
    v.word(372, in.plant_population);
    v.date(inputs_offset::planting_date, in.planting_date);
    v.words(388, in.weekly_gdd);
    v.words(420, in.typical_weekly_gdd);
    v.word(460, in.uptake_to_date);
    v.word(464, in.new_soil_test);
    v.word(inputs_offset::applications_count, in.applications_count);
    v.word(inputs_offset::soil_test_date, in.soil_test_date);
    v.word(inputs_offset::midseason_mode, in.midseason_mode);
    v.word(480, in.midseason_pass);
    v.word(inputs_offset::applied_to_date, in.applied_to_date);
    v.word(488, in.reserved);
}
static_assert(488 + 4 == kFertilityInputsSize);
static_assert(inputs_offset::planting_date + 12 == 388, "float64 day, then int32 status");
static_assert(344 + 6 * 4 == 368 && 420 + 10 * 4 == 460);

} // namespace

FertilityInputsImage encode_fertility_inputs(const FertilityInputs &inputs)
{
    FertilityInputsImage image{};
    visit_inputs(inputs, FieldWriter{image});
    return image;
}

FertilityInputs decode_fertility_inputs(std::span<const std::uint8_t, kFertilityInputsSize> bytes)
{
    FertilityInputs inputs;
    visit_inputs(inputs, FieldReader{bytes});
    return inputs;
}

void reset_fertility_inputs(FertilityInputs &inputs)
{
    inputs = FertilityInputs{};
}

FertilityInputs &fertility_inputs()
{
    static FertilityInputs inputs;
    return inputs;
}

} // namespace tw
