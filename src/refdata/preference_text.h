#pragma once

#include "refdata/custom_settings.h"

#include <optional>
#include <string>
#include <string_view>

// The preferences as text, for a person to read and to type: "depth_unit=mm" sets the depth unit
// by its label, "albedo=0.25" a coefficient. Every value is checked before it is taken, and a
// refused one comes back with the values the field takes.
namespace tw {

/// The field of custom.con of that name; nullptr for another name.
const CustomSettingsField *custom_settings_field(std::string_view name);

/// A field's value as a person reads it: the code of a unit or a switch, the shortest text that
/// reads back to the same float for a coefficient.
std::string preference_value_text(const CustomSettings &settings, const CustomSettingsField &field);

/// What the code of a unit or a switch means ("mm", "Deficit"); empty for a coefficient.
std::string preference_meaning(const CustomSettings &settings, const CustomSettingsField &field);

/// One KEY=VALUE read: the field and the value to store, or why it is refused.
struct PreferenceAssignment
{
    const CustomSettingsField *field = nullptr;
    double value = 0.0;
    std::string problem; ///< empty when the assignment can be made
    bool unknown_key = false;
};

/// A unit takes its code, its label (the degree sign may be left out) or its choice text; a
/// switch its code or its text; a coefficient a finite number.
PreferenceAssignment parse_preference_assignment(std::string_view text);

} // namespace tw
