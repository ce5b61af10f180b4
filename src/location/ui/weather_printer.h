#pragma once

#include "app/print_pages.h"

class QPainter;
class QPrinter;

namespace tw {

class CLocationDoc;
class CLocationView;

/// Prints a location's weather table as its view shows it: the visible columns at their screen
/// widths and the rows with their state pictures, scaled to the printer's resolution, with the
/// program's and the location's names above and the page number and date below.
class WeatherTablePrinter
{
public:
    WeatherTablePrinter(const CLocationDoc &doc, const CLocationView &view);

    /// How the rows fall onto the printer's pages.
    PrintPages layout(QPrinter &printer) const;
    /// Prints every page; the number of pages printed (0 when the printer cannot be painted on).
    int print(QPrinter &printer) const;

private:
    struct Metrics;
    Metrics metrics_for(QPrinter &printer) const;
    void print_page(QPainter &painter, const Metrics &m, const PrintPages &pages, int page) const;

    const CLocationDoc &doc_;
    const CLocationView &view_;
};

} // namespace tw
