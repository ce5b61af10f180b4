#pragma once

#include <optional>
#include <string>
#include <vector>

// The season of a field at a glance, for the water-balance chart and the next-irrigation panel:
// what the run computed, in the display units of the moment.
namespace tw {

class CFieldDoc;

/// One computed day of the chart; depths in the display unit of depth.
struct ChartDay
{
    int day = 0;             ///< field day index
    int date = 0;            ///< day serial
    float deficit = 0.0f;    ///< below field capacity
    float critical = 0.0f;   ///< the allowable depletion: irrigate before the deficit passes it
    float taw = 0.0f;        ///< the ceiling: all the water the roots can reach
    float rain = 0.0f;       ///< measured
    float irrigation = 0.0f; ///< gross, entered
    bool forecast = false;
    bool forecast_weather = false; ///< a forecast day run on the location's weather forecast
};

struct SeasonChart
{
    std::vector<ChartDay> days; ///< the days the run computed (actual, then forecast)
    int last_actual_day = -1;   ///< field day index; -1 when nothing was computed
    std::string depth_unit;
    /// The drift the days after the last reading take, display unit a day, when the field learns
    /// from its readings: the forecast drawn is the corrected one.
    std::optional<float> learned_drift;
};

SeasonChart season_chart(const CFieldDoc &field);

/// The answer to "when do I irrigate, and how much?" after the last run, as the panel shows it.
struct NextIrrigationText
{
    std::string when;      ///< "Now", a date "%m/%d/%y", "None forecast" or "No Data"
    std::string amount;    ///< the gross amount with its unit; empty when none is due
    std::string moisture;  ///< the current soil moisture against the critical level
    std::string advice;    ///< the advice message of the last actual day
    bool stressed = false; ///< the deficit has passed the allowable depletion
};

NextIrrigationText next_irrigation_text(const CFieldDoc &field);

} // namespace tw
