#include "field/forecast_weather.h"

#include "field/season.h"
#include "location/forecast_days.h"

namespace tw {

std::optional<ForecastWeather> forecast_weather(const SeasonInputs &in, int d)
{
    if (!in.forecast)
        return std::nullopt;
    const WeatherDay *w = forecast_day(in.weather, *in.forecast, d + in.day_offset);
    if (!w)
        return std::nullopt;
    return ForecastWeather{w->t_min, w->t_max, w->etr_used, w->rain};
}

float day_rain(const SeasonInputs &in, std::span<const FieldDay> days, int d)
{
    const FieldDay &day = days[static_cast<std::size_t>(d)];
    if (day.kind != KindForecast || day.rain != 0.0f)
        return day.rain;
    const auto forecast = forecast_weather(in, d);
    return forecast ? forecast->rain : 0.0f;
}

} // namespace tw
