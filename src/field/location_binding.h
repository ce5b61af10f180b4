#pragma once

#include "field/remembered_location.h"
#include "location/forecast_days.h"
#include "location/weather_day.h"

#include <span>

namespace tw {

class CLocationDoc;

/// A field's tie to the open location whose weather it reads: field day d is location day
/// d + day_offset.
struct LocationBinding
{
    CLocationDoc *location = nullptr; ///< outlives the field (it cannot close before it)
    int day_offset = 0;

    /// The location day field day d falls on; nothing when it lies outside the location.
    const WeatherDay *weather_of(int d) const;
    /// The location's days; none while unbound.
    std::span<const WeatherDay> weather() const;
    /// The location's weather forecast; none while unbound.
    const ForecastDays *forecast() const;
    /// The location as a save remembers it; unknown while unbound or while it has no file.
    LocationIdentity identity() const;
};

} // namespace tw
