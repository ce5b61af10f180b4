#include "refdata/units.h"

#include "platform/message_port.h"
#include "refdata/custom_settings.h"

#include <array>

namespace tw {
namespace {

// The temperature label is the degree sign (0xB0 in the program's code page) then C or F.
constexpr std::string_view kCelsius = "\u00B0C";
constexpr std::string_view kFahrenheit = "\u00B0F";

constexpr std::array<UnitChoice, 3> kDepth = {{{0, "mm", "mm"}, {1, "in", "in"}, {2, "cm", "cm"}}};
constexpr std::array<UnitChoice, 4> kHeight = {
    {{0, "ft", "ft"}, {1, "m", "m"}, {2, "km", "km"}, {3, "mi", "mi"}}};
constexpr std::array<UnitChoice, 4> kSoilMoisture = {{{0, "in/in", "in water / in soil"},
                                                      {1, "in/ft", "in water / ft soil"},
                                                      {2, "mm/mm", "mm water / mm soil"},
                                                      {3, "mm/cm", "mm water / cm soil"}}};
constexpr std::array<UnitChoice, 7> kRadiation = {{{0, "MJ/m2 day", "MJ/m2 day"},
                                                   {1, "cal/cm2 day", "cal/cm2 day"},
                                                   {2, "ly/day", "ly/day"},
                                                   {3, "J/cm2 day", "J/cm2 day"},
                                                   {4, "BTU/ft2 day", ""},
                                                   {5, "W hr/m2 day", ""},
                                                   {6, "W/m2", ""}}};
constexpr std::array<UnitChoice, 4> kPressure = {
    {{0, "atm", "atm"}, {1, "mb", "mb"}, {2, "kPa", "kPa"}, {3, "PSI", ""}}};
constexpr std::array<UnitChoice, 2> kTemperature = {
    {{0, kCelsius, "Celsius"}, {1, kFahrenheit, "Farenheight"}}};
constexpr std::array<UnitChoice, 5> kWind = {{{0, "mi/day", "mi/day"},
                                              {1, "km/day", "km/day"},
                                              {2, "mph", "mph"},
                                              {3, "km/hr", "km/hr"},
                                              {4, "m/s", "m/s"}}};
constexpr std::array<UnitChoice, 5> kLatentHeat = {{{0, "cal/cm3", "cal/cm3"},
                                                    {1, "cal/g", "cal/g"},
                                                    {2, "MJ/kg", "MJ/kg"},
                                                    {3, "BTU/lb", "BTU/lb"},
                                                    {4, "KWhr/kg", "KWhr/kg"}}};

// The word each Dimension's missed-switch message names, and the marker value it returns.
struct MissInfo
{
    std::string_view word;
    float marker;
};

MissInfo miss_info(std::int32_t dimension)
{
    switch (dimension) {
    case Depth: return {"Depth", -9991.0f};
    case Height: return {"Height", -9992.0f};
    case Soil_Moisture: return {"Soil_Moisture", -9993.0f};
    case Radiation: return {"Radiation", -9994.0f};
    case Pressure: return {"Pressure", -9995.0f};
    case Temperature:
    case Degree_Days: return {"Temperature", -9996.0f};
    case Inv_Temperature: return {"Inv_Temperature", -9996.0f};
    case Wind_Speed: return {"Wind_Speed", -9997.0f};
    default: return {"Latent_Heat", -9998.0f};
    }
}

float missed(std::int32_t dimension, std::string_view operation)
{
    const MissInfo info = miss_info(dimension);
    messages().inform("ERROR-Missed " + std::string(info.word) + " Switch in " +
                      std::string(operation));
    return info.marker;
}

bool is_temperature_like(std::int32_t dimension)
{
    return dimension == Temperature || dimension == Degree_Days || dimension == Inv_Temperature;
}

std::int32_t code_of(std::int32_t dimension)
{
    const CustomSettings &s = custom_settings();
    switch (dimension) {
    case Depth: return s.depth_unit;
    case Height: return s.height_unit;
    case Soil_Moisture: return s.soil_moisture_unit;
    case Radiation: return s.radiation_unit;
    case Pressure: return s.pressure_unit;
    case Temperature:
    case Degree_Days:
    case Inv_Temperature: return s.temperature_unit;
    case Wind_Speed: return s.wind_unit;
    case Latent_Heat: return s.latent_heat_unit;
    default: return -1;
    }
}

// Each conversion is one single-precision operation with a single-precision constant; the
// missed-switch cases return nothing and are reported by the caller.
bool to_display(std::int32_t dimension, std::int32_t code, float x, float &out)
{
    switch (dimension) {
    case Depth:
        switch (code) {
        case 0: out = x; return true;
        case 1: out = x * 0.03937f; return true;
        case 2: out = x * 0.1f; return true;
        }
        return false;
    case Height:
        switch (code) {
        case 0: out = x * 3.2808f; return true;
        case 1: out = x; return true;
        case 2: out = x / 1000.0f; return true;
        case 3: out = x / 1609.27f; return true;
        }
        return false;
    case Soil_Moisture:
        switch (code) {
        case 0:
        case 2: out = x; return true;
        case 1: out = x * 12.0f; return true;
        case 3: out = x * 10.0f; return true;
        }
        return false;
    case Radiation:
        switch (code) {
        case 0: out = x / 23.892f; return true;
        case 1:
        case 2: out = x; return true;
        case 3: out = x * 4.1855f; return true;
        case 4: out = x * 3.6854f; return true;
        case 5: out = x * 11.63f; return true;
        case 6: out = x / 2.0636f; return true;
        }
        return false;
    case Pressure:
        switch (code) {
        case 0: out = x / 1013.25f; return true;
        case 1: out = x; return true;
        case 2: out = x / 10.0f; return true;
        case 3: out = x / 68.9476f; return true;
        }
        return false;
    case Temperature:
        switch (code) {
        case 0: out = x; return true;
        case 1: out = x * 1.8f + 32.0f; return true;
        }
        return false;
    case Degree_Days:
        switch (code) {
        case 0: out = x; return true;
        case 1: out = x * 1.82f; return true;
        }
        return false;
    case Inv_Temperature:
        switch (code) {
        case 0: out = x; return true;
        case 1: out = 1.0f / ((1.0f / x) * 1.8f); return true;
        }
        return false;
    case Wind_Speed:
        switch (code) {
        case 0: out = x * 0.62136f; return true;
        case 1: out = x; return true;
        case 2: out = x / 38.616f; return true;
        case 3: out = x / 24.0f; return true;
        case 4: out = x / 86.4f; return true;
        }
        return false;
    case Latent_Heat:
        switch (code) {
        case 0:
        case 1: out = x; return true;
        case 2: out = x / 238.92f; return true;
        case 3: out = x * 1.79955f; return true;
        case 4: out = x / 859.845f; return true;
        }
        return false;
    }
    return false;
}

bool from_display(std::int32_t dimension, std::int32_t code, float x, float &out)
{
    switch (dimension) {
    case Depth:
        switch (code) {
        case 0: out = x; return true;
        case 1: out = x * 25.4f; return true;
        case 2: out = x * 10.0f; return true;
        }
        return false;
    case Height:
        switch (code) {
        case 0: out = x * 0.3048f; return true;
        case 1: out = x; return true;
        case 2: out = x * 1000.0f; return true;
        case 3: out = x * 1609.27f; return true;
        }
        return false;
    case Soil_Moisture:
        switch (code) {
        case 0:
        case 2: out = x; return true;
        case 1: out = x / 12.0f; return true;
        case 3: out = x * 0.1f; return true;
        }
        return false;
    case Radiation:
        switch (code) {
        case 0: out = x * 23.892f; return true;
        case 1:
        case 2: out = x; return true;
        case 3: out = x / 4.1855f; return true;
        case 4: out = x / 3.6854f; return true;
        case 5: out = x / 11.63f; return true;
        case 6: out = x * 2.0636f; return true;
        }
        return false;
    case Pressure:
        switch (code) {
        case 0: out = x * 1013.25f; return true;
        case 1: out = x; return true;
        case 2: out = x * 10.0f; return true;
        case 3: out = x * 68.9476f; return true;
        }
        return false;
    case Temperature:
        switch (code) {
        case 0: out = x; return true;
        case 1: out = (x - 32.0f) / 1.8f; return true;
        case 2: out = x - 273.15f; return true;
        case 3: out = (x - 491.67f) / 1.8f; return true;
        }
        return false;
    case Inv_Temperature:
        switch (code) {
        case 0: out = x; return true;
        case 1: out = 1.0f / ((1.0f / x) / 1.8f); return true;
        }
        return false;
    case Wind_Speed:
        switch (code) {
        case 0: out = x * 1.60937f; return true;
        case 1: out = x; return true;
        case 2: out = x * 38.616f; return true;
        case 3: out = x * 24.0f; return true;
        case 4: out = x * 86.4f; return true;
        }
        return false;
    case Latent_Heat:
        switch (code) {
        case 0:
        case 1: out = x; return true;
        case 2: out = x * 238.92f; return true;
        case 3: out = x / 1.79955f; return true;
        case 4: out = x * 859.845f; return true;
        }
        return false;
    }
    return false;
}

} // namespace

std::span<const UnitChoice> unit_choices(std::int32_t dimension)
{
    switch (dimension) {
    case Depth: return kDepth;
    case Height: return kHeight;
    case Soil_Moisture: return kSoilMoisture;
    case Radiation: return kRadiation;
    case Pressure: return kPressure;
    case Temperature: return kTemperature;
    case Wind_Speed: return kWind;
    case Latent_Heat: return kLatentHeat;
    default: return {};
    }
}

std::int32_t *unit_code_field(std::int32_t dimension)
{
    CustomSettings &s = custom_settings();
    switch (dimension) {
    case Depth: return &s.depth_unit;
    case Height: return &s.height_unit;
    case Soil_Moisture: return &s.soil_moisture_unit;
    case Radiation: return &s.radiation_unit;
    case Pressure: return &s.pressure_unit;
    case Temperature: return &s.temperature_unit;
    case Wind_Speed: return &s.wind_unit;
    case Latent_Heat: return &s.latent_heat_unit;
    default: return nullptr;
    }
}

float convert_to(std::int32_t dimension, float value)
{
    if (is_temperature_like(dimension) && value == 0.0f)
        return 0.0f;
    if (dimension < Depth || dimension > Inv_Temperature) {
        messages().inform("ERROR-Missed Dimension Switch in convert_to()");
        return -9995.0f;
    }
    float out = 0.0f;
    if (to_display(dimension, code_of(dimension), value, out))
        return out;
    return missed(dimension, "convert_to()");
}

float convert_from(std::int32_t dimension, float value)
{
    if (is_temperature_like(dimension) && value == 0.0f)
        return 0.0f;
    if (dimension < Depth || dimension > Inv_Temperature || dimension == Degree_Days)
        return 0.0f;
    float out = 0.0f;
    if (from_display(dimension, code_of(dimension), value, out))
        return out;
    return missed(dimension, "convert_from()");
}

std::optional<float> convert_from_unit(std::int32_t dimension, std::int32_t code, float value)
{
    float out = 0.0f;
    if (from_display(dimension, code, value, out))
        return out;
    return std::nullopt;
}

float degree_days_from_display(float shown)
{
    // The stage editor shows degree days as the field table does; what is typed there goes back
    // through the same factor.
    return code_of(Degree_Days) == 1 ? shown / 1.82f : shown;
}

std::string sed_SetUnits(std::int32_t dimension)
{
    if (dimension < Depth || dimension > Inv_Temperature || dimension == Degree_Days) {
        messages().inform("ERROR-Missed Dimension Switch in sed_SetUnits()");
        return {};
    }
    const std::int32_t label_dimension = dimension == Inv_Temperature ? Temperature : dimension;
    const std::int32_t code = code_of(dimension);
    // Kelvin and Rankine are converted from but never offered; their labels exist all the same.
    if (label_dimension == Temperature && (code == 2 || code == 3))
        return code == 2 ? "K" : "R";
    for (const UnitChoice &choice : unit_choices(label_dimension)) {
        if (choice.code == code)
            return std::string(choice.label);
    }
    messages().inform("ERROR-Missed " + std::string(miss_info(label_dimension).word) +
                      " Switch in sed_SetUnits()");
    return {};
}

std::string SetSystemUnits(std::int32_t dimension)
{
    switch (dimension) {
    case Depth: return "mm";
    case Height: return "m";
    case Soil_Moisture: return "mm/mm";
    case Radiation: return "cal/cm2 day";
    case Pressure: return "mb";
    case Temperature:
    case Inv_Temperature: return std::string(kCelsius);
    case Wind_Speed: return "km/day";
    case Latent_Heat: return "cal/cm3";
    default: messages().inform("ERROR-Missed Dimension Switch in SetSystemUnits()"); return {};
    }
}

} // namespace tw
