#pragma once

#include "location/csv_weather.h"

#include <string>
#include <string_view>

// Where a location's days come from by themselves: a station network's address for one
// station's daily CSV, the map or preset its columns are read through, and optionally the address
// of the station's forecast.
namespace tw {

struct WeatherSource
{
    std::string url;     ///< with {station}, {from} and {to}; empty: the location has no source
    std::string station; ///< what {station} stands for
    std::string preset;  ///< a CSV preset's name; empty when `map` reads the columns
    std::string map;     ///< a CSV map as parse_csv_weather_map reads it
    std::string forecast_url; ///< the same placeholders; empty: no forecast is fetched

    bool empty() const { return url.empty(); }
    friend bool operator==(const WeatherSource &, const WeatherSource &) = default;
};

/// Why a source cannot be used; empty when it can. A preset must be one of the working folder's.
std::string weather_source_problem(const WeatherSource &source);

/// The address of a template for the station's days `from` to `to` (serials, written as ISO
/// dates); the station is percent-encoded.
std::string source_url(std::string_view url_template, std::string_view station, int from, int to);

/// The working folder's CSV preset of that name, or why there is none.
CsvMapParse preset_map(std::string_view name);

/// The map the source's days are read through: its own map, or its preset's.
CsvMapParse source_map(const WeatherSource &source);

} // namespace tw
