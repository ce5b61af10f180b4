#include "field/forecast_rain.h"

#include "field/field_doc.h"
#include "field/forecast_weather.h"
#include "field/next_irrigation.h"
#include "field/season_run.h"
#include "platform/dates.h"

namespace tw {
namespace {

NextIrrigation decision(const FieldSeason &season, int planting_day, float days_per_mm)
{
    return decide_next_irrigation({season.days, season.last_actual_day, season.last_forecast_day,
                                   season.forecast_made, planting_day},
                                  days_per_mm);
}

} // namespace

std::optional<RainDelay> forecast_rain_delay(const SeasonInputs &in, const FieldSeason &season,
                                             int planting_day, float days_per_mm)
{
    if (!in.forecast || !season.forecast_made)
        return std::nullopt;
    const NextIrrigation with_rain = decision(season, planting_day, days_per_mm);
    if (!with_rain.due() || with_rain.due_now)
        return std::nullopt;

    ForecastDays dry_forecast = *in.forecast;
    for (WeatherDay &day : dry_forecast.days)
        day.rain = 0.0f;
    SeasonInputs dry = in;
    dry.forecast = &dry_forecast;
    FieldSeason without = season;
    const int first_forecast_day = season.last_actual_day + 1;
    run_season(dry, without, first_forecast_day);
    const NextIrrigation without_rain = decision(without, planting_day, days_per_mm);
    if (!without_rain.due() || *without_rain.date >= *with_rain.date)
        return std::nullopt;

    // The rain that mattered fell by the day the dry run irrigates.
    const int dry_day = *without_rain.date - planting_day;
    for (int d = first_forecast_day; d <= dry_day; ++d) {
        const auto weather = forecast_weather(in, d);
        if (weather && weather->rain > 0.0f)
            return RainDelay{planting_day + d, *with_rain.date};
    }
    return std::nullopt;
}

std::optional<RainDelay> forecast_rain_delay(const CFieldDoc &field)
{
    // The rerun takes the settings of the field's last run, the learned drift with them: every
    // forecast day lies after the last reading it was fitted on.
    RunSettings settings = RunSettings::current();
    settings.added_depletion = field.season.learned_drift;
    return forecast_rain_delay(field.season_inputs(settings), field.season,
                               field.saved.planting_date.day(), field.saved.days_per_mm);
}

std::string rain_delay_text(const RainDelay &delay)
{
    return "Rain expected on " + format_date(delay.rain_date, "%m/%d") +
           ": next irrigation moves to " + format_date(delay.moves_to, "%m/%d");
}

} // namespace tw
