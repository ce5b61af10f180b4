#pragma once

#include "platform/ui/table_printer.h"

#include <filesystem>
#include <string>

namespace tw {

class CLocationDoc;
class CLocationView;

/// Prints a location's weather table as its view shows it, with the program's and the
/// location's names above.
class WeatherTablePrinter : public TablePrinter
{
public:
    WeatherTablePrinter(const CLocationDoc &doc, const CLocationView &view);
};

/// The weather report of a location as a PDF file, drawn from a view made for it (no window needs
/// to show). False when the file could not be written, with the reason in error.
bool write_location_report_pdf(CLocationDoc &location, const std::filesystem::path &path,
                               std::string &error);

} // namespace tw
