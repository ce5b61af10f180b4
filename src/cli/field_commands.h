#pragma once

#include <iosfwd>

namespace tw {
class CFieldDoc;
class CLocationDoc;
} // namespace tw

namespace tw::cli {

/// The irrigation table's rows first..last (kept within the field) as a full fill shows them.
void print_schedule(std::ostream &out, const CFieldDoc &field, int first, int last, bool csv);

/// The location's summary of its open fields.
void print_summary(std::ostream &out, const CLocationDoc &location, bool csv);

} // namespace tw::cli
