#include "location/ui/weather_printer.h"

#include "app/commands.h"
#include "location/location_doc.h"
#include "location/ui/location_view.h"

namespace tw {

WeatherTablePrinter::WeatherTablePrinter(const CLocationDoc &doc, const CLocationView &view)
    : TablePrinter(view,
                   {QString(), {QString::fromUtf8(kAppTitle), QString::fromStdString(doc.title())}})
{}

} // namespace tw
