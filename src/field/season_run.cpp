// The season run: the actual days, then a forecast with the recent weather's means until an
// irrigation is called for or irrigating stops.
#include "field/season_run.h"

#include "field/forecast_weather.h"
#include "field/water_balance.h"

#include <algorithm>

namespace tw {
namespace {

/// A forecast needs this many computed days before the first forecast day.
constexpr int kMinActualDays = 5;
constexpr int kForecastWindow = 7;

void copy_day_kinds(const SeasonInputs &in, FieldSeason &season)
{
    for (int d = 0; d < season.day_count(); ++d) {
        const WeatherDay *w = in.weather_of(d);
        season.days[static_cast<std::size_t>(d)].kind = w ? w->has_data : KindNoData;
    }
}

/// The forecast weather: the means of up to seven days before day d.
void set_forecast_weather(const SeasonInputs &in, FieldSeason &season, int d)
{
    double etr = 0.0, t_min = 0.0, t_max = 0.0;
    int used = 0;
    for (int j = d - 1; j > std::max(d - kForecastWindow - 1, 0); --j) {
        if (const WeatherDay *w = in.weather_of(j)) {
            etr += w->etr_used;
            t_min += w->t_min;
            t_max += w->t_max;
            ++used;
        }
    }
    if (used == 0)
        return;
    season.forecast_etr = static_cast<float>(etr / used);
    season.forecast_tmin = static_cast<float>(t_min / used);
    season.forecast_tmax = static_cast<float>(t_max / used);
}

bool needs_irrigation(const FieldSeason &season, int d)
{
    return season.days[static_cast<std::size_t>(d)].irrigation_needed != 0.0f;
}

/// Runs forecast day d.
void forecast_day(const SeasonInputs &in, FieldSeason &season, int d)
{
    season.days[static_cast<std::size_t>(d)].kind = KindForecast;
    daily_step(in, season, d);
}

int forecast_by_days(const SeasonInputs &in, FieldSeason &season, int d)
{
    const int harvests = harvest_count(in.crop);
    const int stop =
        season.cycles[static_cast<std::size_t>(cycle_by_days(season.cycles, harvests, d))].stop_day;
    for (; d < season.day_count(); ++d) {
        if (needs_irrigation(season, d - 1) || d > stop)
            break;
        forecast_day(in, season, d);
    }
    if (d == static_cast<std::int64_t>(stop) + 1)
        season.messages.emplace_back(
            "No Forecasted Irrigations found before (Daily)Stop Irrigating Stage");
    return d;
}

int forecast_by_gdd(const SeasonInputs &in, FieldSeason &season, int d)
{
    // A day not yet computed in this run is judged by the degree days it will have: what an
    // earlier run left in it would make the same field forecast differently run after run.
    const CropRecord &crop = in.crop;
    const auto projected = [&](int day) {
        const auto forecast = forecast_weather(in, day);
        const float g =
            std::max(0.0f, forecast ? degree_days(forecast->t_min, forecast->t_max,
                                                  crop.gdd_min_temp, crop.gdd_max_temp)
                                    : degree_days(season.forecast_tmin, season.forecast_tmax,
                                                  crop.gdd_min_temp, crop.gdd_max_temp));
        return season.days[static_cast<std::size_t>(day - 1)].cum_gdd + g;
    };
    const int harvests = harvest_count(crop);
    const auto stop = static_cast<float>(
        season.cycles[static_cast<std::size_t>(cycle_by_gdd(season.cycles, harvests, projected(d)))]
            .stop_gdd);
    for (; d < season.day_count(); ++d) {
        if (needs_irrigation(season, d - 1) || projected(d) >= stop)
            break;
        forecast_day(in, season, d);
    }
    if (projected(d) > stop) {
        season.messages.emplace_back(
            "No Forecasted Irrigations found before (Growing Degree Day) Stop Irrigating Stage");
    }
    return d;
}

void blank_days_from(FieldSeason &season, int d)
{
    for (auto j = static_cast<std::size_t>(d); j < season.days.size(); ++j) {
        FieldDay &t = season.days[j];
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

const WeatherDay *SeasonInputs::weather_of(int d) const
{
    return weather_day_at(weather, day_offset, d);
}

void run_season(const SeasonInputs &in, FieldSeason &season, int s)
{
    season.last_actual_day = 0;
    season.last_forecast_day = 0;
    season.forecast_made = false;
    season.messages.clear();
    copy_day_kinds(in, season);
    if (!fill_harvest_cycles(in.crop, season.cycles))
        season.messages.emplace_back(kHarvestCountMessage);
    prepare_season_run(season);

    int d = std::clamp(s, 0, season.day_count());
    while (d < season.day_count() && daily_step(in, season, d))
        ++d;
    if (d > 0)
        season.last_actual_day = d - 1;
    if (d < kMinActualDays)
        return;

    set_forecast_weather(in, season, d);
    d = in.settings.basis == GrowingDegreeDays ? forecast_by_gdd(in, season, d)
                                               : forecast_by_days(in, season, d);
    season.last_forecast_day = d - 1;
    season.forecast_made = true;
    blank_days_from(season, d);
}

} // namespace tw
