#include "location/forecast_days.h"

#include "location/csv_weather.h"
#include "location/location_doc.h"
#include "location/location_file.h"

#include <algorithm>

namespace tw {
namespace {

bool covers(const WeatherDay &d)
{
    return d.has_data != 0;
}

// The days from..to-1 of `all` (indexes in location days) as a forecast, without the uncovered
// days at its ends.
ForecastDays forecast_of(std::span<const WeatherDay> all, int from)
{
    ForecastDays forecast;
    const auto begin = std::find_if(all.begin() + from, all.end(), covers);
    const auto end = std::find_if(all.rbegin(), std::make_reverse_iterator(begin), covers).base();
    if (begin >= end)
        return forecast;
    forecast.first = static_cast<int>(begin - all.begin());
    forecast.days.assign(begin, end);
    return forecast;
}

} // namespace

int last_day_with_data(const CLocationDoc &location)
{
    for (int i = location.day_count() - 1; i >= 0; --i) {
        if (location.day(i).has_data != 0)
            return i;
    }
    return -1;
}

const WeatherDay *forecast_day(std::span<const WeatherDay> days, const ForecastDays &f, int i)
{
    if (i < f.first || i - f.first >= static_cast<int>(f.days.size()) ||
        i >= static_cast<int>(days.size()) || days[static_cast<std::size_t>(i)].has_data != 0)
        return nullptr;
    const WeatherDay &d = f.days[static_cast<std::size_t>(i - f.first)];
    return covers(d) ? &d : nullptr;
}

const WeatherDay *forecast_day(const CLocationDoc &location, int i)
{
    return forecast_day(location.days, location.forecast, i);
}

void drop_overtaken_forecast(CLocationDoc &location)
{
    if (location.forecast.empty())
        return;
    std::vector<WeatherDay> all(static_cast<std::size_t>(location.day_count()));
    for (int i = 0; i < location.day_count(); ++i) {
        if (const WeatherDay *d = forecast_day(location, i))
            all[static_cast<std::size_t>(i)] = *d;
    }
    location.forecast = forecast_of(all, last_day_with_data(location) + 1);
}

int import_csv_forecast_text(CLocationDoc &location, const CsvWeatherMap &map,
                             std::string_view text)
{
    // The forecast is read as an import into an empty copy of the season, so that it is placed,
    // checked and judged as holding weather exactly as actual days are.
    CLocationDoc season;
    copy_stored_values(location, season);
    std::fill(season.days.begin(), season.days.end(), WeatherDay{});
    season.forecast = {};
    if (imported_days(import_csv_weather_text(season, map, text, false)) < 0)
        return -1;
    ForecastDays forecast = forecast_of(season.days, last_day_with_data(location) + 1);
    const auto count = std::count_if(forecast.days.begin(), forecast.days.end(), covers);
    if (count == 0)
        return 0;
    location.forecast = std::move(forecast);
    location.recompute_all();
    location.set_modified();
    return static_cast<int>(count);
}

} // namespace tw
