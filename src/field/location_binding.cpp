#include "field/location_binding.h"

#include "location/location_doc.h"

namespace tw {

const WeatherDay *LocationBinding::weather_of(int d) const
{
    return weather_day_at(weather(), day_offset, d);
}

std::span<const WeatherDay> LocationBinding::weather() const
{
    return location ? std::span<const WeatherDay>(location->days) : std::span<const WeatherDay>();
}

const ForecastDays *LocationBinding::forecast() const
{
    return location ? &location->forecast : nullptr;
}

LocationIdentity LocationBinding::identity() const
{
    return location ? identity_of(*location) : LocationIdentity{};
}

} // namespace tw
