#pragma once

#include <optional>
#include <string>

// Whether the weather forecast's rain is what puts the next irrigation off.
namespace tw {

class CFieldDoc;
struct FieldSeason;
struct SeasonInputs;

struct RainDelay
{
    int rain_date = 0; ///< day serial of the first forecast rain before the irrigation it put off
    int moves_to = 0;  ///< day serial of the next irrigation with that rain
    friend bool operator==(const RainDelay &, const RainDelay &) = default;
};

/// Runs the season's forecast again with the forecast's rain left out and compares the two
/// decisions: the rain put the irrigation off when, without it, one is due earlier than with it.
/// Nothing when it is not so (no forecast rain, no irrigation due either way, the same date).
/// `season` is the run the inputs made; planting_day is the day serial of field day 0.
std::optional<RainDelay> forecast_rain_delay(const SeasonInputs &in, const FieldSeason &season,
                                             int planting_day, float days_per_mm);

/// The same for the field's last run.
std::optional<RainDelay> forecast_rain_delay(const CFieldDoc &field);

/// "Rain expected on 07/03: next irrigation moves to 07/09".
std::string rain_delay_text(const RainDelay &delay);

} // namespace tw
