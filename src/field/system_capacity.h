#pragma once

#include <optional>
#include <string>

namespace tw {

class CFieldDoc;

/// Whether a stored system capacity (days per mm) is set: above 0 and not absurdly slow.
bool has_system_capacity(float days_per_mm);

/// A capacity in days per display depth unit ("days per inch"), and back to days per mm.
float days_per_unit_shown(float days_per_mm);
float days_per_mm_from_shown(float shown);
/// The unit of a shown capacity: "days/" and the depth unit.
std::string days_per_unit_label();
/// The dialogs' message for a typed capacity that cannot be stored; nothing when it can.
std::optional<std::string> system_capacity_message(float shown);

/// The field day by which the next irrigation has to start for the system to cover the whole
/// field by its date: that date less the days the gross amount takes. Nothing when the capacity
/// is unset or no irrigation is due.
std::optional<int> start_by_day(const CFieldDoc &field);

} // namespace tw
