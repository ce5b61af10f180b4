#include "refdata/preferences_form.h"

#include "refdata/units.h"

namespace tw {

PreferencesForm PreferencesForm::from(const CustomSettings &s)
{
    return {s.crop_growth_basis, s.root_depth_model,   s.moisture_display, s.depth_unit,
            s.height_unit,       s.soil_moisture_unit, s.radiation_unit,   s.pressure_unit,
            s.temperature_unit,  s.wind_unit,          s.latent_heat_unit, s.cloud_cover_input};
}

void PreferencesForm::apply_to(CustomSettings &s) const
{
    s.crop_growth_basis = crop_growth_basis;
    s.root_depth_model = root_depth_model;
    s.moisture_display = moisture_display;
    s.depth_unit = depth_unit;
    s.height_unit = height_unit;
    s.soil_moisture_unit = soil_moisture_unit;
    s.radiation_unit = radiation_unit;
    s.pressure_unit = pressure_unit;
    s.temperature_unit = temperature_unit;
    s.wind_unit = wind_unit;
    s.latent_heat_unit = latent_heat_unit;
    s.cloud_cover_input = cloud_cover_input;
}

std::vector<std::string_view> unit_list_texts(std::int32_t dimension)
{
    std::vector<std::string_view> texts;
    for (const UnitChoice &choice : unit_choices(dimension)) {
        if (!choice.choice_text.empty())
            texts.push_back(choice.choice_text);
    }
    return texts;
}

int selection_for(std::int32_t stored, int count)
{
    return stored >= 0 && stored < count ? stored : -1;
}

std::int32_t code_for(int selection, std::int32_t stored)
{
    return selection >= 0 ? selection : stored;
}

} // namespace tw
