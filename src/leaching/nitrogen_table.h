#pragma once

#include "platform/text_table.h"

#include <array>
#include <string>

namespace tw {

class CFieldDoc;

constexpr int kNitrogenColumns = 6;
/// Pixels added to each column's title width.
constexpr int kNitrogenColumnMargin = 15;

/// The column titles; the drainage column carries the display unit of depth of the moment.
std::array<std::string, kNitrogenColumns> nitrogen_table_titles();

/// A row of the nitrogen table: the day's date and nitrogen figures.
struct NitrogenRow
{
    /// A day without weather, marked with the list's second state picture.
    bool no_weather = false;
    std::array<std::string, kNitrogenColumns> cells;
};

/// Field day d as the nitrogen table shows it.
NitrogenRow nitrogen_row(const CFieldDoc &field, int d);

/// Every day of the field as the nitrogen table shows it.
TextTable nitrogen_text_table(const CFieldDoc &field);

} // namespace tw
