#include "field/season_run.h"

#include "field/nutrient_readback.h"
#include "field_fixtures.h"
#include "platform/files.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"

#include <algorithm>
#include <numeric>

namespace tw {
namespace {

using test::FieldTest;
using SeasonRun = FieldTest;

const std::string kDaysMessage =
    "No Forecasted Irrigations found before (Daily)Stop Irrigating Stage";
const std::string kGddMessage =
    "No Forecasted Irrigations found before (Growing Degree Day) Stop Irrigating Stage";

bool said(test::ScopedMessages &messages, const std::string &text)
{
    const auto texts = messages->texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

/// Rain on every day of the location, so that no irrigation is ever called for.
void rain_every_day(CLocationDoc &location, float mm)
{
    for (WeatherDay &w : location.days)
        w.rain = mm;
}

TEST_F(SeasonRun, ForecastUsesTheMeansOfTheLastSevenActualDays)
{
    const struct
    {
        int weather_days;
        int first_mean_day;
    } cases[] = {{21, 14}, {6, 1}};
    for (const auto &c : cases) {
        auto location = test::make_location(100, c.weather_days);
        rain_every_day(*location, 20.0f);
        for (int i = 0; i < c.weather_days; ++i) {
            location->day(i).etr_used = 2.0f + 0.5f * i;
            location->day(i).t_min = 5.0f + i;
            location->day(i).t_max = 20.0f + 0.25f * i;
        }
        auto field = test::make_field(*location, test::corn());
        const int last = c.weather_days - 1;
        EXPECT_EQ(field->season.last_actual_day, last);
        const int n = last - c.first_mean_day + 1;
        const double day_sum = (c.first_mean_day + last) * n / 2.0;
        EXPECT_NEAR(field->season.forecast_etr, 2.0 + 0.5 * day_sum / n, 1e-5) << c.weather_days;
        EXPECT_NEAR(field->season.forecast_tmin, 5.0 + day_sum / n, 1e-5);
        EXPECT_NEAR(field->season.forecast_tmax, 20.0 + 0.25 * day_sum / n, 1e-5);
        EXPECT_EQ(field->season.days[static_cast<std::size_t>(c.weather_days)].kind, KindForecast);
    }
}

TEST_F(SeasonRun, LastActualDayNeedingIrrigationMakesNoForecast)
{
    auto location = test::make_location(100, 16);
    auto field = test::make_field(*location, test::short_crop());
    field->season.days[15].sm_override = 1;
    field->season.days[15].deficit = 100.0f;
    field->season.days[30].gross_irrigation = 12.0f;
    EXPECT_EQ(field->season_run(0), 1);
    EXPECT_GT(field->season.days[15].irrigation_needed, 0.0f);
    EXPECT_EQ(field->season.last_actual_day, 15);
    EXPECT_EQ(field->season.last_forecast_day, 15);
    for (std::size_t j = 16; j < field->season.days.size(); ++j) {
        const FieldDay &t = field->season.days[j];
        EXPECT_EQ(t.stage, StageNotComputed);
        EXPECT_EQ(t.category, AdviceBeyondForecast);
        EXPECT_EQ(t.root_depth, 0.0f);
        EXPECT_EQ(t.crop_et, 0.0f);
        EXPECT_NE(t.kind, KindForecast);
    }
    EXPECT_EQ(field->season.days[30].gross_irrigation, 12.0f); // entered values stay
}

TEST_F(SeasonRun, SeasonDaysForecastEndsAtStopIrrigating)
{
    const struct
    {
        int location_days;
        int last_forecast;
        bool message;
    } cases[] = {{100, 30, true}, {25, 24, false}};
    for (const auto &c : cases) {
        messages->clear();
        auto location = test::make_location(c.location_days, 10);
        rain_every_day(*location, 20.0f);
        auto field = test::make_field(*location, test::short_crop());
        EXPECT_EQ(field->season.last_actual_day, 9);
        EXPECT_EQ(field->season.last_forecast_day, c.last_forecast);
        EXPECT_EQ(field->season.days[static_cast<std::size_t>(c.last_forecast)].kind, KindForecast);
        EXPECT_EQ(said(messages, kDaysMessage), c.message) << c.location_days;
    }
}

TEST_F(SeasonRun, DegreeDayForecastEndsAtStopIrrigating)
{
    settings->crop_growth_basis = GrowingDegreeDays;
    auto location = test::make_location(100, 10, {12.0f, 27.0f, 6.0f, 0.0f}); // 9.5 GDD a day
    rain_every_day(*location, 20.0f);
    auto field = test::make_field(*location, test::short_crop());
    // Day 31 would reach 304 GDD, past the Stop Irrigating stage's 300.
    EXPECT_EQ(field->season.last_forecast_day, 30);
    EXPECT_TRUE(said(messages, kGddMessage));
    EXPECT_EQ(field->season.days[31].stage, StageNotComputed);
}

TEST_F(SeasonRun, DegreeDayForecastReachingTheRecordsEndKeepsItsLastDay)
{
    settings->crop_growth_basis = GrowingDegreeDays;
    auto location = test::make_location(25, 10);
    rain_every_day(*location, 20.0f);
    auto field = test::make_field(*location, test::short_crop());
    EXPECT_EQ(field->season.last_forecast_day, 24);
    EXPECT_EQ(field->season.days[24].kind, KindForecast);
    EXPECT_NE(field->season.days[24].stage, StageNotComputed);
}

TEST_F(SeasonRun, DegreeDayForecastDoesNotDependOnAnEarlierRun)
{
    settings->crop_growth_basis = GrowingDegreeDays;
    auto grown = test::make_location(100, 21, {12.0f, 27.0f, 6.0f, 0.0f});
    rain_every_day(*grown, 20.0f);
    auto field = test::make_field(*grown, test::short_crop());
    for (int i = 21; i < 26; ++i)
        grown->day(i) = grown->day(0);
    grown->notify_fields(21);

    auto fresh = test::make_location(100, 26, {12.0f, 27.0f, 6.0f, 0.0f});
    rain_every_day(*fresh, 20.0f);
    auto reference = test::make_field(*fresh, test::short_crop());
    EXPECT_EQ(field->season.last_forecast_day, reference->season.last_forecast_day);
    EXPECT_EQ(field->serialize(), reference->serialize());
    const auto before = field->serialize();
    field->season_run(0);
    EXPECT_EQ(field->serialize(), before);
}

TEST_F(SeasonRun, TooFewActualDaysMakeNoForecastAndLeaveLaterDays)
{
    auto location = test::make_location(100, 4);
    auto field = test::make_field(*location, test::corn());
    field->season.days[10].crop_et = 7.0f;
    EXPECT_EQ(field->season_run(0), 0);
    EXPECT_EQ(field->season.last_actual_day, 3);
    EXPECT_EQ(field->season.last_forecast_day, 0);
    EXPECT_EQ(field->season.days[10].crop_et, 7.0f);
}

TEST_F(SeasonRun, RunFromADayLeavesTheDaysBefore)
{
    auto location = test::make_location(100, 40);
    auto field = test::make_field(*location, test::corn());
    field->season.days[3].crop_et = 99.0f;
    field->season_run(5);
    EXPECT_EQ(field->season.days[3].crop_et, 99.0f);
    field->season_run(0);
    EXPECT_NE(field->season.days[3].crop_et, 99.0f);
}

TEST_F(SeasonRun, WeatherChangeRerunsFromTheFieldsDay)
{
    const struct
    {
        int location_day;
        std::vector<std::string> hints;
        bool marker_kept;
    } cases[] = {
        {15, {"location fields", "field day 5"}, true},
        {0, {"location fields", "field day 0"}, false},
        {4, {}, true},
    };
    for (const auto &c : cases) {
        auto location = test::make_location(100, 40);
        auto field = test::make_field(*location, test::corn(), 10);
        ASSERT_EQ(field->binding.day_offset, 10);
        std::vector<std::string> log;
        test::HintLog location_view, field_view;
        location_view.log = field_view.log = &log;
        location_view.who = "location";
        field_view.who = "field";
        location->add_view(&location_view);
        field->add_view(&field_view);
        field->season.days[2].crop_et = 99.0f;
        location->notify_fields(c.location_day);
        EXPECT_EQ(log, c.hints) << c.location_day;
        EXPECT_EQ(field->season.days[2].crop_et == 99.0f, c.marker_kept) << c.location_day;
        location->remove_view(&location_view);
    }
}

TEST_F(SeasonRun, RerunAllTellsEverything)
{
    auto location = test::make_location(100, 40);
    auto field = test::make_field(*location, test::corn());
    std::vector<std::string> log;
    test::HintLog view;
    view.log = &log;
    view.who = "field";
    field->add_view(&view);
    field->rerun_all();
    EXPECT_EQ(log, std::vector<std::string>{"field everything"});
}

TEST_F(SeasonRun, AdviceMessages)
{
    const std::pair<std::int32_t, std::string> cases[] = {
        {AdviceNone, "No Irrigation Needed: Current Soil Moisture is Sufficient"},
        {AdviceTomorrow, "Irrigate Tomorrow: Moisture will be Insufficient by Tomorrow"},
        {AdviceNow, "Irrigate Immediately: Soil Moisture is Below Allowable Depletion"},
        {AdviceCritical, "Irrigation Critical: Permanent Yield Damage has been Sustained"},
        {AdviceBeyondForecast, ""},
    };
    for (const auto &[category, text] : cases)
        EXPECT_EQ(advice_message(category), text);
}

std::vector<std::uint8_t> nutrient_block(std::int32_t first_entry)
{
    std::vector<std::uint8_t> b(664);
    codec::put_f32(b, 88, 180.0f);
    codec::put_f32(b, 264, 10.0f);
    const float mass_balance[] = {20, 30, 5, 0, 15, 0, 8}; // residual .. denitrification
    for (std::size_t i = 0; i < 7; ++i)
        codec::put_f32(b, 612 + 4 * i, mass_balance[i]);
    codec::put_i32(b, 660, first_entry);
    return b;
}

TEST_F(SeasonRun, NutrientFileGivesTheNitrogenInputs)
{
    const struct
    {
        std::size_t size;
        std::int32_t first_entry;
        bool from_file;
        std::string message;
        float soil_nitrogen, seasonal;
    } cases[] = {
        {0, -1, false, "Unable to open the nutrient file: north22.FRT", 0.0f, 0.0f},
        {100, -1, false, "Unable to read from the file: north22.FRT", 0.0f, 0.0f},
        {664, -1, false, "", 62.0f, 180.0f},
        {664, 40, false, "", 102.0f, 180.0f},
        {664, 40, true, "", 5.0f, 180.0f},
    };
    for (const auto &c : cases) {
        auto location = test::make_location(100, 40);
        auto field = test::make_field(*location, test::corn());
        std::filesystem::remove(work_file("north22.FRT"));
        if (c.size > 0) {
            auto block = nutrient_block(c.first_entry);
            block.resize(c.size);
            ASSERT_TRUE(write_file_atomic(work_file("north22.FRT"), block));
        }
        field->saved.nitrogen.soil_nitrogen = 5.0f;
        field->saved.nitrogen.soil_nitrogen_from_file = c.from_file;
        messages->clear();
        EXPECT_EQ(read_nutrient_values(*field), c.message.empty());
        EXPECT_EQ(messages->texts(), c.message.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.message});
        EXPECT_EQ(field->seasonal_nitrogen, c.seasonal);
        EXPECT_EQ(field->saved.nitrogen.soil_nitrogen, c.message.empty() ? c.soil_nitrogen : 5.0f);
        EXPECT_EQ(field->saved.nitrogen.soil_nitrogen_from_file, c.from_file || c.message.empty());
    }
}

TEST_F(SeasonRun, NutrientFileIsReadOnlyUntilTheBasisIsKnown)
{
    auto location = test::make_location(100, 40);
    auto field = test::make_field(*location, test::corn());
    ASSERT_TRUE(write_file_atomic(work_file("north22.FRT"), nutrient_block(-1)));
    field->season_run(0);
    EXPECT_EQ(field->seasonal_nitrogen, 180.0f);
    EXPECT_GT(field->season.days[20].nitrate_available, 0.0f);
    std::filesystem::remove(work_file("north22.FRT"));
    messages->clear();
    field->season_run(0);
    EXPECT_TRUE(messages->texts().empty());
}

// The run reads no file and tells nobody: the nutrient file beside the field is left alone and the
// stop message comes back as a value. The field's own run reads the file first, shows what the
// run said, and keeps exactly the days a run of the same values gives.
TEST_F(SeasonRun, TheRunIsPureAndTheFieldShowsWhatItSays)
{
    auto location = test::make_location(100, 10);
    rain_every_day(*location, 20.0f);
    auto field = test::make_field(*location, test::short_crop());
    ASSERT_TRUE(write_file_atomic(work_file("north22.FRT"), nutrient_block(-1)));
    messages->clear();

    FieldSeason season;
    season.days = field->season.days;
    run_season(field->season_inputs(RunSettings::current()), season, 0);
    EXPECT_EQ(season.messages, std::vector<std::string>{kDaysMessage});
    EXPECT_TRUE(messages->texts().empty());
    EXPECT_EQ(season.last_forecast_day, 30);
    EXPECT_EQ(season.days[5].nitrate_available, 0.0f); // no seasonal basis without the file

    EXPECT_EQ(field->season_run(0), 1);
    EXPECT_EQ(messages->texts(), std::vector<std::string>{kDaysMessage});
    EXPECT_EQ(field->seasonal_nitrogen, 180.0f);
    FieldSeason again;
    again.days = field->season.days;
    run_season(field->season_inputs(RunSettings::current()), again, 0);
    ASSERT_EQ(again.days.size(), field->season.days.size());
    for (std::size_t d = 0; d < again.days.size(); ++d)
        EXPECT_EQ(encode_field_day(again.days[d]), encode_field_day(field->season.days[d])) << d;
    EXPECT_EQ(again.cum_leached, field->season.cum_leached);
    EXPECT_GT(field->season.days[5].nitrate_available, 0.0f);
}

} // namespace
} // namespace tw
