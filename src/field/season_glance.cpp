#include "field/season_glance.h"

#include "field/field_doc.h"
#include "field/irrigation_table.h"
#include "field/next_irrigation.h"
#include "field/season_run.h"
#include "field/system_capacity.h"
#include "field/water_balance.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"
#include "refdata/units.h"

#include <algorithm>

namespace tw {
namespace {

bool computed(const FieldDay &t)
{
    return t.stage != StageNotComputed && t.kind != KindNoData;
}

} // namespace

SeasonChart season_chart(const CFieldDoc &field)
{
    SeasonChart chart;
    chart.depth_unit = sed_SetUnits(Depth);
    const int end = std::max(field.season.last_forecast_day, field.season.last_actual_day);
    for (int d = 0; d <= end && d < field.day_count(); ++d) {
        const FieldDay &t = field.season.days[static_cast<std::size_t>(d)];
        if (!computed(t))
            continue;
        chart.days.push_back({d, field.date_of(d), convert_to(Depth, t.deficit),
                              convert_to(Depth, t.allowable_depletion), convert_to(Depth, t.taw),
                              convert_to(Depth, t.rain), convert_to(Depth, t.gross_irrigation),
                              t.kind == KindForecast, field.on_forecast_weather(d),
                              t.sm_override != 0});
    }
    if (!chart.days.empty())
        chart.last_actual_day = field.season.last_actual_day;
    if (field.saved.learn_from_readings)
        chart.learned_drift = convert_to(Depth, field.season.learned_drift);
    return chart;
}

NextIrrigationText next_irrigation_text(const CFieldDoc &field)
{
    NextIrrigationText text;
    const NextIrrigation next = next_irrigation(field);
    if (next.reason == NextReason::NoWeather) {
        text.when = "No Data";
        return text;
    }
    if (next.due()) {
        text.when = next.due_now ? "Now" : format_date(*next.date, "%m/%d/%y");
        text.amount =
            strprintf("%1.1f %s", static_cast<double>(convert_to(Depth, next.gross_amount)),
                      sed_SetUnits(Depth).c_str());
    } else {
        text.when = "None forecast";
    }
    if (has_system_capacity(field.saved.days_per_mm))
        text.start_by = start_by_text(next).value_or("-");
    const FieldDay &actual =
        field.season.days[static_cast<std::size_t>(field.season.last_actual_day)];
    text.moisture = "Current " + moisture_label() + ": " + moisture_text(actual.soil_moisture) +
                    "   Critical: " + moisture_text(actual.critical);
    text.advice = std::string(advice_message(next.advice));
    text.stressed = actual.stage >= 0 && actual.deficit > actual.allowable_depletion;
    return text;
}

} // namespace tw
