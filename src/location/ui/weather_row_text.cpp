#include "location/ui/weather_row_text.h"

#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/units.h"

namespace tw {

std::string weather_column_header(int column)
{
    switch (column) {
    case 0: return "     Date";
    case 1: return "Rain(" + sed_SetUnits(Depth) + ")";
    case 2: return "Tmin(" + sed_SetUnits(Temperature) + ")";
    case 3: return "Tmax(" + sed_SetUnits(Temperature) + ")";
    case 4: return "SolarRad(" + sed_SetUnits(Radiation) + ")";
    case 5: return "Min RH(%)";
    case 6: return "Max RH(%)";
    case 7: return "WindSpd(" + sed_SetUnits(Wind_Speed) + ")";
    case 8: return "Etr(" + sed_SetUnits(Depth) + ")";
    default: return {};
    }
}

bool weather_column_visible(std::int32_t et_method, int column)
{
    switch (et_method) {
    case JensenHaise:
    case Hargreaves: return column != 5 && column != 6 && column != 7;
    case EtrDirect: return column == 0 || column == 1 || column == 8;
    default: return true;
    }
}

bool shows_rain(const WeatherDay &day)
{
    return day.rain >= 2.5f;
}

std::string weather_cell_text(const CLocationDoc &doc, int i, int column)
{
    const WeatherDay &d = doc.day(i);
    switch (column) {
    case 0: return format_date(doc.date_of(i), "%m/%d/%y");
    case 1: return shows_rain(d) ? strprintf("%.1f", convert_to(Depth, d.rain)) : std::string();
    case 2: return strprintf("%2.1f", convert_to(Temperature, d.t_min));
    case 3: return strprintf("%1.1f", convert_to(Temperature, d.t_max));
    case 4: return strprintf("%1.1f", convert_to(Radiation, d.solar_radiation));
    case 5: return strprintf("%d", static_cast<int>(d.rh_min * 100.0f));
    case 6: return strprintf("%d", static_cast<int>(d.rh_max * 100.0f));
    case 7: return strprintf("%1.1f", convert_to(Wind_Speed, d.wind_run));
    case 8: return strprintf("%1.2f", convert_to(Depth, d.etr_used));
    default: return {};
    }
}

} // namespace tw
