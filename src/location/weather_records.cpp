#include "location/weather_records.h"

#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/message_port.h"

#include <cmath>
#include <string>

namespace tw {
namespace {

// A value outside its bounds (or not a number at all) is reported and becomes 0.
void check(float &value, Bounds bounds, const char *message, int doy)
{
    if (value >= bounds.low && value <= bounds.high)
        return;
    messages().inform(message + std::to_string(doy));
    value = 0.0f;
}

float finite_or_zero(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

DayPlacement::DayPlacement(const CLocationDoc &location)
    : start_(day_of_year(location.start_date.day()))
    , first_year_length_(days_in_year(year_of(location.start_date.day())))
    , day_count_(location.day_count())
{}

DayPlacement::Result DayPlacement::place(int doy)
{
    if (doy < 1 || doy > 366 || (first_year_ && (doy < start_ || doy > first_year_length_)))
        return {Action::Skip, 0};
    const std::int64_t index = std::int64_t{doy} - start_ + (first_year_ ? 0 : first_year_length_);
    if (index >= day_count_)
        return {Action::Stop, 0};
    if (first_year_ && doy == first_year_length_)
        first_year_ = false;
    return {Action::Store, static_cast<int>(index)};
}

RangeRules langley_range_rules()
{
    return {{-50.0f, 70.0f},
            {-40.0f, 60.0f},
            "Out of range value for solar radiation (Langleys) in import file. Please check Data: "
            "Day of Year="};
}

void check_ranges(const RangeRules &rules, unsigned checked, WeatherValues &v, int doy)
{
    if (checked & kCheckHumidity) {
        check(v.rh_max, {0.0f, 2.0f},
              "Out of range value for maximum relative humidity in import file. Please check "
              "Data: Day of Year=",
              doy);
        if (v.rh_max >= 1.0f)
            v.rh_max = 1.0f;
        check(v.rh_min, {0.0f, 1.0f},
              "Out of range value for minimum relative humidity in import file. Please check "
              "Data: Day of Year=",
              doy);
    }
    if (checked & kCheckTMax)
        check(v.t_max, rules.t_max,
              "Out of range value for maximum temperature in import file. Please check Data: Day "
              "of Year=",
              doy);
    if (checked & kCheckTMin)
        check(v.t_min, rules.t_min,
              "Out of range value for minimum temperature in import file. Please check Data: Day "
              "of Year=",
              doy);
    if (checked & kCheckSolar)
        check(v.solar_radiation, {20.0f, 850.0f}, rules.solar_message, doy);
    if (checked & kCheckWind)
        check(v.wind_run, {10.0f, 1000.0f},
              "Out of range value for wind run value in import file.  Please check Data: Day of "
              "Year=",
              doy);
}

void store_values(const WeatherValues &v, bool with_etr, WeatherDay &day)
{
    day.t_min = v.t_min;
    day.t_max = v.t_max;
    day.rh_min = finite_or_zero(v.rh_min);
    day.rh_max = finite_or_zero(v.rh_max);
    day.solar_radiation = v.solar_radiation;
    day.wind_run = v.wind_run;
    day.rain = finite_or_zero(v.rain);
    if (with_etr)
        day.alternate_etr = finite_or_zero(v.etr);
    day.has_data = 1;
}

void finish_import(CLocationDoc &location, int filled)
{
    if (filled == 0)
        return;
    location.recompute_all();
    location.set_modified();
}

} // namespace tw
