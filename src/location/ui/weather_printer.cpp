#include "location/ui/weather_printer.h"

#include "location/location_doc.h"
#include "location/ui/location_view.h"

#include <QGuiApplication>

namespace tw {

WeatherTablePrinter::WeatherTablePrinter(const CLocationDoc &doc, const CLocationView &view)
    : TablePrinter(view,
                   {QString(), {QGuiApplication::applicationDisplayName(), QString::fromStdString(doc.title())}})
{}

} // namespace tw
