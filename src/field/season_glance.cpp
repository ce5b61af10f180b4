#include "field/season_glance.h"

#include "field/field_doc.h"
#include "field/irrigation_table.h"
#include "field/season_run.h"
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
    const int end = std::max(field.last_forecast_day, field.last_actual_day);
    for (int d = 0; d <= end && d < field.day_count(); ++d) {
        const FieldDay &t = field.days[static_cast<std::size_t>(d)];
        if (!computed(t))
            continue;
        chart.days.push_back({d, field.date_of(d), convert_to(Depth, t.deficit),
                              convert_to(Depth, t.allowable_depletion), convert_to(Depth, t.taw),
                              convert_to(Depth, t.rain), convert_to(Depth, t.gross_irrigation),
                              t.kind == KindForecast});
    }
    if (!chart.days.empty())
        chart.last_actual_day = field.last_actual_day;
    if (field.learn_from_readings)
        chart.learned_drift = convert_to(Depth, field.learned_drift);
    return chart;
}

NextIrrigation next_irrigation(const CFieldDoc &field)
{
    NextIrrigation next;
    const int a = field.last_actual_day;
    const int f = field.last_forecast_day;
    if (!field.has_day(a) || !computed(field.days[static_cast<std::size_t>(a)])) {
        next.when = "No Data";
        return next;
    }
    const FieldDay &actual = field.days[static_cast<std::size_t>(a)];
    const float needed =
        field.has_day(f) ? field.days[static_cast<std::size_t>(f)].irrigation_needed : 0.0f;
    if (needed > 0.0f) {
        next.when = f <= a ? "Now" : format_date(field.date_of(f), "%m/%d/%y");
        next.amount = strprintf("%1.1f %s", static_cast<double>(convert_to(Depth, needed)),
                                sed_SetUnits(Depth).c_str());
    } else {
        next.when = "None forecast";
    }
    next.moisture = "Current " + moisture_label() + ": " + moisture_text(actual.soil_moisture) +
                    "   Critical: " + moisture_text(actual.critical);
    next.advice = std::string(advice_message(actual.category));
    next.stressed = actual.stage >= 0 && actual.deficit > actual.allowable_depletion;
    return next;
}

} // namespace tw
