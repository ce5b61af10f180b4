#pragma once

#include "field/field_day.h"

#include <optional>
#include <span>

// What a forecast day of a season run reads when its location has a weather forecast for it.
namespace tw {

struct SeasonInputs;

struct ForecastWeather
{
    float t_min = 0.0f; ///< °C
    float t_max = 0.0f; ///< °C
    float etr = 0.0f;   ///< mm/day, by the location's ET method or as the forecast gave it
    float rain = 0.0f;  ///< mm
};

/// The location's forecast for field day d; nothing when it has none (the run then projects the
/// day with its recent means).
std::optional<ForecastWeather> forecast_weather(const SeasonInputs &in, int d);

/// The rain (mm) the balance counts on field day d: the field's own, and on a forecast day
/// without any, the forecast's.
float day_rain(const SeasonInputs &in, std::span<const FieldDay> days, int d);

} // namespace tw
