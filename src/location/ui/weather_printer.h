#pragma once

#include "platform/ui/table_printer.h"

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

} // namespace tw
