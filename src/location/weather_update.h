#pragma once

#include "location/csv_weather.h"

#include <string>

// The weather update: a location fetches from its source the days after its last day with data,
// and the forecast after them, and takes them in as an import would.
namespace tw {

class CLocationDoc;
class HttpPort;

/// A forecast is asked for this many days after the last day with data.
constexpr int kForecastRequestDays = 7;

struct WeatherUpdate
{
    bool ok = false;
    std::string problem;    ///< one line saying why, when not ok
    int from = 0;           ///< the first date asked for (a serial)
    int to = 0;             ///< the last date asked for; before `from` when nothing was due
    CsvImportSummary days;  ///< what the import of the days did
    int forecast_days = -1; ///< days the forecast covers; -1 when none was fetched
    int filled() const { return days.imported; }
    bool changed() const { return filled() > 0 || forecast_days > 0; }
};

/// What an update that succeeded did, for a person: "10 days from 2022-05-01 to 2022-05-10, 7
/// days of forecast", or "Nothing new through 2022-05-10" when it changed nothing.
std::string weather_update_summary(const WeatherUpdate &update);
/// The summary as a sentence, then the import's details (days kept, lines skipped, values left
/// unset), one a line.
std::string weather_update_text(const WeatherUpdate &update);

/// Fetches the source's days after the last day with data through `through` (a serial date; the
/// program asks for yesterday) and, when the source has a forecast address, the forecast for the
/// days after them; imports both through the source's map (of a preset, the columns the answer's
/// header has, as an import through the preset takes them), recomputes ET and tells the fields.
/// Any failure (no source, a fetch, a body that does not fit the map) leaves the location exactly
/// as it was.
WeatherUpdate update_weather(CLocationDoc &location, HttpPort &http, int through);

} // namespace tw
