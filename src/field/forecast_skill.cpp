#include "field/forecast_skill.h"

#include "field/field_doc.h"
#include "field/reading_drift.h"
#include "field/water_balance.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

/// The deficits the balance carries from day `from`, as it stands, over the days after it through
/// `through` with nothing measured on them (fewer when a day has no weather). The field is left
/// as it was.
std::vector<float> carried_deficits(CFieldDoc &field, int from, int through,
                                    const RunSettings &settings)
{
    const auto first = field.season.days.begin() + from + 1;
    const std::vector<FieldDay> kept(first, field.season.days.begin() + through + 1);
    // The nitrate step of a day computed again writes the day's cumulative leaching.
    const std::vector<std::int32_t> leached = field.season.cum_leached;
    std::vector<float> deficits;
    for (int d = from + 1; d <= through; ++d) {
        FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
        day.sm_override = 0;
        if (!daily_step(field.season_inputs(settings), field.season, d))
            break;
        deficits.push_back(day.deficit);
    }
    std::copy(kept.begin(), kept.end(), first);
    field.season.cum_leached = leached;
    return deficits;
}

ErrorStatistics error_statistics(std::span<const double> errors)
{
    ErrorStatistics s;
    s.n = errors.size();
    if (errors.empty())
        return s;
    double sum = 0.0, squares = 0.0, absolute = 0.0;
    for (const double e : errors) {
        sum += e;
        squares += e * e;
        absolute += std::fabs(e);
    }
    const auto n = static_cast<double>(errors.size());
    s.rmse = std::sqrt(squares / n);
    s.bias = sum / n;
    s.mae = absolute / n;
    return s;
}

void set_statistics(ForecastSkill &skill)
{
    std::vector<double> errors, corrected;
    for (const SkillRow &row : skill.rows) {
        errors.push_back(row.error);
        corrected.push_back(row.corrected - row.measured);
    }
    const ErrorStatistics plain = error_statistics(errors);
    skill.rmse = plain.rmse;
    skill.bias = plain.bias;
    skill.mae = plain.mae;
    skill.corrected = error_statistics(corrected);
}

/// The drift fitted on the first `count` intervals: those that end by the reading `count`.
double rate_so_far(std::span<const ReadingInterval> intervals, std::size_t count)
{
    return drift_rate(intervals.first(std::min(count, intervals.size())));
}

void correct_rows(ForecastSkill &skill, std::span<const ReadingInterval> intervals)
{
    for (std::size_t k = 0; k < skill.rows.size(); ++k) {
        SkillRow &row = skill.rows[k];
        row.rate = k == 0 ? 0.0 : rate_so_far(intervals, k - 1);
        row.corrected = static_cast<float>(row.predicted + row.rate * row.days_since_previous);
    }
    skill.rate = drift_rate(intervals);
}

/// Every later reading predicted from each earlier one, the balance carried over the readings
/// between as if they had not been taken, with the drift fitted so far.
std::vector<LeadSkill> lead_skill(CFieldDoc &field, std::span<const SkillRow> rows,
                                  std::span<const ReadingInterval> intervals,
                                  const RunSettings &settings)
{
    constexpr int kLongest = kSkillLeads.back() + kLeadToleranceDays;
    std::array<std::vector<double>, kSkillLeads.size()> errors;
    const int planting = field.saved.planting_date.day();
    const int last = rows.empty() ? 0 : rows.back().date - planting;
    for (std::size_t j = 0; j + 1 < rows.size(); ++j) {
        const int from = rows[j].date - planting;
        const std::vector<float> carried =
            carried_deficits(field, from, std::min(from + kLongest, last), settings);
        const double rate = rate_so_far(intervals, j);
        for (std::size_t k = j + 1; k < rows.size(); ++k) {
            const int lead = rows[k].date - rows[j].date;
            if (lead > static_cast<int>(carried.size()))
                break;
            const double predicted = carried[static_cast<std::size_t>(lead - 1)] + rate * lead;
            for (std::size_t i = 0; i < kSkillLeads.size(); ++i) {
                if (std::abs(lead - kSkillLeads[i]) <= kLeadToleranceDays)
                    errors[i].push_back(predicted - rows[k].measured);
            }
        }
    }
    std::vector<LeadSkill> leads;
    for (std::size_t i = 0; i < kSkillLeads.size(); ++i)
        leads.push_back({kSkillLeads[i], error_statistics(errors[i])});
    return leads;
}

std::string depth_text(double mm)
{
    return strprintf("%1.2f", static_cast<double>(convert_to(Depth, static_cast<float>(mm))));
}

