#include "field/forecast_weather.h"

#include "field/field_doc.h"
#include "location/forecast_days.h"

namespace tw {

std::optional<ForecastWeather> forecast_weather(const CFieldDoc &field, int d)
{
    if (!field.location)
        return std::nullopt;
    const WeatherDay *w = forecast_day(*field.location, d + field.day_offset);
    if (!w)
        return std::nullopt;
    return ForecastWeather{w->t_min, w->t_max, w->etr_used, w->rain};
}

float day_rain(const CFieldDoc &field, int d)
{
    const FieldDay &day = field.days[static_cast<std::size_t>(d)];
    if (day.kind != KindForecast || day.rain != 0.0f)
        return day.rain;
    const auto forecast = forecast_weather(field, d);
    return forecast ? forecast->rain : 0.0f;
}

} // namespace tw
