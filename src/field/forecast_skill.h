#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tw {

class CFieldDoc;

/// One measured day: the deficit its override stores against the one the balance predicted for
/// it from the previous override (or from planting), mm.
struct SkillRow
{
    int date = 0; ///< day number
    float measured = 0.0f;
    float predicted = 0.0f;
    float error = 0.0f; ///< predicted - measured
    int days_since_previous = 0;
};

/// How well the balance carried the soil water from one reading to the next.
struct ForecastSkill
{
    std::vector<SkillRow> rows;
    /// Root mean square, mean and mean absolute error over the rows; nothing without rows.
    std::optional<double> rmse, bias, mae;
};

/// The skill over the field's override days up to its last actual day. The prediction for day k
/// is the season run with only the overrides before k; as a day depends on earlier days only,
/// that is day k computed again without its own override. The field is left as it was.
ForecastSkill forecast_skill(CFieldDoc &field);

/// The rows as the dialog and the command line show them, depths in the display unit.
std::vector<std::string> skill_table_titles();
std::vector<std::vector<std::string>> skill_table_rows(const ForecastSkill &skill);
/// "n=N, RMSE=X, bias=Y, MAE=Z" in the display unit.
std::string skill_summary_text(const ForecastSkill &skill);

} // namespace tw
