// The drift fitted to a field's readings: the rate, the corrected skill and lead times, and the
// balance that learns it.
#include "field/forecast_skill.h"
#include "field/next_irrigation.h"
#include "field/reading_drift.h"
#include "field/system_capacity.h"
#include "field_fixtures.h"

#include <cmath>

namespace tw {
namespace {

using ReadingDrift = test::FieldTest;

TEST(DriftRate, SlopeThroughTheOriginOfTheMissesWithinFourMmADay)
{
    const struct
    {
        const char *what;
        std::vector<ReadingInterval> intervals;
        double rate;
    } cases[] = {
        // By hand: sum(miss * days) = -3*2 - 4*3 - 8*5 = -58; sum(days^2) = 4 + 9 + 25 = 38.
        {"three intervals", {{2, -3.0}, {3, -4.0}, {5, -8.0}}, -58.0 / 38.0},
        // 6*1 + 10*2 + 9*2 = 44 over 1 + 4 + 4 = 9 is 4.89: beyond the bound, clipped to it.
        {"clipped wetter", {{1, 6.0}, {2, 10.0}, {2, 9.0}}, 4.0},
        {"clipped drier", {{1, -6.0}, {2, -10.0}, {2, -9.0}}, -4.0},
        {"at the bound", {{2, 8.0}}, 4.0},
        {"just past it", {{2, 8.02}}, 4.0},
        {"just inside it", {{2, -7.98}}, -3.99},
        {"no interval: fewer than two readings", {}, 0.0},
        {"a miss no probe gives", {{2, std::nan("")}, {3, 1.0}}, 0.0},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(drift_rate(c.intervals), c.rate, 1e-12) << c.what;
}

TEST(DriftRate, IntervalsRunBetweenReadingsNotFromPlanting)
{
    // The first row is predicted from the initial moisture, a guess: no interval starts there.
    const std::vector<SkillRow> rows = {{100, 20.0f, 30.0f, 10.0f, 12, 30.0f, 0.0},
                                        {103, 25.0f, 27.5f, 2.5f, 3, 27.5f, 0.0},
                                        {107, 31.0f, 30.0f, -1.0f, 4, 30.0f, 0.0}};
    const auto intervals = reading_intervals(rows);
    ASSERT_EQ(intervals.size(), 2u);
    EXPECT_EQ(intervals[0].days, 3);
    EXPECT_DOUBLE_EQ(intervals[0].miss, -2.5);
    EXPECT_EQ(intervals[1].days, 4);
    EXPECT_DOUBLE_EQ(intervals[1].miss, 1.0);
    EXPECT_TRUE(reading_intervals(std::span(rows).first(1)).empty());
    // By hand: (-2.5*3 + 1*4) / (9 + 16) = -3.5 / 25.
    EXPECT_DOUBLE_EQ(drift_rate(intervals), -0.14);
}

/// A field with weather for `weather_days` days and readings every four days from day 5 that
/// the balance misses by +8 mm each: the probes find the soil 2 mm a day drier than it says.
class DriftingReadings : public ReadingDrift
{
protected:
    static constexpr int kFirst = 5, kGap = 4;
    static constexpr float kMiss = 8.0f;

    void make(int weather_days, int readings)
    {
        location = test::make_location(100, weather_days);
        field = test::make_field(*location, test::short_crop());
        read_at(kFirst, 10.0f);
        for (int k = 1; k < readings; ++k) {
            const int d = kFirst + k * kGap;
            // What the balance carries to day d from the reading before, as nothing else was read.
            predicted.push_back(field->season.days[static_cast<std::size_t>(d)].deficit);
            read_at(d, predicted.back() + kMiss);
        }
    }

    void read_at(int d, float deficit)
    {
        FieldDay &day = field->season.days[static_cast<std::size_t>(d)];
        day.sm_override = 1;
        day.deficit = deficit;
        field->season_run(0);
    }

    std::unique_ptr<CLocationDoc> location;
    std::unique_ptr<CFieldDoc> field;
    std::vector<float> predicted; ///< of the readings after the first
};

TEST_F(DriftingReadings, EachReadingIsCorrectedWithTheDriftFittedBeforeIt)
{
    make(40, 4); // days 5, 9, 13, 17
    // Carried from the first reading with nothing read after it, for the leads of 8 days.
    auto unread = test::make_field(*location, test::short_crop());
    unread->season.days[kFirst].sm_override = 1;
    unread->season.days[kFirst].deficit = 10.0f;
    unread->season_run(0);
    const float day13_from_day5 = unread->season.days[13].deficit;
    unread->season.days[9] = field->season.days[9];
    unread->season_run(0);
    const float day17_from_day9 = unread->season.days[17].deficit;

    const ForecastSkill skill = forecast_skill(*field);
    ASSERT_EQ(skill.rows.size(), 4u);
    EXPECT_EQ(skill.rows[1].predicted, predicted[0]);
    // Every interval misses by 8 mm in 4 days: 2 mm a day, fitted on what came before.
    const double rates[] = {0.0, 0.0, 2.0, 2.0};
    for (std::size_t k = 0; k < 4; ++k) {
        const SkillRow &row = skill.rows[k];
        EXPECT_NEAR(row.rate, rates[k], 1e-6) << k;
        EXPECT_NEAR(row.corrected, row.predicted + rates[k] * row.days_since_previous, 1e-5) << k;
    }
    EXPECT_NEAR(skill.rows[2].corrected, skill.rows[2].measured, 1e-5);
    EXPECT_NEAR(skill.rate, 2.0, 1e-6);
    const double e0 = skill.rows[0].error;
    EXPECT_EQ(skill.corrected.n, 4u);
    EXPECT_NEAR(*skill.corrected.bias, (e0 - kMiss) / 4, 1e-5);
    EXPECT_NEAR(*skill.corrected.rmse, std::sqrt((e0 * e0 + kMiss * kMiss) / 4), 1e-5);
    EXPECT_NEAR(*skill.rmse, std::sqrt((e0 * e0 + 3 * kMiss * kMiss) / 4), 1e-5);

    ASSERT_EQ(skill.leads.size(), 3u);
    // Four days apart (3 days, +-1): 5 to 9 before any drift is known, then two hits.
    EXPECT_EQ(skill.leads[0].days, 3);
    EXPECT_EQ(skill.leads[0].errors.n, 3u);
    EXPECT_NEAR(*skill.leads[0].errors.rmse, std::sqrt(kMiss * kMiss / 3), 1e-5);
    // Eight days apart (a week, +-1): 5 to 13 with no drift yet, 9 to 17 with 2 mm a day; the
    // reading between is passed over.
    EXPECT_EQ(skill.leads[1].days, 7);
    ASSERT_EQ(skill.leads[1].errors.n, 2u);
    const double week[] = {day13_from_day5 - skill.rows[2].measured,
                           day17_from_day9 + 2.0 * 8 - skill.rows[3].measured};
    EXPECT_NEAR(*skill.leads[1].errors.rmse, std::sqrt((week[0] * week[0] + week[1] * week[1]) / 2),
                1e-4);
    // Twelve days apart is no lead of two weeks (13 to 15 days).
    EXPECT_EQ(skill.leads[2].days, 14);
    EXPECT_EQ(skill.leads[2].errors.n, 0u);
    EXPECT_FALSE(skill.leads[2].errors.rmse);

    // A reading never helps predict itself: the last one moved leaves its prediction alone.
    field->season.days[17].deficit += 5.0f;
    const ForecastSkill moved = forecast_skill(*field);
    EXPECT_EQ(moved.rows[3].corrected, skill.rows[3].corrected);
    EXPECT_EQ(moved.rows[3].rate, skill.rows[3].rate);
    EXPECT_GT(moved.rate, skill.rate);

    settings->depth_unit = 0; // mm
    const std::string words = skill_in_words(skill);
    EXPECT_TRUE(words.starts_with("The balance runs 2.0 mm a day wetter than your probes; its "
                                  "forecast is within 4.6 mm 3 days ahead and "))
        << words;
    EXPECT_TRUE(words.ends_with(" mm a week ahead.")) << words;
}

TEST_F(DriftingReadings, LearningAddsTheDriftToEveryDayAfterTheLastReading)
{
    make(20, 4); // readings through day 17, weather through day 19, then the forecast
    field->saved.days_per_mm = 0.05f;
    field->season_run(0);
    const std::vector<FieldDay> off = field->season.days;
    const int off_forecast = field->season.last_forecast_day;
    const std::optional<int> off_start = next_irrigation(*field).start_by;
    const auto off_bytes = field->serialize();
    ASSERT_GT(off_forecast, field->season.last_actual_day);
    ASSERT_TRUE(off_start);

    field->saved.learn_from_readings = true;
    field->season_run(0);
    EXPECT_NEAR(field->season.learned_drift, 2.0f, 1e-6f);
    for (int d = 0; d <= 17; ++d)
        EXPECT_EQ(field->season.days[static_cast<std::size_t>(d)].deficit,
                  off[static_cast<std::size_t>(d)].deficit)
            << d;
    // The day after the last reading starts from the same soil and takes 2 mm more.
    EXPECT_NEAR(field->season.days[18].deficit - off[18].deficit, 2.0f, 1e-4f);
    float gap = 2.0f;
    for (int d = 19; d <= field->season.last_forecast_day; ++d) {
        const float now = field->season.days[static_cast<std::size_t>(d)].deficit -
                          off[static_cast<std::size_t>(d)].deficit;
        EXPECT_GT(now, gap) << d; // actual days and forecast days alike
        gap = now;
    }
    // The irrigation falls due sooner, and the start-by date moves with it.
    EXPECT_LT(field->season.last_forecast_day, off_forecast);
    ASSERT_TRUE(next_irrigation(*field).start_by);
    EXPECT_LT(*next_irrigation(*field).start_by, *off_start);

    // Off again, every day is as it was before learning.
    field->saved.learn_from_readings = false;
    field->season_run(0);
    EXPECT_EQ(field->serialize(), off_bytes);
    EXPECT_EQ(field->season.learned_drift, 0.0f);
}

TEST_F(DriftingReadings, LearningStopsAtHarvest)
{
    // The readings are refused after harvest, so their drift says nothing of the bare soil (a
    // gain would drain through it for the rest of the record): the short crop's days after its
    // harvest on day 31 take no more of it.
    make(40, 4);
    ASSERT_EQ(field->season.last_actual_day, 39);
    const std::vector<FieldDay> off = field->season.days;
    field->saved.learn_from_readings = true;
    field->season_run(0);
    const float at_harvest = field->season.days[31].deficit - off[31].deficit;
    // 2 mm on each of the 14 days from the last reading, less the ET the drier soil holds back.
    EXPECT_GT(at_harvest, 2.0f * 12);
    EXPECT_LE(at_harvest, 2.0f * 14);
    for (std::size_t d = 32; d <= 39; ++d)
        EXPECT_NEAR(field->season.days[d].deficit - off[d].deficit, at_harvest, 1e-3f) << d;
}

TEST_F(DriftingReadings, LearningWithoutTwoReadingsChangesNothing)
{
    for (const int readings : {0, 1}) {
        field.reset(); // before the location it is bound to
        location = test::make_location(100, 20);
        field = test::make_field(*location, test::short_crop());
        if (readings == 1)
            read_at(kFirst, 10.0f);
        const auto before = field->serialize();
        field->saved.learn_from_readings = true;
        field->season_run(0);
        EXPECT_EQ(field->season.learned_drift, 0.0f) << readings;
        field->saved.learn_from_readings = false; // the flag itself is stored after the days
        EXPECT_EQ(field->serialize(), before) << readings;
    }
}

} // namespace
} // namespace tw
