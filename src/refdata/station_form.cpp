#include "refdata/station_form.h"

#include "location/reference_et.h"
#include "platform/numbers.h"
#include "platform/text_encoding.h"
#include "refdata/units.h"

#include <cmath>

namespace tw {
namespace {

// The dialog's numbers with a unit (none: as typed); one table serves both directions.
struct ShownValue
{
    float StationValues::*shown;
    float StationRecord::*stored;
    std::int32_t dimension;
};
constexpr ShownValue kShownValues[] = {
    {&StationValues::latitude, &StationRecord::latitude, 0},
    {&StationValues::warm_month_tmin, &StationRecord::warm_month_tmin, Temperature},
    {&StationValues::warm_month_tmax, &StationRecord::warm_month_tmax, Temperature},
    {&StationValues::pressure, &StationRecord::pressure, Pressure},
    {&StationValues::anemometer_height, &StationRecord::anemometer_height, Height},
    {&StationValues::jh_ct, &StationRecord::jh_ct, Inv_Temperature},
    {&StationValues::jh_tx, &StationRecord::jh_tx, Temperature},
    {&StationValues::k_zero, &StationRecord::k_zero, 0},
    {&StationValues::delta_t, &StationRecord::delta_t, 0},
};

} // namespace

int shown_elevation(float elevation)
{
    // The unit constants of the two directions differ by about 1.2e-5 (3.2808 ft/m one way,
    // 0.3048 m/ft the other); a shortfall within that of the next whole number is theirs.
    constexpr double kRoundTrip = 2e-5;
    const double shown = convert_to(Height, elevation);
    return truncate_to_int(shown + std::abs(shown) * kRoundTrip);
}

StationValues station_values_of(const StationRecord &station)
{
    StationValues v;
    v.name = station.name;
    v.elevation = shown_elevation(station.elevation);
    v.reference_type = station.reference_type;
    for (const ShownValue &f : kShownValues)
        v.*f.shown = f.dimension ? convert_to(f.dimension, station.*f.stored) : station.*f.stored;
    return v;
}

void store_station_values(const StationValues &v, StationRecord &station)
{
    station.name = cut_to_chars(v.name, kStationNameChars);
    station.elevation = convert_from(Height, static_cast<float>(v.elevation));
    station.reference_type = v.reference_type;
    for (const ShownValue &f : kShownValues)
        station.*f.stored = f.dimension ? convert_from(f.dimension, v.*f.shown) : v.*f.shown;
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
