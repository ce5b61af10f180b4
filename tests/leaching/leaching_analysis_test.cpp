#include "leaching/leaching_analysis.h"

#include "field/field_doc.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/work_dir.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <vector>

namespace tw {
namespace {

/// `count` days with weather and nothing else.
std::vector<FieldDay> weather_days(int count)
{
    FieldDay t;
    t.kind = KindWeather;
    return std::vector<FieldDay>(static_cast<std::size_t>(count), t);
}

/// A block as a pre-season consultation of a well-drained field leaves it.
NutrientBlock consultation_block()
{
    NutrientBlock block;
    block.inputs.drainage_class = 1;
    block.inputs.yield_goal = 180.0f;
    block.inputs.n_requirement = 0.9f;
    block.recommendation.final = 150.0f;
    return block;
}

TEST(LeachingStatistics, IrrigationFigures)
{
    const struct
    {
        std::vector<int> irrigated_days;
        float water_in, average_in, interval;
    } cases[] = {
        {{}, 0.0f, 0.0f, 0.0f},
        {{10, 20, 30}, 3.0f, 1.0f, 20.0f / 3.0f},
        {{0}, 1.0f, 1.0f, 0.0f}, // one irrigation spans no interval
        {{5, 39}, 2.0f, 1.0f, 17.0f},
    };
    for (const auto &c : cases) {
        auto days = weather_days(40);
        for (const int d : c.irrigated_days)
            days[static_cast<std::size_t>(d)].gross_irrigation = 25.4f;
        const LeachingSummary s = summarize_leaching(days, consultation_block());
        EXPECT_EQ(s.irrigation_count, static_cast<int>(c.irrigated_days.size()));
        EXPECT_NEAR(s.water_applied, c.water_in, 1e-5f);
        EXPECT_NEAR(s.average_irrigation, c.average_in, 1e-5f);
        EXPECT_NEAR(s.irrigation_interval, c.interval, 1e-5f);
    }
}

TEST(LeachingStatistics, WaterStressCountsOnlyCropDaysWithWeather)
{
    auto days = weather_days(8);
    for (auto &t : days) {
        t.stage = 1;
        t.allowable_depletion = 50.0f;
        t.deficit = 20.0f;
    }
    days[1].deficit = 50.0f; // at the critical level: not yet stressed
    days[2].deficit = 60.0f;
    days[3].deficit = 76.2f;
    days[4] = days[3];
    days[4].kind = KindForecast; // a projection, not the season
    days[4].deficit = 200.0f;
    days[5].deficit = 90.0f;
    days[5].kind = KindNoData;
    days[6].deficit = 150.0f;
    days[6].allowable_depletion = 0.0f;
    days[6].stage = StagePostHarvest; // no crop to stress
    const WaterStress stress = water_stress_of(days);
    EXPECT_EQ(stress.days, 2);
    EXPECT_NEAR(stress.largest_deficit, 3.0f, 1e-5f);
    EXPECT_EQ(water_stress_of(weather_days(3)).days, 0);
}

TEST(LeachingStatistics, NitrogenApplicationsCountThePreplantNitrogenOnce)
{
    const struct
    {
        std::int32_t first_entry;
        std::vector<std::pair<int, float>> applied;
        float total;
        std::int32_t count;
        float average;
    } cases[] = {
        {-1, {}, 0.0f, -1, 0.0f},
        {0, {}, 0.0f, -1, 0.0f},
        {50, {}, 50.0f, 1, 50.0f},
        {-1, {{12, 30.0f}, {40, 20.0f}}, 50.0f, 2, 25.0f},
        {40, {{30, 30.0f}}, 70.0f, 2, 35.0f},
    };
    for (const auto &c : cases) {
        auto days = weather_days(60);
        for (const auto &[d, lbs] : c.applied)
            days[static_cast<std::size_t>(d)].n_applied = lbs;
        NutrientBlock block = consultation_block();
        block.first_entry_nitrogen = c.first_entry;
        // The soil's own nitrogen at planting is no application.
        block.mass_balance.residual = 35.0f;
        const LeachingSummary s = summarize_leaching(days, block);
        EXPECT_FLOAT_EQ(s.nitrogen_applied, c.total) << c.first_entry;
        EXPECT_EQ(s.nitrogen_count, c.count) << c.first_entry;
        EXPECT_FLOAT_EQ(s.average_nitrogen, c.average) << c.first_entry;
    }
}

TEST(LeachingStatistics, DrainageAndNitrateTotals)
{
    auto days = weather_days(30);
    for (std::size_t d = 0; d < days.size(); ++d) {
        days[d].drainage = 2.54f;
        days[d].nitrate_leached = 0.5f;
        days[d].nitrate_available = static_cast<float>(d);
    }
    days[29].kind = KindNoData;
    days[28].kind = KindNoData;
    const LeachingSummary s = summarize_leaching(days, consultation_block());
    EXPECT_NEAR(s.deep_percolation, 3.0f, 1e-5f);
    EXPECT_NEAR(s.nitrate_leached, 15.0f, 1e-5f);
    EXPECT_EQ(s.nitrate_available, 27.0f); // the last day with weather
}

TEST(LeachingStatistics, NitrateAvailableOfTheLastDayWithWeather)
{
    const struct
    {
        std::vector<std::int32_t> kinds;
        float expected; // each day's nitrate is 10 + its index
    } cases[] = {
        {{1, 1, 1, 0}, 12.0f}, {{1, 0, 0, 0}, 10.0f},
        {{0, 0, 0, 0}, 10.0f}, // no day with weather: day 0
        {{0, 1, 4, 0}, 11.0f}, // a forecast day is a projection, not weather
        {{1}, 10.0f},          {{}, 0.0f},
    };
    for (const auto &c : cases) {
        std::vector<FieldDay> days(c.kinds.size());
        for (std::size_t d = 0; d < days.size(); ++d) {
            days[d].kind = c.kinds[d];
            days[d].nitrate_available = 10.0f + static_cast<float>(d);
        }
        EXPECT_EQ(final_nitrate_available(days), c.expected) << c.kinds.size();
    }
}

TEST(LeachingIndex, ByWaterAndDrainageClass)
{
    const struct
    {
        float water_in;
        std::int32_t drainage_class;
        float index;
        Grade grade;
    } cases[] = {
        {30.0f, 1, 4.25f, Grade::Low},        // S = 37.62: 14.95^2 / 52.57
        {0.0f, 1, 0.0f, Grade::Low},          // a dry season is no risk at all
        {15.0f, 1, 0.0f, Grade::Low},         // just below 0.4 S
        {60.0f, 4, 14.83f, Grade::High},      // S = 56.67
        {60.0f, 0, 32.77f, Grade::Excessive}, // S = 25.71
        {40.0f, 2, 6.05f, Grade::Medium},     // S = 48.82
        {20.0f, 3, 0.0f, Grade::Low},         // below 0.4 S = 22.67
    };
    for (const auto &c : cases) {
        const auto k = drainage_k(c.drainage_class);
        ASSERT_TRUE(k);
        const float index = leaching_index(c.water_in, *k);
        EXPECT_NEAR(index, c.index, 0.005f) << c.water_in << " " << c.drainage_class;
        EXPECT_EQ(grade_leaching_index(index), c.grade);
    }
    EXPECT_FALSE(drainage_k(-1));
    EXPECT_FALSE(drainage_k(5));
}

TEST(LeachingIndex, TakesRainAndEffectiveIrrigation)
{
    auto days = weather_days(30);
    for (FieldDay &t : days) {
        t.rain = 12.7f;
        t.effective_irrigation = 12.7f;
        t.gross_irrigation = 20.0f;
    }
    EXPECT_NEAR(summarize_leaching(days, consultation_block()).leaching_index, 4.25f, 0.005f);
}

TEST(LeachingGrades, UpperBoundsBelongToTheLowerGrade)
{
    using GradeOf = Grade (*)(float);
    const struct
    {
        GradeOf grade_of;
        float low, medium, high;
    } quantities[] = {
        {grade_leaching_index, 5.0f, 10.0f, 20.0f},
        {grade_deep_percolation, 2.0f, 4.0f, 6.0f},
        {grade_nitrate_available, 50.0f, 100.0f, 150.0f},
        {grade_nitrate_leached, 5.0f, 10.0f, 15.0f},
    };
    for (const auto &q : quantities) {
        EXPECT_EQ(q.grade_of(0.0f), Grade::Low);
        EXPECT_EQ(q.grade_of(q.low), Grade::Low);
        EXPECT_EQ(q.grade_of(q.low + 0.01f), Grade::Medium);
        EXPECT_EQ(q.grade_of(q.medium), Grade::Medium);
        EXPECT_EQ(q.grade_of(q.medium + 0.01f), Grade::High);
        EXPECT_EQ(q.grade_of(q.high), Grade::High);
        EXPECT_EQ(q.grade_of(q.high + 0.01f), Grade::Excessive);
    }
    EXPECT_EQ(grade_word(Grade::Low), "Low");
    EXPECT_EQ(grade_word(Grade::Medium), "Medium");
    EXPECT_EQ(grade_word(Grade::High), "High");
    EXPECT_EQ(grade_word(Grade::Excessive), "Excessive");
}

TEST(ReductionAdvice, CutsWhatLeachedAndCostsYieldBelowTheRecommendation)
{
    const struct
    {
        const char *what;
        float applied, leached;
        std::int32_t midseason;
        float applied_to_date, n_requirement;
        float reduced, before, after;
    } cases[] = {
        {"over the recommendation either way", 200, 20, 0, 0, 0.9f, 180, 180, 180},
        {"the cut goes below it", 150, 30, 0, 0, 0.9f, 120, 180, 180 - 30 / 0.9f},
        {"under-applied already", 120, 10, 0, 0, 0.9f, 110, 180 - 30 / 0.9f, 180 - 40 / 0.9f},
        {"more leached than applied", 20, 35, 0, 0, 0.9f, 0, 180 - 130 / 0.9f, 180 - 150 / 0.9f},
        {"no yield below zero", 0, 0, 0, 0, 0.5f, 0, 0, 0},
        {"no requirement, no relation", 150, 30, 0, 0, 0.0f, 120, 180, 180},
        // A midseason correction recommends what remains to apply: 150 after 100.
        {"midseason", 260, 40, 1, 100, 0.9f, 220, 180, 180 - 30 / 0.9f},
    };
    for (const auto &c : cases) {
        NutrientBlock block = consultation_block();
        block.inputs.midseason_mode = c.midseason;
        block.inputs.applied_to_date = c.applied_to_date;
        block.inputs.n_requirement = c.n_requirement;
        const ReductionAdvice a = reduction_advice(c.applied, c.leached, block);
        EXPECT_FLOAT_EQ(a.reduced_nitrogen, c.reduced) << c.what;
        EXPECT_NEAR(a.yield_before, c.before, 1e-3f) << c.what;
        EXPECT_NEAR(a.yield_after, c.after, 1e-3f) << c.what;
    }
}

TEST(ReductionAdvice, FillsTheSummary)
{
    auto days = weather_days(10);
    days[3].n_applied = 100.0f;
    days[9].nitrate_leached = 25.0f;
    NutrientBlock block = consultation_block();
    block.first_entry_nitrogen = 50;
    const LeachingSummary s = summarize_leaching(days, block);
    EXPECT_FLOAT_EQ(s.reduced_nitrogen, 125.0f);
    EXPECT_FLOAT_EQ(s.yield_before, 180.0f);
    EXPECT_NEAR(s.yield_after, 180.0f - 25.0f / 0.9f, 1e-3f);
}

TEST(LeachingEntryCheck, RecordMustReachTheEndOfIrrigation)
{
    HarvestCycle cycle;
    cycle.stop_day = 30;
    cycle.stop_gdd = 300;
    const struct
    {
        const char *what;
        std::int32_t basis;
        int days, weather_days;
        float gdd_per_day;
        bool reaches;
    } cases[] = {
        {"by days, the stop day has weather", SeasonDays, 40, 31, 0, true},
        {"by days, the stop day has none", SeasonDays, 40, 30, 0, false},
        {"by days, the stop day lies beyond the record", SeasonDays, 30, 30, 0, false},
        {"by degree days, past the stop", GrowingDegreeDays, 40, 20, 16, true},
        {"by degree days, short of it", GrowingDegreeDays, 40, 20, 15, false},
        // Only the last day is past the stop: it does not count.
        {"by degree days, on the last day only", GrowingDegreeDays, 20, 20, 15.2f, false},
        {"by degree days, an empty record", GrowingDegreeDays, 0, 0, 0, false},
    };
    for (const auto &c : cases) {
        std::vector<FieldDay> days(static_cast<std::size_t>(c.days));
        for (int d = 0; d < c.days; ++d) {
            days[static_cast<std::size_t>(d)].kind = d < c.weather_days ? KindWeather : KindNoData;
            days[static_cast<std::size_t>(d)].cum_gdd = c.gdd_per_day * static_cast<float>(d);
        }
        EXPECT_EQ(reaches_end_of_irrigation({days, cycle, c.basis}), c.reaches) << c.what;
    }
}

TEST(LeachingEntryCheck, ForecastDaysAreNotWeather)
{
    HarvestCycle cycle;
    cycle.stop_day = 30;
    cycle.stop_gdd = 300;
    std::vector<FieldDay> days = weather_days(40);
    for (int d = 0; d < 40; ++d) {
        FieldDay &t = days[static_cast<std::size_t>(d)];
        t.kind = d < 20 ? KindWeather : d < 35 ? KindForecast : KindNoData;
        t.cum_gdd = d < 35 ? 10.0f * static_cast<float>(d) : 0.0f;
        t.nitrate_available = static_cast<float>(d);
    }
    EXPECT_FALSE(reaches_end_of_irrigation({days, cycle, SeasonDays}));
    EXPECT_FALSE(reaches_end_of_irrigation({days, cycle, GrowingDegreeDays}));
    EXPECT_TRUE(season_incomplete(days, cycle));
    EXPECT_EQ(final_nitrate_available(days), 19.0f);
}

TEST(LeachingPeriod, MidseasonAnalysesPlantingToTheDayBeforeTheSoilTest)
{
    HarvestCycle cycle;
    cycle.stop_day = 120;
    cycle.stop_gdd = 1371;
    const int planting = serial_from_civil(2022, 5, 1);
    const struct
    {
        const char *what;
        std::string crop;
        std::int32_t midseason;
        int soil_test_offset;
        int weather_days;
        AnalysisPeriod period;
    } cases[] = {
        {"midseason, incomplete", "CORN", 1, 45, 60, {false, true, 45}},
        {"midseason, a test past the record", "CORN", 1, 400, 60, {false, true, 150}},
        {"midseason, a test before planting", "CORN", 1, -3, 60, {false, true, 0}},
        {"midseason, complete season", "CORN", 1, 45, 150, {false, false, 150}},
        {"corn without midseason, incomplete", "CORN", 0, 45, 60, {true, false, 0}},
        {"corn without midseason, complete", "CORN", 0, 45, 150, {false, false, 150}},
        {"another crop, incomplete", "WHEAT", 0, 45, 60, {false, false, 150}},
    };
    for (const auto &c : cases) {
        std::vector<FieldDay> days(150);
        for (int d = 0; d < c.weather_days; ++d) {
            days[static_cast<std::size_t>(d)].kind = KindWeather;
            days[static_cast<std::size_t>(d)].cum_gdd = 10.0f * static_cast<float>(d);
        }
        FertilityInputs inputs;
        inputs.midseason_mode = c.midseason;
        inputs.planting_date = StoredDate::from_day(planting);
        inputs.soil_test_date = planting + c.soil_test_offset;
        const AnalysisPeriod p = decide_period(days, cycle, c.crop, inputs);
        EXPECT_EQ(p.stop, c.period.stop) << c.what;
        EXPECT_EQ(p.midseason, c.period.midseason) << c.what;
        EXPECT_EQ(p.day_count, c.period.day_count) << c.what;
    }
}

TEST(LeachingPeriod, CompleteByDegreeDaysThoughTheStopDayHasNoWeather)
{
    HarvestCycle cycle;
    cycle.stop_day = 120;
    cycle.stop_gdd = 500;
    auto days = weather_days(100);
    days.back().cum_gdd = 600.0f;
    EXPECT_FALSE(season_incomplete(days, cycle));
    days.back().cum_gdd = 400.0f;
    EXPECT_TRUE(season_incomplete(days, cycle));
}

// A field in memory with its nutrient files in a scratch working directory.
class LeachingRunTest : public ::testing::Test
{
protected:
    test::ScopedWorkDir work_dir;
    test::ScopedMessages messages;
    test::ScopedSettings settings;
    CFieldDoc field;
    NutrientBlock block = consultation_block();

