#pragma once

#include "platform/text_table.h"

#include <array>
#include <string>
#include <vector>

namespace tw {

class CFieldDoc;
class CLocationDoc;

constexpr int kSummaryColumns = 8;
/// The column of the start-by date (after the next irrigation's).
constexpr int kStartByColumn = 5;

/// The headers of a location's summary of fields, with the depth unit of the moment.
std::array<std::string, kSummaryColumns> field_summary_headers();

/// One field's line: name, crop, growth stage, soil moisture of the last actual day, the next
/// irrigation's date (" (ASAP)" when due now; empty when none is needed), the day to start it by
/// for the system's capacity ("Now" when that is not after the last actual day), its amount, and
/// the nitrogen available.
std::array<std::string, kSummaryColumns> field_summary_row(const CFieldDoc &field);

/// The open fields of a location, in the order they opened.
std::vector<const CFieldDoc *> summary_fields(const CLocationDoc &location);

/// The lines of the open fields of a location, in the order they opened.
std::vector<std::array<std::string, kSummaryColumns>>
location_summary_rows(const CLocationDoc &location);
TextTable summary_text_table(const CLocationDoc &location);

} // namespace tw
