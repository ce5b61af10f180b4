#include "refdata/preferences_form.h"

#include "refdata/units.h"

#include <utility>

namespace tw {

namespace {

// Each field of the form and the preferences field it edits.
constexpr std::pair<std::int32_t PreferencesForm::*, std::int32_t CustomSettings::*> kFields[] = {
    {&PreferencesForm::crop_growth_basis, &CustomSettings::crop_growth_basis},
    {&PreferencesForm::root_depth_model, &CustomSettings::root_depth_model},
    {&PreferencesForm::moisture_display, &CustomSettings::moisture_display},
    {&PreferencesForm::depth_unit, &CustomSettings::depth_unit},
    {&PreferencesForm::height_unit, &CustomSettings::height_unit},
    {&PreferencesForm::soil_moisture_unit, &CustomSettings::soil_moisture_unit},
    {&PreferencesForm::radiation_unit, &CustomSettings::radiation_unit},
    {&PreferencesForm::pressure_unit, &CustomSettings::pressure_unit},
    {&PreferencesForm::temperature_unit, &CustomSettings::temperature_unit},
    {&PreferencesForm::wind_unit, &CustomSettings::wind_unit},
    {&PreferencesForm::latent_heat_unit, &CustomSettings::latent_heat_unit},
    {&PreferencesForm::cloud_cover_input, &CustomSettings::cloud_cover_input},
};

} // namespace

PreferencesForm PreferencesForm::from(const CustomSettings &settings)
{
    PreferencesForm form;
    for (const auto &[own, stored] : kFields)
        form.*own = settings.*stored;
    return form;
}

void PreferencesForm::apply_to(CustomSettings &settings) const
{
    for (const auto &[own, stored] : kFields)
        settings.*stored = this->*own;
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

void apply_unit_preset(PreferencesForm &form, UnitPreset preset)
{
    const bool us = preset == UnitPreset::UsCustomary;
    // Codes of the lists: in / mm, ft / m, in water per ft soil / mm per mm, ly/day / MJ/m2 day,
    // mb / kPa, Farenheight / Celsius, mi/day / km/day, BTU/lb / MJ/kg.
    form.depth_unit = us ? 1 : 0;
    form.height_unit = us ? 0 : 1;
    form.soil_moisture_unit = us ? 1 : 2;
    form.radiation_unit = us ? 2 : 0;
    form.pressure_unit = us ? 1 : 2;
    form.temperature_unit = us ? 1 : 0;
    form.wind_unit = us ? 0 : 1;
    form.latent_heat_unit = us ? 3 : 2;
}

} // namespace tw
