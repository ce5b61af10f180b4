#include "refdata/preference_text.h"

#include "platform/text_format.h"
#include "refdata/units.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace tw {
namespace {

// The unit code fields, in file order, with the Dimension whose display unit each holds.
constexpr std::array<std::pair<std::string_view, std::int32_t>, 8> kUnitFields = {{
    {"depth_unit", Depth},
    {"height_unit", Height},
    {"soil_moisture_unit", Soil_Moisture},
    {"radiation_unit", Radiation},
    {"pressure_unit", Pressure},
    {"temperature_unit", Temperature},
    {"wind_unit", Wind_Speed},
    {"latent_heat_unit", Latent_Heat},
}};

std::int32_t unit_dimension(std::string_view field_name)
{
    for (const auto &[name, dimension] : kUnitFields) {
        if (name == field_name)
            return dimension;
    }
    return 0;
}

std::optional<std::int32_t> whole_number(std::string_view text)
{
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool same_text(std::string_view a, std::string_view b)
{
    return to_upper_ascii(a) == to_upper_ascii(b);
}

std::optional<std::int32_t> unit_code(std::int32_t dimension, std::string_view text)
{
    const auto number = whole_number(text);
    for (const UnitChoice &u : unit_choices(dimension)) {
        std::string_view bare = u.label;
        if (bare.starts_with("\u00B0"))
            bare.remove_prefix(std::string_view("\u00B0").size());
        if ((number && *number == u.code) || same_text(text, u.label) || same_text(text, bare) ||
            (!u.choice_text.empty() && same_text(text, u.choice_text)))
            return u.code;
    }
    return std::nullopt;
}

std::optional<std::int32_t> switch_code(std::string_view field_name, std::string_view text)
{
    const auto number = whole_number(text);
    for (const SwitchChoice &s : switch_choices(field_name)) {
        if ((number && *number == s.code) || same_text(text, s.text))
            return s.code;
    }
    return std::nullopt;
}

std::string accepted_values(const CustomSettingsField &field)
{
    std::string list;
    auto add = [&](std::int32_t code, std::string_view text) {
        list += (list.empty() ? "" : ", ") + std::to_string(code) + " (" + std::string(text) + ")";
    };
    if (const std::int32_t dimension = unit_dimension(field.name)) {
        for (const UnitChoice &u : unit_choices(dimension))
            add(u.code, u.label);
    } else {
        for (const SwitchChoice &s : switch_choices(field.name))
            add(s.code, s.text);
    }
    return list;
}

} // namespace

const CustomSettingsField *custom_settings_field(std::string_view name)
{
    for (const CustomSettingsField &f : custom_settings_fields()) {
        if (f.name == name)
            return &f;
    }
    return nullptr;
}

std::string preference_value_text(const CustomSettings &settings, const CustomSettingsField &field)
{
    const double value = custom_settings_value(settings, field);
    if (field.is_float) {
        char buffer[32];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
        return std::string(buffer, result.ptr);
    }
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string preference_meaning(const CustomSettings &settings, const CustomSettingsField &field)
{
    if (field.is_float)
        return {};
    const auto code = static_cast<std::int32_t>(custom_settings_value(settings, field));
    if (const std::int32_t dimension = unit_dimension(field.name)) {
        for (const UnitChoice &u : unit_choices(dimension)) {
            if (u.code == code)
                return std::string(u.label);
        }
    }
    for (const SwitchChoice &s : switch_choices(field.name)) {
        if (s.code == code)
            return std::string(s.text);
    }
    return "(not a known value)";
}

PreferenceAssignment parse_preference_assignment(std::string_view text)
{
    PreferenceAssignment a;
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) {
        a.problem = "Expected KEY=VALUE, not \"" + std::string(text) + "\".";
        return a;
    }
    const std::string_view key = text.substr(0, eq);
    const std::string_view value = text.substr(eq + 1);
    a.field = custom_settings_field(key);
    if (!a.field) {
        a.problem = "Unknown preference \"" + std::string(key) + "\".";
        a.unknown_key = true;
        return a;
    }
    if (a.field->is_float) {
        float number = 0.0f;
        const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec == std::errc() && ptr == value.data() + value.size() && std::isfinite(number))
            a.value = number;
        else
            a.problem = std::string(key) + " takes a number, not \"" + std::string(value) + "\".";
        return a;
    }
    const std::int32_t dimension = unit_dimension(key);
    const auto code = dimension ? unit_code(dimension, value) : switch_code(key, value);
    if (code)
        a.value = *code;
    else
        a.problem = std::string(key) + " takes one of " + accepted_values(*a.field) + ", not \"" +
                    std::string(value) + "\".";
    return a;
}

} // namespace tw
