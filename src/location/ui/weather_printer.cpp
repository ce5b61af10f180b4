#include "location/ui/weather_printer.h"

#include "location/location_doc.h"
#include "location/ui/location_view.h"
#include "platform/ui/pdf_output.h"

#include <QGuiApplication>

namespace tw {

WeatherTablePrinter::WeatherTablePrinter(const CLocationDoc &doc, const CLocationView &view)
    : TablePrinter(
          view, {QString(),
                 {QGuiApplication::applicationDisplayName(), QString::fromStdString(doc.title())}})
{}

bool write_location_report_pdf(CLocationDoc &location, const std::filesystem::path &path,
                               std::string &error)
{
    CLocationView view(location);
    return print_to_pdf(WeatherTablePrinter(location, view), path, error);
}

} // namespace tw
