#include "field/next_irrigation.h"

#include "field/field_doc.h"
#include "field/system_capacity.h"
#include "platform/dates.h"

#include <algorithm>

namespace tw {

std::string_view reason_key(NextReason reason)
{
    switch (reason) {
    case NextReason::Due: return "due";
    case NextReason::NoneForecast: return "none_forecast";
    case NextReason::PostHarvest: return "post_harvest";
    case NextReason::Stopped: return "stopped";
    case NextReason::NoWeather: return "no_weather";
    }
    return {};
}

NextIrrigation decide_next_irrigation(const SeasonOutcome &season, float days_per_mm)
{
    NextIrrigation next;
    const auto count = static_cast<int>(season.days.size());
    const auto has_day = [&](int d) { return d >= 0 && d < count; };
    const int a = season.last_actual_day;
    if (!has_day(a))
        return next;
    const FieldDay &actual = season.days[static_cast<std::size_t>(a)];
    if (actual.stage == StageNotComputed || actual.kind == KindNoData)
        return next;
    next.advice = actual.category;

    // Without a forecast the last forecast day is left at 0: the need then is the last actual
    // day's, not the planting day's.
    const int f = season.forecast_made ? season.last_forecast_day : a;
    const float amount =
        has_day(f) ? season.days[static_cast<std::size_t>(f)].irrigation_needed : 0.0f;
    if (amount > 0.0f) {
        next.reason = NextReason::Due;
        next.date = season.planting_day + f;
        next.due_now = f == a;
        next.gross_amount = amount;
        if (auto lead = start_lead_days(amount, days_per_mm)) {
            // An irrigation cannot start before the field was planted.
            lead = std::min(*lead, f);
            next.start_by = *next.date - *lead;
            next.start_now = f - *lead <= a;
        }
    } else if (actual.stage == StagePostHarvest) {
        next.reason = NextReason::PostHarvest;
    } else if (season.forecast_made && f + 1 < count) {
        // The forecast ends before the record only where irrigating stops.
        next.reason = NextReason::Stopped;
    } else {
        next.reason = NextReason::NoneForecast;
    }
    return next;
}

std::optional<std::string> start_by_text(const NextIrrigation &next)
{
    if (!next.start_by)
        return std::nullopt;
    return next.start_now ? "Now" : format_date(*next.start_by, "%m/%d/%y");
}

NextIrrigation next_irrigation(const CFieldDoc &field)
{
    return decide_next_irrigation({field.season.days, field.season.last_actual_day,
                                   field.season.last_forecast_day, field.season.forecast_made,
                                   field.saved.planting_date.day()},
                                  field.saved.days_per_mm);
}

} // namespace tw
