#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Every quantity is stored in one internal unit per kind; screens, dialogs and reports show it in
// the unit the preferences choose, converting here and nowhere else.
namespace tw {

enum Dimension : std::int32_t {
    Depth = 1,
    Height = 2,
    Soil_Moisture = 3,
    Radiation = 4,
    Pressure = 5,
    Temperature = 6,
    Wind_Speed = 7,
    Latent_Heat = 8,
    Degree_Days = 9,
    Inv_Temperature = 10,
};

/// Internal to display unit, by the unit code the preferences hold at the moment of the call.
float convert_to(std::int32_t dimension, float value);
/// Display to internal unit.
float convert_from(std::int32_t dimension, float value);
/// A value in the unit of the given code (as the preferences number them) in the internal unit,
/// whatever the preferences choose; nothing for a code the Dimension does not have. Unlike
/// convert_from, a temperature of 0 is converted like any other.
std::optional<float> convert_from_unit(std::int32_t dimension, std::int32_t code, float value);
/// A degree-day figure typed in the display unit, back in Celsius degree-days: the inverse of
/// convert_to(Degree_Days), which convert_from (display only for degree days) does not give.
float degree_days_from_display(float shown);
/// The label of the display unit ("in", "°F", ...).
std::string sed_SetUnits(std::int32_t dimension);
/// The label of the internal unit.
std::string SetSystemUnits(std::int32_t dimension);

/// One unit a Dimension can be shown in: its code, its label, and the text of its entry in the
/// preferences page's list (empty when the page does not offer it).
struct UnitChoice
{
    std::int32_t code;
    std::string_view label;
    std::string_view choice_text;
};

/// The units of Dimensions 1 to 8 in code order (empty for any other code).
std::span<const UnitChoice> unit_choices(std::int32_t dimension);

/// The preferences field that holds the unit code of a Dimension (1 to 8), nullptr otherwise.
std::int32_t *unit_code_field(std::int32_t dimension);

} // namespace tw
