#pragma once

#include <optional>
#include <string>

namespace tw {

/// Whether a stored system capacity (days per mm) is set: above 0 and not absurdly slow.
bool has_system_capacity(float days_per_mm);

/// A capacity in days per display depth unit ("days per inch"), and back to days per mm.
float days_per_unit_shown(float days_per_mm);
float days_per_mm_from_shown(float shown);
/// The unit of a shown capacity: "days/" and the depth unit.
std::string days_per_unit_label();
/// The dialogs' message for a typed capacity that cannot be stored; nothing when it can.
std::optional<std::string> system_capacity_message(float shown);

/// The whole days a system of days_per_mm needs to apply a gross amount (mm) to the whole field:
/// the next irrigation has to start that many days before its date. Nothing when the capacity is
/// unset or there is no amount to apply.
std::optional<int> start_lead_days(float gross_amount, float days_per_mm);

} // namespace tw