/// A depth for a sentence: two figures are as many as a probe's accuracy supports.
std::string rounded_depth(double mm)
{
    const double shown = std::fabs(convert_to(Depth, static_cast<float>(mm)));
    const int decimals = shown >= 9.95 ? 0 : shown >= 0.995 ? 1 : 2;
    return strprintf("%.*f %s", decimals, shown, sed_SetUnits(Depth).c_str());
}

/// "n=N, RMSE=X, bias=Y, MAE=Z" of predictions there are.
std::string statistics_text(const ErrorStatistics &s)
{
    const std::string unit = " " + sed_SetUnits(Depth);
    return "n=" + std::to_string(s.n) + ", RMSE=" + depth_text(*s.rmse) + unit +
           ", bias=" + depth_text(*s.bias) + unit + ", MAE=" + depth_text(*s.mae) + unit;
}

std::string lead_words(int days)
{
    if (days == 7)
        return "a week ahead";
    if (days == 14)
        return "two weeks ahead";
    return std::to_string(days) + " days ahead";
}

} // namespace

std::vector<SkillRow> skill_rows(CFieldDoc &field, int last, const RunSettings &settings)
{
    std::vector<SkillRow> rows;
    int previous = 0; // planting
    for (int k = 1; k <= last; ++k) {
        const FieldDay &day = field.season.days[static_cast<std::size_t>(k)];
        if (day.sm_override == 0 || day.kind != KindWeather)
            continue;
        const std::vector<float> carried = carried_deficits(field, k - 1, k, settings);
        const float predicted = carried.empty() ? day.deficit : carried.back();
        rows.push_back({field.date_of(k), day.deficit, predicted, predicted - day.deficit,
                        k - previous, predicted, 0.0});
        previous = k;
    }
    return rows;
}

ForecastSkill forecast_skill(CFieldDoc &field)
{
    ForecastSkill skill;
    const RunSettings settings = RunSettings::current();
    skill.rows =
        skill_rows(field, std::min(field.season.last_actual_day, field.day_count() - 1), settings);
    const std::vector<ReadingInterval> intervals = reading_intervals(skill.rows);
    correct_rows(skill, intervals);
    set_statistics(skill);
    skill.leads = lead_skill(field, skill.rows, intervals, settings);
    return skill;
}

std::vector<std::string> skill_table_titles()
{
    const std::string unit = "(" + sed_SetUnits(Depth) + ")";
    return {"Date",
            "Measured Deficit" + unit,
            "Predicted Deficit" + unit,
            "Error" + unit,
            "Days Since Previous",
            "Corrected Deficit" + unit,
            "Drift(" + sed_SetUnits(Depth) + "/day)"};
}

std::vector<std::vector<std::string>> skill_table_rows(const ForecastSkill &skill)
{
    std::vector<std::vector<std::string>> rows;
    for (const SkillRow &row : skill.rows) {
        rows.push_back({format_date(row.date, "%m/%d/%y"), depth_text(row.measured),
                        depth_text(row.predicted), depth_text(row.error),
                        std::to_string(row.days_since_previous), depth_text(row.corrected),
                        depth_text(row.rate)});
    }
    return rows;
}

std::string skill_summary_text(const ForecastSkill &skill)
{
    if (skill.rows.empty())
        return "No soil-moisture overrides to compare the balance with.";
    return statistics_text({skill.rows.size(), skill.rmse, skill.bias, skill.mae});
}

std::string corrected_summary_text(const ForecastSkill &skill)
{
    if (skill.rows.empty())
        return {};
    return "Corrected for the drift: " + statistics_text(skill.corrected) +
           ", drift=" + depth_text(skill.rate) + " " + sed_SetUnits(Depth) + "/day";
}

std::string skill_in_words(const ForecastSkill &skill)
{
    if (skill.rows.size() < 2)
        return "Two readings or more show how the balance drifts from your probes.";
    std::string text;
    if (skill.rate == 0.0) {
        text = "The balance keeps pace with your probes";
    } else {
        // A positive drift is water leaving that the balance does not see: it runs wetter.
        text = "The balance runs " + rounded_depth(skill.rate) + " a day " +
               (skill.rate > 0.0 ? "wetter" : "drier") + " than your probes";
    }
    std::vector<std::string> held;
    for (const LeadSkill &lead : skill.leads) {
        if (lead.errors.rmse)
            held.push_back(rounded_depth(*lead.errors.rmse) + " " + lead_words(lead.days));
    }
    for (std::size_t i = 0; i < held.size(); ++i) {
        const char *joint = i == 0                 ? "; its forecast is within "
                            : i + 1 == held.size() ? " and "
                                                   : ", ";
        text += joint + held[i];
    }
    return text + ".";
}

} // namespace tw
