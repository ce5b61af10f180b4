#include "field/forecast_skill.h"

#include "field/field_doc.h"
#include "field/water_balance.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

/// Day k as the balance computes it from day k-1 when nothing was measured on it.
float predicted_deficit(CFieldDoc &field, int k, const RunSettings &settings)
{
    FieldDay &day = field.days[static_cast<std::size_t>(k)];
    const FieldDay measured = day;
    day.sm_override = 0;
    daily_step(field, k, settings);
    const float predicted = day.deficit;
    day = measured;
    return predicted;
}

void set_statistics(ForecastSkill &skill)
{
    if (skill.rows.empty())
        return;
    double sum = 0.0, squares = 0.0, absolute = 0.0;
    for (const SkillRow &row : skill.rows) {
        sum += row.error;
        squares += static_cast<double>(row.error) * row.error;
        absolute += std::fabs(row.error);
    }
    const auto n = static_cast<double>(skill.rows.size());
    skill.rmse = std::sqrt(squares / n);
    skill.bias = sum / n;
    skill.mae = absolute / n;
}

std::string depth_text(double mm)
{
    return strprintf("%1.2f", static_cast<double>(convert_to(Depth, static_cast<float>(mm))));
}

} // namespace

ForecastSkill forecast_skill(CFieldDoc &field)
{
    ForecastSkill skill;
    const RunSettings settings = RunSettings::current();
    // The nitrate step of a day computed again writes the day's cumulative leaching.
    const std::vector<std::int32_t> leached = field.cum_leached;
    int previous = 0; // planting
    const int last = std::min(field.last_actual_day, field.day_count() - 1);
    for (int k = 1; k <= last; ++k) {
        const FieldDay &day = field.days[static_cast<std::size_t>(k)];
        if (day.sm_override == 0 || day.kind != KindWeather)
            continue;
        const float predicted = predicted_deficit(field, k, settings);
        skill.rows.push_back(
            {field.date_of(k), day.deficit, predicted, predicted - day.deficit, k - previous});
        previous = k;
    }
    field.cum_leached = leached;
    set_statistics(skill);
    return skill;
}

std::vector<std::string> skill_table_titles()
{
    const std::string unit = "(" + sed_SetUnits(Depth) + ")";
    return {"Date", "Measured Deficit" + unit, "Predicted Deficit" + unit, "Error" + unit,
            "Days Since Previous"};
}

std::vector<std::vector<std::string>> skill_table_rows(const ForecastSkill &skill)
{
    std::vector<std::vector<std::string>> rows;
    for (const SkillRow &row : skill.rows) {
        rows.push_back({format_date(row.date, "%m/%d/%y"), depth_text(row.measured),
                        depth_text(row.predicted), depth_text(row.error),
                        std::to_string(row.days_since_previous)});
    }
    return rows;
}

std::string skill_summary_text(const ForecastSkill &skill)
{
    if (skill.rows.empty())
        return "No soil-moisture overrides to compare the balance with.";
    const std::string unit = " " + sed_SetUnits(Depth);
    return "n=" + std::to_string(skill.rows.size()) + ", RMSE=" + depth_text(*skill.rmse) + unit +
           ", bias=" + depth_text(*skill.bias) + unit + ", MAE=" + depth_text(*skill.mae) + unit;
}

} // namespace tw
