#include "fertility/midseason.h"

#include "platform/dates.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

FertilityInputs planted(int year, int month, int day)
{
    FertilityInputs in;
    in.planting_date = StoredDate::from_day(serial_from_civil(year, month, day));
    return in;
}

/// 10 Celsius degree days a day for `days` days after planting, nothing after.
std::vector<float> steady_degree_days(int days)
{
    std::vector<float> c(120, 0.0f);
    for (int d = 0; d < days; ++d)
        c[d] = 10.0f * (d + 1);
    return c;
}

TEST(Midseason, TypicalWeekOffsetAndDaysAfterMay)
{
    const struct
    {
        int month, day;
        int w0, t;
    } cases[] = {{3, 15, 0, 0}, {4, 1, 0, 0}, {4, 7, 0, 0},   {4, 8, 1, 0},
                 {4, 15, 2, 0}, {5, 1, 2, 0}, {5, 20, 2, 19}, {6, 30, 2, 60}};
    for (const auto &c : cases) {
        const FertilityInputs in = planted(2026, c.month, c.day);
        EXPECT_EQ(typical_week_offset(in), c.w0) << c.month << "/" << c.day;
        EXPECT_EQ(days_after_first_of_may(in), c.t) << c.month << "/" << c.day;
    }
}

TEST(Midseason, FourWeeksOfDegreeDaysAllowAMidseasonCorrection)
{
    FertilityInputs in;
    in.applications_count = 7;
    SeasonDegreeDays dd = prepare_midseason_degree_days(in, steady_degree_days(27));
    EXPECT_EQ(dd.weeks_with_data, 3);
    EXPECT_EQ(in.midseason_mode, 0);

    dd = prepare_midseason_degree_days(in, steady_degree_days(28));
    EXPECT_EQ(dd.weeks_with_data, 4);
    EXPECT_EQ(in.midseason_mode, 1);
    EXPECT_EQ(in.applications_count, 1);
    EXPECT_EQ(dd.cumulative_f[0], 18);
    EXPECT_EQ(dd.cumulative_f[27], 504);
    EXPECT_EQ(dd.cumulative_f[28], 0);
}

TEST(Midseason, YieldPredictionFillsMissingWeeksFromTheTypicalOnes)
{
    // Planted 10 May: t = 9, w0 = 2; six weeks of 126 F degree days, weeks 7 and 8 typical.
    FertilityInputs in = planted(2026, 5, 10);
    in.plant_population = 30.0f;
    const SeasonDegreeDays dd = prepare_midseason_degree_days(in, steady_degree_days(42));
    ASSERT_EQ(dd.weeks_with_data, 6);
    predict_midseason_yield(in, dd);
    EXPECT_EQ(in.weekly_gdd, (std::array<std::int32_t, 8>{126, 126, 126, 126, 126, 126, 161, 153}));
    EXPECT_EQ(in.yield_goal, 206.0f);

    in.yield_b0 = -20.0f;
    predict_midseason_yield(in, dd);
    EXPECT_EQ(in.yield_goal, 252.0f);

    in.plant_population = 0.0f;
    in.yield_b0 = -500.0f;
    predict_midseason_yield(in, dd);
    EXPECT_EQ(in.yield_goal, 0.0f);
}

TEST(Midseason, UptakeCurveBoundsAreStrict)
{
    const struct
    {
        double gdd, percent;
    } cases[] = {{0, 0},          {104, 0},  {358, 2},    {611.9, 3.9992},
                 {612, 0},        {757, 7},  {1264, 0},   {1300, 58.8525},
                 {2106, 99.9764}, {2107, 0}, {2108, 100}, {5000, 100}};
    for (const auto &c : cases)
        EXPECT_NEAR(uptake_percentage(c.gdd), c.percent, 1e-3) << c.gdd;
}

TEST(Midseason, UptakeToDateReadsTheDayBeforeTheSoilTest)
{
    FertilityInputs in = planted(2026, 5, 1);
    in.yield_goal = 180.0f;
    SeasonDegreeDays dd;
    dd.cumulative_f[0] = 2108;
    dd.cumulative_f[9] = 612;
    dd.cumulative_f[19] = 757;

    const int planting = in.planting_date.day();
    const struct
    {
        int days_after;
        double uptake;
    } cases[] = {{0, 162.0}, {1, 162.0}, {10, 0.0}, {20, 0.07 * 180 * 0.9}, {-5, 162.0}};
    for (const auto &c : cases) {
        in.soil_test_date = planting + c.days_after;
        compute_uptake_to_date(in, dd);
        EXPECT_NEAR(in.uptake_to_date, c.uptake, 1e-4) << c.days_after;
    }
    // A test beyond the kept season reads its last day rather than outside the table.
    dd.cumulative_f[kUptakeCurveDays - 1] = 3000;
    in.soil_test_date = planting + 400;
    compute_uptake_to_date(in, dd);
    EXPECT_NEAR(in.uptake_to_date, 162.0, 1e-4);
}

} // namespace
} // namespace tw
