#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tw {

/// One day of a location, in internal units; twelve 4-byte words in the .loc file.
struct WeatherDay
{
    std::int32_t has_data = 0;    ///< 1 = the day holds weather
    float t_min = 0.0f;           ///< °C
    float t_max = 0.0f;           ///< °C
    float rh_min = 0.0f;          ///< fraction
    float rh_max = 0.0f;          ///< fraction
    float solar_radiation = 0.0f; ///< langley/day
    std::int32_t cloud_cover = 0; ///< class 0..4 when entered instead of radiation
    float wind_run = 0.0f;        ///< km/day at anemometer height
    float rain = 0.0f;            ///< mm
    float etr = 0.0f;             ///< mm/day
    float alternate_etr = 0.0f;   ///< mm/day typed or imported; 0 = none
    float etr_used = 0.0f;        ///< mm/day, what views and fields read

    friend bool operator==(const WeatherDay &, const WeatherDay &) = default;
};

constexpr std::size_t kWeatherDaySize = 48;

/// Day `offset + d` of `days`; nothing outside them (a field day before or after its location's
/// record).
inline const WeatherDay *weather_day_at(std::span<const WeatherDay> days, int offset, int d)
{
    const std::int64_t i = static_cast<std::int64_t>(d) + offset;
    if (i < 0 || i >= static_cast<std::int64_t>(days.size()))
        return nullptr;
    return &days[static_cast<std::size_t>(i)];
}

} // namespace tw
