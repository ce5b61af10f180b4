#include "location/day_entry.h"

#include "location/location_doc.h"
#include "location/reference_et.h"
#include "location/weather_table.h"
#include "platform/message_port.h"
#include "refdata/custom_settings.h"
#include "refdata/units.h"

namespace tw {
namespace {

constexpr int kCloudClasses = 5;

bool percent_ok(int value)
{
    return value >= 0 && value <= 100;
}

} // namespace

void DayEntry::set_use_alternate_etr(bool on)
{
    use_alternate_etr = on;
    if (!on)
        alternate_etr = 0.0f;
}

DayEntry day_entry_of(const CLocationDoc &location, int i)
{
    const WeatherDay &d = location.day(i);
    DayEntry e;
    e.t_min = convert_to(Temperature, d.t_min);
    e.t_max = convert_to(Temperature, d.t_max);
    e.rh_min = whole_percent(d.rh_min);
    e.rh_max = whole_percent(d.rh_max);
    e.solar_radiation = convert_to(Radiation, d.solar_radiation);
    e.use_cloud_cover = custom_settings().cloud_cover_input == 1;
    e.cloud_cover = d.cloud_cover;
    e.wind_run = convert_to(Wind_Speed, d.wind_run);
    e.rain = convert_to(Depth, d.rain);
    e.use_alternate_etr = d.alternate_etr > 0.0f || alternate_etr_forced(location.et_method);
    e.alternate_etr = convert_to(Depth, d.alternate_etr > 0.0f ? d.alternate_etr : d.etr_used);
    return e;
}

bool humidity_and_wind_shown(std::int32_t et_method)
{
    return et_method != JensenHaise && et_method != Hargreaves;
}

bool alternate_etr_forced(std::int32_t et_method)
{
    return et_method == EtrDirect;
}

std::optional<std::string> day_entry_problem(const DayEntry &entry)
{
    if (!percent_ok(entry.rh_min) || !percent_ok(entry.rh_max))
        return "Please enter an integer between 0 and 100.";
    if (entry.use_cloud_cover && (entry.cloud_cover < 0 || entry.cloud_cover >= kCloudClasses))
        return "Please choose a cloud cover class.";
    return std::nullopt;
}

bool apply_day_entry(CLocationDoc &location, int i, const DayEntry &entry)
{
    if (const auto problem = day_entry_problem(entry)) {
        messages().inform(*problem);
        return false;
    }
    WeatherDay &d = location.day(i);
    d.has_data = 1;
    d.rain = convert_from(Depth, entry.rain);
    d.t_min = convert_from(Temperature, entry.t_min);
    d.t_max = convert_from(Temperature, entry.t_max);
    d.wind_run = convert_from(Wind_Speed, entry.wind_run);
    d.rh_min = static_cast<float>(entry.rh_min) / 100.0f;
    d.rh_max = static_cast<float>(entry.rh_max) / 100.0f;
    if (entry.use_cloud_cover) {
        d.cloud_cover = entry.cloud_cover;
        d.solar_radiation =
            radiation_from_cloud_cover(entry.cloud_cover, day_of_year(location.date_of(i)),
                                       location.latitude, location.elevation);
    } else {
        d.solar_radiation = convert_from(Radiation, entry.solar_radiation);
    }
    const bool alternate = entry.use_alternate_etr || alternate_etr_forced(location.et_method);
    d.alternate_etr = alternate ? convert_from(Depth, entry.alternate_etr) : 0.0f;
    location.set_modified();
    location.compute_day(i, false);
    location.update_all_views(ViewHint::changed_day(i));
    return true;
}

} // namespace tw
