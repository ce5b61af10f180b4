#pragma once

#include "location/weather_day.h"

#include <span>
#include <string_view>
#include <vector>

// A weather forecast for the days after a location's last day with data. Forecast days are not
// days with data: nothing but the season's forecast reads them, and actual weather for a day
// replaces its forecast.
namespace tw {

class CLocationDoc;
struct CsvWeatherMap;

struct ForecastDays
{
    int first = 0;                ///< the location day of days[0]
    std::vector<WeatherDay> days; ///< has_data 1: a day the forecast covers, its etr_used computed

    bool empty() const { return days.empty(); }
    friend bool operator==(const ForecastDays &, const ForecastDays &) = default;
};

/// The index of the location's last day with data; -1 when no day has any.
int last_day_with_data(const CLocationDoc &location);

/// The forecast of location day i; nothing when the forecast does not cover it or the day has
/// data of its own.
const WeatherDay *forecast_day(const CLocationDoc &location, int i);
/// The same over the location's days and forecast.
const WeatherDay *forecast_day(std::span<const WeatherDay> days, const ForecastDays &forecast,
                               int i);

/// Keeps the forecast days that lie after the last day with data and inside the season.
void drop_overtaken_forecast(CLocationDoc &location);

/// Reads a CSV forecast through the map, with the range checks of an import, and makes its days
/// after the last day with data the location's forecast (replacing the one it had); recomputes
/// ET and marks the location modified. Returns the number of forecast days (0: nothing changed),
/// or -1 after a message when the map does not fit the file's header.
int import_csv_forecast_text(CLocationDoc &location, const CsvWeatherMap &map,
                             std::string_view text);

} // namespace tw
