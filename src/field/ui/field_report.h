#pragma once

#include "platform/ui/table_printer.h"

#include <filesystem>
#include <string>

namespace tw {

class CFieldChartView;
class CFieldDoc;
class CFieldView;

/// The field's printed report: the irrigation table under the field's header lines, then the
/// water-balance chart on a page of its own.
TablePrinter field_report_printer(const CFieldView &table, CFieldChartView &chart);

/// The report of a field as a PDF file, drawn from views made for it (no window needs to show).
/// False when the file could not be written, with the reason in error.
bool write_field_report_pdf(CFieldDoc &field, const std::filesystem::path &path,
                            std::string &error);

} // namespace tw
