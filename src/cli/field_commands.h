#pragma once

// The location and field opening that field commands share live in command_support.h; commands
// that print a field's tables or a location's summary include this header for both.
#include "cli/command_support.h"

#include <iosfwd>
#include <string>

namespace tw {
struct NextIrrigation;
}

namespace tw::cli {

/// The irrigation table's rows first..last (kept within the field) as a full fill shows them.
void print_schedule(std::ostream &out, const CFieldDoc &field, int first, int last, bool csv);

/// The next irrigation in one sentence: its date and amount (and start-by date), or why there is
/// none.
std::string next_irrigation_line(const NextIrrigation &next);

/// The location's summary of its open fields.
void print_summary(std::ostream &out, const CLocationDoc &location, bool csv);

} // namespace tw::cli
