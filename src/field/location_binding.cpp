#include "field/location_binding.h"

#include "location/location_doc.h"

namespace tw {

const WeatherDay *LocationBinding::weather_of(int d) const
{
    if (!location)
        return nullptr;
    const std::int64_t i = static_cast<std::int64_t>(d) + day_offset;
    if (i < 0 || i >= location->day_count())
        return nullptr;
    return &location->day(static_cast<int>(i));
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
