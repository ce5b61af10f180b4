#include "refdata/station_form.h"

#include "location/reference_et.h"
#include "platform/text_encoding.h"
#include "refdata/units.h"

#include <cmath>

namespace tw {

int shown_elevation(float elevation)
{
    // The unit constants of the two directions differ by about 1.2e-5 (3.2808 ft/m one way,
    // 0.3048 m/ft the other); a shortfall within that of the next whole number is theirs.
    constexpr double kRoundTrip = 2e-5;
    const double shown = convert_to(Height, elevation);
    return static_cast<int>(std::trunc(shown + std::abs(shown) * kRoundTrip));
}

StationValues station_values_of(const StationRecord &station)
{
    StationValues v;
    v.name = station.name;
    v.elevation = shown_elevation(station.elevation);
    v.latitude = station.latitude;
    v.warm_month_tmin = convert_to(Temperature, station.warm_month_tmin);
    v.warm_month_tmax = convert_to(Temperature, station.warm_month_tmax);
    v.pressure = convert_to(Pressure, station.pressure);
    v.anemometer_height = convert_to(Height, station.anemometer_height);
    v.jh_ct = convert_to(Inv_Temperature, station.jh_ct);
    v.jh_tx = convert_to(Temperature, station.jh_tx);
    v.reference_type = station.reference_type;
    v.k_zero = station.k_zero;
    v.delta_t = station.delta_t;
    return v;
}

void store_station_values(const StationValues &v, StationRecord &station)
{
    station.name = cut_to_chars(v.name, kStationNameChars);
    station.elevation = convert_from(Height, static_cast<float>(v.elevation));
    station.latitude = v.latitude;
    station.pressure = convert_from(Pressure, v.pressure);
    station.warm_month_tmin = convert_from(Temperature, v.warm_month_tmin);
    station.warm_month_tmax = convert_from(Temperature, v.warm_month_tmax);
    station.jh_ct = convert_from(Inv_Temperature, v.jh_ct);
    station.jh_tx = convert_from(Temperature, v.jh_tx);
    station.anemometer_height = convert_from(Height, v.anemometer_height);
    station.reference_type = v.reference_type;
    station.delta_t = v.delta_t;
    station.k_zero = v.k_zero;
}

void station_elevation_left(StationValues &values)
{
    values.pressure = displayed_pressure(static_cast<float>(values.elevation));
    station_temperature_left(values);
}

void station_temperature_left(StationValues &values)
{
    const JensenHaiseCoefficients jh = displayed_jensen_haise(
        static_cast<float>(values.elevation), values.warm_month_tmin, values.warm_month_tmax);
    values.jh_ct = jh.ct;
    values.jh_tx = jh.tx;
}

bool station_k_zero_enabled(const StationValues &values)
{
    return values.reference_type != 1 && values.reference_type != 2;
}

std::optional<std::string> check_station_values(const StationValues &values)
{
    if (values.elevation < 0)
        return "Please enter a whole number of 0 or more for the Elevation.";
    return std::nullopt;
}

} // namespace tw
