// The season run: the actual days, then a forecast with the recent weather's means until an
// irrigation is called for or irrigating stops.
#include "field/season_run.h"

#include "field/field_doc.h"
#include "field/nutrient_readback.h"
#include "field/water_balance.h"
#include "platform/message_port.h"

#include <algorithm>

namespace tw {
namespace {

/// A forecast needs this many computed days before the first forecast day.
constexpr int kMinActualDays = 5;
constexpr int kForecastWindow = 7;

void copy_day_kinds(CFieldDoc &field)
{
    for (int d = 0; d < field.day_count(); ++d) {
        const WeatherDay *w = field.location_day(d);
        field.days[static_cast<std::size_t>(d)].kind = w ? w->has_data : KindNoData;
    }
}

/// The forecast weather: the means of up to seven days before day d.
void set_forecast_weather(CFieldDoc &field, int d)
{
    double etr = 0.0, t_min = 0.0, t_max = 0.0;
    int used = 0;
    for (int j = d - 1; j > std::max(d - kForecastWindow - 1, 0); --j) {
        if (const WeatherDay *w = field.location_day(j)) {
            etr += w->etr_used;
            t_min += w->t_min;
            t_max += w->t_max;
            ++used;
        }
    }
    if (used == 0)
        return;
    field.forecast_etr = static_cast<float>(etr / used);
    field.forecast_tmin = static_cast<float>(t_min / used);
    field.forecast_tmax = static_cast<float>(t_max / used);
}

bool needs_irrigation(const CFieldDoc &field, int d)
{
    return field.days[static_cast<std::size_t>(d)].irrigation_needed != 0.0f;
}

/// Runs forecast day d.
void forecast_day(CFieldDoc &field, int d, const RunSettings &settings)
{
    field.days[static_cast<std::size_t>(d)].kind = KindForecast;
    daily_step(field, d, settings);
}

int forecast_by_days(CFieldDoc &field, int d, const RunSettings &settings)
{
    const int harvests = harvest_count(field.crop);
    const int stop =
        field.cycles[static_cast<std::size_t>(cycle_by_days(field.cycles, harvests, d))].stop_day;
    for (; d < field.day_count(); ++d) {
        if (needs_irrigation(field, d - 1) || d > stop)
            break;
        forecast_day(field, d, settings);
    }
    if (d == static_cast<std::int64_t>(stop) + 1)
        messages().inform("No Forecasted Irrigations found before (Daily)Stop Irrigating Stage");
    return d;
}

int forecast_by_gdd(CFieldDoc &field, int d, const RunSettings &settings)
{
    // A day not yet computed in this run is judged by the degree days it will have: what an
    // earlier run left in it would make the same field forecast differently run after run.
    const CropRecord &crop = field.crop;
    const float g = std::max(0.0f, degree_days(field.forecast_tmin, field.forecast_tmax,
                                               crop.gdd_min_temp, crop.gdd_max_temp));
    const auto projected = [&](int day) {
        return field.days[static_cast<std::size_t>(day - 1)].cum_gdd + g;
    };
    const int harvests = harvest_count(crop);
    const auto stop = static_cast<float>(
        field.cycles[static_cast<std::size_t>(cycle_by_gdd(field.cycles, harvests, projected(d)))]
            .stop_gdd);
    for (; d < field.day_count(); ++d) {
        if (needs_irrigation(field, d - 1) || projected(d) >= stop)
            break;
        forecast_day(field, d, settings);
    }
    if (projected(d) > stop) {
        messages().inform(
            "No Forecasted Irrigations found before (Growing Degree Day) Stop Irrigating Stage");
    }
    return d;
}

void blank_days_from(CFieldDoc &field, int d)
{
    for (auto j = static_cast<std::size_t>(d); j < field.days.size(); ++j) {
        FieldDay &t = field.days[j];
        t.stage = StageNotComputed;
        t.category = AdviceBeyondForecast;
        t.cum_gdd = 0.0f;
        t.root_depth = 0.0f;
        t.crop_et = 0.0f;
        t.effective_irrigation = 0.0f;
        t.soil_moisture = 0.0f;
        t.critical = 0.0f;
        t.irrigation_needed = 0.0f;
    }
}

} // namespace

std::string_view advice_message(std::int32_t category)
{
    switch (category) {
    case AdviceNone: return "No Irrigation Needed: Current Soil Moisture is Sufficient";
    case AdviceTomorrow: return "Irrigate Tomorrow: Moisture will be Insufficient by Tomorrow";
    case AdviceNow: return "Irrigate Immediately: Soil Moisture is Below Allowable Depletion";
    case AdviceCritical: return "Irrigation Critical: Permanent Yield Damage has been Sustained";
    default: return {};
    }
}

int CFieldDoc::season_run(int s)
{
    const RunSettings settings = RunSettings::current();
    last_actual_day = 0;
    last_forecast_day = 0;
    forecast_made = false;
    copy_day_kinds(*this);
    derive_harvest_cycles(crop, cycles);
    prepare_season_run(*this);
    if (n4 == 0.0f)
        read_nutrient_values(*this);

    int d = std::clamp(s, 0, day_count());
    while (d < day_count() && daily_step(*this, d, settings))
        ++d;
    if (d > 0)
        last_actual_day = d - 1;
    if (d < kMinActualDays)
        return 0;

    set_forecast_weather(*this, d);
    d = settings.basis == GrowingDegreeDays ? forecast_by_gdd(*this, d, settings)
                                            : forecast_by_days(*this, d, settings);
    last_forecast_day = d - 1;
    forecast_made = true;
    blank_days_from(*this, d);
    return 1;
}

} // namespace tw
