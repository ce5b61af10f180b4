#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>

namespace tw {
class CFieldDoc;
class CLocationDoc;
} // namespace tw

namespace tw::cli {

/// The location a field command reads its weather from; nothing after telling err why.
std::unique_ptr<CLocationDoc> read_location(const std::filesystem::path &path, std::ostream &err);

/// The irrigation table's rows first..last (kept within the field) as a full fill shows them.
void print_schedule(std::ostream &out, const CFieldDoc &field, int first, int last, bool csv);

/// The location's summary of its open fields.
void print_summary(std::ostream &out, const CLocationDoc &location, bool csv);

} // namespace tw::cli
