// The steady gap between the balance and a field's probes, fitted on the readings and carried
// past the last of them.
#include "field/reading_drift.h"

#include "field/field_doc.h"
#include "field/forecast_skill.h"

#include <algorithm>
#include <cmath>

namespace tw {

std::vector<ReadingInterval> reading_intervals(std::span<const SkillRow> rows)
{
    std::vector<ReadingInterval> intervals;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        intervals.push_back({rows[i].days_since_previous,
                             static_cast<double>(rows[i].measured) - rows[i].predicted});
    }
    return intervals;
}

double drift_rate(std::span<const ReadingInterval> intervals)
{
    // Each miss grows with its interval's length, so the rate is the slope through the origin.
    double moment = 0.0, squares = 0.0;
    for (const ReadingInterval &i : intervals) {
        moment += i.miss * i.days;
        squares += static_cast<double>(i.days) * i.days;
    }
    const double rate = squares == 0.0 ? 0.0 : moment / squares;
    // An override no probe gave (not a number) must not spread through the forecast.
    return std::isfinite(rate) ? std::clamp(rate, -kMaxDriftRate, kMaxDriftRate) : 0.0;
}

int last_reading_day(const CFieldDoc &field)
{
    for (int d = field.day_count() - 1; d >= 1; --d) {
        const FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
        if (day.sm_override != 0 && day.kind == KindWeather)
            return d;
    }
    return -1;
}

float learned_depletion(CFieldDoc &field, int last, const RunSettings &settings)
{
    if (!field.saved.learn_from_readings || last < 1)
        return 0.0f;
    const std::vector<SkillRow> rows = skill_rows(field, last, settings);
    return static_cast<float>(drift_rate(reading_intervals(rows)));
}

} // namespace tw
