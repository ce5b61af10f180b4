#include "field/next_irrigation.h"

#include "field/season_glance.h"
#include "field/system_capacity.h"
#include "field_fixtures.h"
#include "platform/dates.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tw {
namespace {

using test::FieldTest;
using NextIrrigationDecision = FieldTest;

/// Weather wet enough (a daily 20 mm shower, low ETr) that no day ever needs water.
constexpr test::Weather kWet{12.0f, 28.0f, 1.0f, 20.0f};

/// The short crop's Stop Irrigating day (30) and harvest (31) lie within a 100-day record; its
/// forecast from a drying field (9 mm ETr) calls for water within days.
TEST_F(NextIrrigationDecision, EachReasonFromARealRun)
{
    const struct
    {
        const char *what;
        int weather_days;
        test::Weather weather;
        bool corn;
        NextReason reason;
    } cases[] = {
        {"forecast need", 20, {12.0f, 28.0f, 9.0f, 0.0f}, false, NextReason::Due},
        {"wet to the stop day", 25, kWet, false, NextReason::Stopped},
        {"weather past harvest", 60, kWet, false, NextReason::PostHarvest},
        {"wet to the record's end", 90, kWet, true, NextReason::NoneForecast},
        {"four days: no forecast", 4, kWet, false, NextReason::NoneForecast},
        {"no weather at all", 0, kWet, false, NextReason::NoWeather},
    };
    for (const auto &c : cases) {
        auto location = test::make_location(100, c.weather_days, c.weather);
        auto field = test::make_field(*location, c.corn ? test::corn() : test::short_crop());
        const NextIrrigation next = next_irrigation(*field);
        EXPECT_EQ(next.reason, c.reason) << c.what;
        EXPECT_EQ(next.due(), next.date.has_value()) << c.what;
        EXPECT_EQ(next.due(), next.gross_amount > 0.0f) << c.what;
        if (c.reason == NextReason::NoWeather) {
            EXPECT_EQ(next.advice, AdviceBeyondForecast);
            EXPECT_EQ(next_irrigation_text(*field).when, "No Data");
        } else {
            EXPECT_EQ(next.advice,
                      field->season.days[static_cast<std::size_t>(field->season.last_actual_day)]
                          .category)
                << c.what;
            if (!next.due()) {
                EXPECT_EQ(next_irrigation_text(*field).when, "None forecast") << c.what;
            }
        }
    }
}

TEST_F(NextIrrigationDecision, DueLaterOrNowFromTheForecastDay)
{
    auto location = test::make_location(100, 20, {12.0f, 28.0f, 9.0f, 0.0f});
    auto later = test::make_field(*location, test::short_crop());
    const int f = later->season.last_forecast_day;
    ASSERT_GT(f, later->season.last_actual_day);
    NextIrrigation next = next_irrigation(*later);
    EXPECT_EQ(next.date, later->date_of(f));
    EXPECT_FALSE(next.due_now);
    EXPECT_EQ(next.gross_amount, later->season.days[static_cast<std::size_t>(f)].irrigation_needed);

    auto dry = test::make_location(100, 16);
    auto now = test::make_field(*dry, test::short_crop());
    now->season.days[15].sm_override = 1;
    now->season.days[15].deficit = 100.0f;
    now->season_run(0);
    next = next_irrigation(*now);
    EXPECT_EQ(next.reason, NextReason::Due);
    EXPECT_TRUE(next.due_now);
    EXPECT_EQ(next.date, now->date_of(15));
    EXPECT_EQ(next.advice, now->season.days[15].category);
    EXPECT_EQ(next_irrigation_text(*now).when, "Now");
}

TEST_F(NextIrrigationDecision, StartByIsShownOnlyWithASystemCapacity)
{
    NextIrrigation next;
    EXPECT_EQ(start_by_text(next), std::nullopt);
    next.start_by = serial_from_civil(2022, 7, 4);
    EXPECT_EQ(start_by_text(next), "07/04/22");
    next.start_now = true;
    EXPECT_EQ(start_by_text(next), "Now");

    auto dry = test::make_location(100, 16);
    auto now = test::make_field(*dry, test::short_crop());
    now->season.days[15].sm_override = 1;
    now->season.days[15].deficit = 100.0f;
    now->season_run(0);
    EXPECT_EQ(next_irrigation_text(*now).start_by, std::nullopt);
    now->saved.days_per_mm = 0.1f;
    now->season_run(0);
    EXPECT_EQ(next_irrigation_text(*now).start_by, "Now");
}

// A run too short to forecast leaves the last forecast day at the planting day: a need there is
// in the past and must not become the next irrigation.
TEST_F(NextIrrigationDecision, WithoutAForecastOnlyTheLastActualDayCounts)
{
    std::vector<FieldDay> days(10);
    for (int d = 0; d <= 3; ++d) {
        days[static_cast<std::size_t>(d)].kind = KindWeather;
        days[static_cast<std::size_t>(d)].stage = 0;
    }
    days[0].irrigation_needed = 5.0f;
    SeasonOutcome season{days, 3, 0, false, 1000};
    EXPECT_EQ(decide_next_irrigation(season, 0.0f).reason, NextReason::NoneForecast);
    days[3].irrigation_needed = 7.0f;
    const NextIrrigation next = decide_next_irrigation(season, 0.0f);
    EXPECT_EQ(next.reason, NextReason::Due);
    EXPECT_EQ(next.date, 1003);
    EXPECT_TRUE(next.due_now);
    EXPECT_EQ(next.gross_amount, 7.0f);

    EXPECT_EQ(decide_next_irrigation({{}, 0, 0, false, 1000}, 0.0f).reason, NextReason::NoWeather);
    EXPECT_EQ(decide_next_irrigation({days, 12, 12, true, 1000}, 0.0f).reason,
              NextReason::NoWeather);
}

TEST_F(NextIrrigationDecision, StartByTakesTheDaysTheGrossAmountNeeds)
{
    std::vector<FieldDay> days(30);
    for (FieldDay &t : days) {
        t.kind = KindWeather;
        t.stage = 0;
    }
    const int a = 10, f = 20;
    const float amount = 37.3f;
    days[f].irrigation_needed = amount;
    const SeasonOutcome season{days, a, f, true, 1000};
    const struct
    {
        float days_per_mm;
        std::optional<int> lead;
    } cases[] = {
        {0.0f, std::nullopt},     // unset
        {40.0001f, std::nullopt}, // beyond any system
        {1.0f / amount, 1},       // exactly one day, float noise and all
        {1.0001f / amount, 2},    // a little more takes a second day
        {5.0f, static_cast<int>(std::ceil(5.0 * amount))},
        {1e-7f, 0}, // under a day's work still starts on the day
        {40.0f, 1492},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(start_lead_days(amount, c.days_per_mm), c.lead) << c.days_per_mm;
        const NextIrrigation next = decide_next_irrigation(season, c.days_per_mm);
        // A lead longer than the days since planting starts on the planting day (1000).
        const int capped = c.lead ? std::min(*c.lead, f) : 0;
        EXPECT_EQ(next.start_by, c.lead ? std::optional(1000 + f - capped) : std::nullopt);
        EXPECT_EQ(next.start_now, c.lead && f - capped <= a) << c.days_per_mm;
    }
    EXPECT_EQ(decide_next_irrigation({days, a, f, true, 1000}, 10.0f / amount).start_now, true);
    EXPECT_EQ(decide_next_irrigation({days, a, f, true, 1000}, 9.0f / amount).start_now, false);
    EXPECT_EQ(start_lead_days(0.0f, 1.0f), std::nullopt); // nothing due, nothing to start
    // The planting day itself, and not a day before it, for a lead of exactly f days and more.
    EXPECT_EQ(decide_next_irrigation(season, 20.0f / amount).start_by, 1000);
    EXPECT_EQ(decide_next_irrigation(season, 19.0f / amount).start_by, 1001);
}

} // namespace
} // namespace tw
