#pragma once

#include "refdata/custom_settings.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tw {

/// What the "Customize Tillwise" sheet edits: the twelve switches and unit codes at the head of
/// the preferences record. The coefficients behind them are never touched by the sheet.
struct PreferencesForm
{
    std::int32_t crop_growth_basis = 0;
    std::int32_t root_depth_model = 0;
    std::int32_t moisture_display = 0;
    std::int32_t depth_unit = 0;
    std::int32_t height_unit = 0;
    std::int32_t soil_moisture_unit = 0;
    std::int32_t radiation_unit = 0;
    std::int32_t pressure_unit = 0;
    std::int32_t temperature_unit = 0;
    std::int32_t wind_unit = 0;
    std::int32_t latent_heat_unit = 0;
    std::int32_t cloud_cover_input = 0;

    static PreferencesForm from(const CustomSettings &settings);
    void apply_to(CustomSettings &settings) const;
    friend bool operator==(const PreferencesForm &, const PreferencesForm &) = default;
};

/// The one-click unit choices of the Units page: every list set at once, still editable after.
enum class UnitPreset { UsCustomary, Metric };
/// Sets the eight unit codes of the preset; the switches stay as they are.
void apply_unit_preset(PreferencesForm &form, UnitPreset preset);

/// The entries of a Dimension's list on the Units page; a list position is the unit code.
std::vector<std::string_view> unit_list_texts(std::int32_t dimension);

/// The list position or radio button that shows a stored code: the code itself when the page
/// offers it (`count` positions), otherwise -1 (nothing selected).
int selection_for(std::int32_t stored, int count);
/// The code to store for what the user left selected. A code the page could not show stays as it
/// was stored when the user chose nothing, so confirming the sheet never spoils a unit that a
/// custom.con set on purpose.
std::int32_t code_for(int selection, std::int32_t stored);

} // namespace tw
