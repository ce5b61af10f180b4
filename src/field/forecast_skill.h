#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tw {

class CFieldDoc;
struct RunSettings;

/// One measured day: the deficit its override stores against the one the balance predicted for
/// it from the previous override (or from planting), mm.
struct SkillRow
{
    int date = 0; ///< day number
    float measured = 0.0f;
    float predicted = 0.0f;
    float error = 0.0f; ///< predicted - measured
    int days_since_previous = 0;
    /// The prediction with the drift fitted on the intervals that end before this reading:
    /// predicted + rate * days since previous. A reading never helps predict itself.
    float corrected = 0.0f;
    double rate = 0.0; ///< that drift, mm a day
};

/// Root mean square, mean and mean absolute error of n predictions; nothing without any.
struct ErrorStatistics
{
    std::size_t n = 0;
    std::optional<double> rmse, bias, mae;
};

/// How well a reading is predicted from an earlier one about `days` days before it, with the
/// drift fitted on the readings up to the earlier one.
struct LeadSkill
{
    int days = 0;
    ErrorStatistics errors;
};

/// The leads a grower plans with: a few days, a week, two weeks. A pair of readings counts for a
/// lead when it lies within kLeadToleranceDays of it, as probes are rarely read on the same
/// weekday.
inline constexpr std::array<int, 3> kSkillLeads = {3, 7, 14};
inline constexpr int kLeadToleranceDays = 1;

/// How well the balance carried the soil water from one reading to the next.
struct ForecastSkill
{
    std::vector<SkillRow> rows;
    /// Root mean square, mean and mean absolute error over the rows; nothing without rows.
    std::optional<double> rmse, bias, mae;
    /// The same over the corrected predictions.
    ErrorStatistics corrected;
    /// The drift fitted on every interval between readings, mm a day: what learning adds.
    double rate = 0.0;
    std::vector<LeadSkill> leads; ///< one for each of kSkillLeads
};

/// The skill over the field's override days up to its last actual day. The prediction for day k
/// is the season run with only the overrides before k; as a day depends on earlier days only,
/// that is day k computed again without its own override. The field is left as it was.
ForecastSkill forecast_skill(CFieldDoc &field);

/// The rows of the overrides on days 1 to `last`, predicted without the drift; the days through
/// `last` must be computed. The field is left as it was.
std::vector<SkillRow> skill_rows(CFieldDoc &field, int last, const RunSettings &settings);

/// The rows as the dialog and the command line show them, depths in the display unit.
std::vector<std::string> skill_table_titles();
std::vector<std::vector<std::string>> skill_table_rows(const ForecastSkill &skill);
/// "n=N, RMSE=X, bias=Y, MAE=Z" in the display unit.
std::string skill_summary_text(const ForecastSkill &skill);
/// The same of the corrected predictions and the drift fitted on every interval; empty without
/// rows.
std::string corrected_summary_text(const ForecastSkill &skill);
/// The drift and how far ahead the forecast holds, in words, in the display unit.
std::string skill_in_words(const ForecastSkill &skill);

} // namespace tw
