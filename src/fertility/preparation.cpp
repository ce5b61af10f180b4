#include "fertility/preparation.h"

#include "fertility/choices.h"
#include "fertility/nutrient_file.h"
#include "field/growth_stages.h"
#include "platform/text_encoding.h"
#include "platform/text_format.h"

#include <algorithm>

namespace tw {
namespace {

void apply_field_values(FertilityInputs &in, const FieldFacts &field)
{
    const CropRecord &crop = field.crop;
    // Cut here as the nutrient file will store them, so that what the pages show is what is kept.
    in.crop_name = cut_to_chars(crop.name, 19);
    in.yield_units = cut_to_chars(crop.yield_units, 9);
    in.yield_goal_int = crop.average_yield;
    in.yield_goal = static_cast<float>(crop.average_yield);
    in.n_requirement = crop.n_requirement;
    in.yield_b0 = crop.yield_b0;
    in.plant_population = static_cast<float>(crop.plant_population);
    in.efficiency = crop.efficiency;
    for (std::size_t i = 0; i < 3; ++i) {
        in.p_recommendation[i] = crop.p_levels[i];
        in.k_recommendation[i] = crop.k_levels[i];
    }
    in.p_recommendation[3] = in.p_recommendation[4] = 0;
    in.k_recommendation[3] = in.k_recommendation[4] = 0;
    in.irrigation_efficiency = field.irrigation_efficiency;
    in.root_depth_ft = truncate_to_int(crop.max_root_depth * 0.03937 / 12.0);
    in.texture_index = texture_index_of(field.soil_texture);
    in.soil_texture = in.texture_index < 0 ? "UNKNOWN" : cut_to_chars(field.soil_texture, 15);
    in.planting_date = field.planting_date;
}

} // namespace

int texture_index_of(std::string_view texture)
{
    const std::string upper = to_upper_ascii(texture);
    const auto it = std::find(choice::kTextures.begin(), choice::kTextures.end(), upper);
    return it == choice::kTextures.end() ? -1 : static_cast<int>(it - choice::kTextures.begin());
}

PreparedConsultation prepare_fertility_inputs(FertilityInputs &in, const FieldFacts &field)
{
    reset_fertility_inputs(in);
    PreparedConsultation prepared;
    // The files go where the field and the leaching analysis will look for them. Named after the
    // document's title instead, a new field's files would all be "Untitled" and no field would
    // ever read its own.
    prepared.base_name = nutrient_base_for_field(field.field_name, field.planting_date.day());

    NutrientFileRead stored;
    if (field.crop.name == "CORN")
        stored = load_nutrient_file(prepared.base_name);
    if (stored.status == FileReadStatus::Ok) {
        in = stored.block.inputs;
        in.midseason_pass = 0;
        in.planting_date = field.planting_date;
        prepared.degree_days = prepare_midseason_degree_days(in, field.cumulative_gdd);
    } else {
        in.midseason_mode = 0;
    }
    if (in.midseason_mode == 1) {
        // The fertilizer planned before planting counts as the season's first application; the
        // soil nitrogen at planting is credited by the methods themselves.
        const float preplant = preplant_nitrogen(stored.block);
        in.applications_count = field.nitrogen_applications + (preplant > 0.0f ? 1 : 0);
        in.applied_to_date = preplant + field.nitrogen_total;
    }
    apply_field_values(in, field);
    return prepared;
}

} // namespace tw