    void SetUp() override
    {
        field.saved.name = "north";
        field.saved.crop.name = "CORN";
        field.saved.planting_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
        field.season.cycles[0].stop_day = 120;
        field.season.cycles[0].stop_gdd = 1371;
        field.season.days = weather_days(150);
        for (std::size_t d = 0; d < field.season.days.size(); ++d)
            field.season.days[d].cum_gdd = 12.0f * static_cast<float>(d);
        block.inputs.planting_date = field.saved.planting_date;
    }

    /// The files as a consultation leaves them (a midseason save needs an earlier file, so the
    /// bytes are written directly).
    void save(std::vector<ScheduleEntry> schedule = {})
    {
        block.schedule_count = static_cast<std::int32_t>(schedule.size());
        ASSERT_TRUE(write_file_atomic(work_file("north22.FRT"), encode_nutrient_block(block)));
        std::vector<std::uint8_t> entries;
        for (const ScheduleEntry &e : schedule) {
            const ScheduleEntryImage image = encode_schedule_entry(e);
            entries.insert(entries.end(), image.begin(), image.end());
        }
        ASSERT_TRUE(write_file_atomic(work_file("north22.LCH"), entries));
    }

    std::vector<std::string> texts() { return messages->texts(); }
};

TEST_F(LeachingRunTest, SumsEveryDayOfACompleteSeason)
{
    field.season.days[10].gross_irrigation = field.season.days[140].gross_irrigation = 25.4f;
    save({ScheduleEntry{}});
    const auto run = leaching_summary_command(field);
    ASSERT_TRUE(run);
    EXPECT_TRUE(texts().empty());
    EXPECT_FALSE(run->midseason);
    EXPECT_EQ(run->analysed_days, 150);
    EXPECT_EQ(run->summary.irrigation_count, 2);
    EXPECT_EQ(run->schedule.size(), 1u);
}

TEST_F(LeachingRunTest, MidseasonRunStopsTheDayBeforeTheSoilTest)
{
    for (std::size_t d = 60; d < field.season.days.size(); ++d)
        field.season.days[d] = FieldDay{};
    field.season.days[19].gross_irrigation = field.season.days[20].gross_irrigation = 25.4f;
    block.inputs.midseason_mode = 1;
    block.inputs.soil_test_date = field.saved.planting_date.day() + 20;
    save();
    const auto run = leaching_summary_command(field);
    ASSERT_TRUE(run);
    EXPECT_TRUE(run->midseason);
    EXPECT_EQ(run->analysed_days, 20);
    EXPECT_EQ(run->consultation_date, block.inputs.soil_test_date);
    EXPECT_EQ(run->summary.irrigation_count, 1);
    EXPECT_NEAR(run->summary.water_applied, 1.0f, 1e-6f);
}

TEST_F(LeachingRunTest, RefusalsAndTheirMessages)
{
    const std::string cannot_open = "Can't Open Nutrient File.  You Must Run Fertility Scheduler "
                                    "First!";
    EXPECT_FALSE(leaching_summary_command(field));
    EXPECT_EQ(texts(), std::vector<std::string>{cannot_open});

    messages->clear();
    ASSERT_TRUE(write_file_atomic(work_file("north22.FRT"), std::vector<std::uint8_t>(663, 0)));
    EXPECT_FALSE(leaching_summary_command(field));
    EXPECT_EQ(texts(), std::vector<std::string>{"ERROR: Couldn't Read Nutrient File!"});

    messages->clear();
    block.inputs.drainage_class = 7;
    save();
    EXPECT_FALSE(leaching_summary_command(field));
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_NE(texts()[0].find("north22.FRT gives drainage class 7"), std::string::npos)
        << texts()[0];

    // Corn that has not reached the end of irrigation needs a midseason fertilizer consult.
    messages->clear();
    block.inputs.drainage_class = 1;
    save();
    for (std::size_t d = 60; d < field.season.days.size(); ++d)
        field.season.days[d] = FieldDay{};
    EXPECT_FALSE(leaching_summary_command(field));
    EXPECT_EQ(texts(), std::vector<std::string>{std::string(kMidseasonFirstMessage)});

    // Any other crop is refused before the analysis.
    messages->clear();
    field.saved.crop.name = "Corn";
    EXPECT_FALSE(leaching_summary_command(field));
    EXPECT_EQ(texts(), std::vector<std::string>{std::string(kNotEnoughDataMessage)});

    // Each refusal keeps its words and says, on a line of its own, what to do next.
    const auto first_line = [](std::string_view text) { return text.substr(0, text.find('\n')); };
    EXPECT_EQ(first_line(kMidseasonFirstMessage),
              "A Midseason Fertilizer Consult must be run before a Midseason Leaching Consult.");
    EXPECT_NE(kMidseasonFirstMessage.find("Fertilizer Consultation"), std::string_view::npos);
    EXPECT_EQ(first_line(kNotEnoughDataMessage),
              "There is Not Enough Irrigation Data to Run Leaching Module.");
    EXPECT_NE(kNotEnoughDataMessage.find("run Leaching Summary again"), std::string_view::npos);
}

TEST_F(LeachingRunTest, ScheduleProblemsAreToldAndTheAnalysisGoesOn)
{
    field.season.days[10].gross_irrigation = 25.4f;
    save({ScheduleEntry{}, ScheduleEntry{}});
    const auto lch = work_file("north22.LCH");
    const auto bytes = read_file(lch);
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(write_file_atomic(
        lch, std::vector<std::uint8_t>(bytes->begin(), bytes->begin() + 76 + 40)));
    auto run = leaching_summary_command(field);
    ASSERT_TRUE(run);
    EXPECT_EQ(texts(), std::vector<std::string>{"ERROR: Couldn't Read Schedule File!"});
    EXPECT_EQ(run->schedule.size(), 1u);
    EXPECT_EQ(run->summary.irrigation_count, 1);

    messages->clear();
    std::filesystem::remove(lch);
    run = leaching_summary_command(field);
    ASSERT_TRUE(run);
    EXPECT_EQ(texts(), std::vector<std::string>{"Can't Open Nutrient Schedule File. You Must Run "
                                                "Fertility Scheduler First!"});
    EXPECT_EQ(run->summary.irrigation_count, 1);
}

TEST_F(LeachingRunTest, DayCountIsKeptWithinTheRecord)
{
    field.season.days[149].gross_irrigation = 25.4f;
    save();
    const auto all = run_leaching_analysis(field, 1000);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->analysed_days, 150);
    EXPECT_EQ(all->summary.irrigation_count, 1);
    const auto part = run_leaching_analysis(field, 149);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->summary.irrigation_count, 0);
}

} // namespace
} // namespace tw
