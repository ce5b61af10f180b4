#include "fertility/midseason.h"

#include "field/growth_stages.h"
#include "platform/dates.h"

#include <algorithm>

namespace tw {
namespace {

constexpr int kWeeks = 8;

double cumulative(const std::vector<float> &values, int day)
{
    return day >= 0 && static_cast<std::size_t>(day) < values.size() ? values[day] : 0.0;
}

/// Days from a day of the planting year to the planting date, at least 0.
int days_after(const FertilityInputs &in, int month, int day)
{
    const int planting = in.planting_date.day();
    return std::max(0, planting - serial_from_civil(year_of(planting), month, day));
}

struct UptakePoint
{
    double gdd;
    double percent;
};

constexpr UptakePoint kUptakeCurve[] = {
    {104, 0},   {612, 4},   {902, 10},  {1102, 24}, {1264, 50},  {1325, 65},
    {1401, 75}, {1557, 82}, {1769, 87}, {1895, 95}, {2107, 100},
};

} // namespace

SeasonDegreeDays prepare_midseason_degree_days(FertilityInputs &in,
                                               const std::vector<float> &cumulative_c)
{
    SeasonDegreeDays dd;
    dd.cumulative_c = cumulative_c;
    for (int week = 1; week <= kWeeks; ++week) {
        if (cumulative(cumulative_c, 7 * week - 1) * 1.8 != 0.0)
            ++dd.weeks_with_data;
    }
    if (dd.weeks_with_data < 4) {
        in.midseason_mode = 0;
        return dd;
    }
    in.midseason_mode = 1;
    in.applications_count = 1;
    const std::size_t days = std::min(kUptakeCurveDays, cumulative_c.size());
    for (std::size_t day = 0; day < days; ++day)
        dd.cumulative_f[day] = truncate_to_int(cumulative_c[day] * 1.8);
    return dd;
}

int typical_week_offset(const FertilityInputs &in)
{
    return std::min(days_after(in, 4, 1) / 7, 2);
}

int days_after_first_of_may(const FertilityInputs &in)
{
    return days_after(in, 5, 1);
}

void predict_midseason_yield(FertilityInputs &in, const SeasonDegreeDays &dd)
{
    const int w0 = typical_week_offset(in);
    const int weeks = std::clamp(dd.weeks_with_data, 0, kWeeks);
    for (int i = weeks; i < kWeeks; ++i)
        in.weekly_gdd[i] = in.typical_weekly_gdd[i + w0];
    const std::vector<float> &c = dd.cumulative_c;
    if (cumulative(c, 6) != 0.0)
        in.weekly_gdd[0] = truncate_to_int(cumulative(c, 6) * 1.8);
    for (int k = 2; k <= weeks; ++k)
        in.weekly_gdd[k - 1] =
            truncate_to_int((cumulative(c, 7 * k - 1) - cumulative(c, 7 * k - 8)) * 1.8);

    const double t = days_after_first_of_may(in);
    const double population = in.plant_population;
    std::array<double, kWeeks> w{};
    std::copy(in.weekly_gdd.begin(), in.weekly_gdd.end(), w.begin());
    double y = 0.0;
    // The stored intercept marks which of the two fitted equations applies.
    if (in.yield_b0 == -12.7f) {
        y = 2.54 * population - 12.7 - 2.6 * t + 0.275 * w[0] + 0.141 * w[1] + 0.162 * w[2] -
            0.058 * w[3] + 0.062 * w[4] + 0.482 * w[5] + 0.059 * w[6] + 0.149 * w[7];
    } else {
        y = 4.41 * population + in.yield_b0 - 1.39 * t + 0.353 * w[0] + 0.296 * w[1] +
            0.188 * w[2] - 0.166 * w[3] - 0.215 * w[4] + 0.746 * w[5] - 0.072 * w[6] + 0.085 * w[7];
    }
    in.yield_goal = static_cast<float>(std::max(0, truncate_to_int(y)));
}

void run_preseason_test_pass(FertilityInputs &in, const MethodKnowledge &knowledge,
                             MethodResults &results)
{
    in.midseason_pass = 1;
    prepare_records(in, results);
    run_methods(in, knowledge, results);
    in.midseason_pass = 0;
}

double uptake_percentage(double g)
{
    for (std::size_t i = 0; i + 1 < std::size(kUptakeCurve); ++i) {
        const UptakePoint &lo = kUptakeCurve[i];
        const UptakePoint &hi = kUptakeCurve[i + 1];
        if (lo.gdd < g && g < hi.gdd)
            return lo.percent + (g - lo.gdd) * (hi.percent - lo.percent) / (hi.gdd - lo.gdd);
    }
    return g > kUptakeCurve[std::size(kUptakeCurve) - 1].gdd ? 100.0 : 0.0;
}

void compute_uptake_to_date(FertilityInputs &in, const SeasonDegreeDays &dd)
{
    const int n = std::max(1, truncate_to_int(in.soil_test_date - in.planting_date.serial));
    // A test after the end of the table reads the season's last kept day.
    const std::size_t day =
        std::min<std::size_t>(static_cast<std::size_t>(n - 1), kUptakeCurveDays - 1);
    const double percent = uptake_percentage(dd.cumulative_f[day]);
    in.uptake_to_date = static_cast<float>(percent * 0.01 * in.yield_goal * 0.9);
}

} // namespace tw
