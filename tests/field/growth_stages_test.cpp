#include "field/growth_stages.h"

#include <algorithm>

#include "field_fixtures.h"
#include "refdata/custom_settings.h"

namespace tw {
namespace {

using test::FieldTest;
using GrowthStages = FieldTest;

/// Planting, Emergence, Full Cover, an ordinary stage, Stop Irrigating, Harvest.
CropRecord six_stage_crop(int harvests)
{
    CropRecord crop = test::short_crop();
    crop.stages[5] = crop.stages[4];
    crop.stages[4] = crop.stages[3];
    crop.stages[3] = {"Bloom", StageOrdinary, 0.5f, 25, 280};
    crop.stage_count = 6;
    crop.max_harvests = harvests;
    return crop;
}

TEST_F(GrowthStages, OneHarvestCycleHoldsTheTruncatedEnds)
{
    CropRecord crop = test::short_crop();
    const float ends[][2] = {{10.7f, 100.9f}, {20.2f, 250.5f}, {30.9f, 300.99f}, {31.5f, 320.2f}};
    for (int k = 1; k <= 4; ++k) {
        crop.stages[static_cast<std::size_t>(k)].end_day = ends[k - 1][0];
        crop.stages[static_cast<std::size_t>(k)].end_gdd = ends[k - 1][1];
    }
    HarvestTable cycles;
    cycles[1].harvest_day = 99;
    EXPECT_TRUE(derive_harvest_cycles(crop, cycles));
    const HarvestCycle &c = cycles[0];
    EXPECT_EQ((std::array{c.emergence_day, c.full_cover_day, c.stop_day, c.harvest_day}),
              (std::array{10, 20, 30, 31}));
    EXPECT_EQ((std::array{c.emergence_gdd, c.full_cover_gdd, c.stop_gdd, c.harvest_gdd}),
              (std::array{100, 250, 300, 320}));
    EXPECT_EQ(cycles[1].harvest_day, 0);
    EXPECT_TRUE(messages->texts().empty());
}

TEST_F(GrowthStages, HarvestCountMismatchIsReportedAndKeepsTheCycles)
{
    CropRecord crop = test::short_crop();
    crop.max_harvests = 2;
    HarvestTable cycles;
    EXPECT_FALSE(derive_harvest_cycles(crop, cycles));
    EXPECT_EQ(messages->texts(),
              std::vector<std::string>{"Problem with number of harvests in Perennial Crop"});
    EXPECT_EQ(cycles[0].harvest_day, 31);
}

TEST_F(GrowthStages, PerennialExpansionRepeatsTheSeason)
{
    const struct
    {
        bool planting_season;
        int count;
        std::size_t regrow_1, regrow_2;
    } cases[] = {{true, 16, 6, 11}, {false, 15, 5, 10}};
    for (const auto &c : cases) {
        CropRecord crop = six_stage_crop(3);
        ASSERT_FALSE(expand_perennial(crop, c.planting_season));
        ASSERT_EQ(crop.stage_count, c.count);
        EXPECT_EQ(crop.stages[c.regrow_1].name, "Regrow");
        EXPECT_EQ(crop.stages[c.regrow_2].name, "Regrow");
        EXPECT_EQ(crop.stages[c.regrow_1].end_day, 10 + 31);
        EXPECT_EQ(crop.stages[c.regrow_2].end_day, 10 + 62);
        EXPECT_EQ(crop.stages[c.regrow_2].end_gdd, 100 + 640);
        EXPECT_EQ(crop.stages[static_cast<std::size_t>(c.count - 1)].end_day, 93);
        EXPECT_EQ(crop.stages[0].name, c.planting_season ? "Planting" : "Green-up");
        HarvestTable cycles;
        EXPECT_TRUE(derive_harvest_cycles(crop, cycles));
        EXPECT_EQ(cycles[2].stop_day, 30 + 62);
    }
}

// A crop holding a long first cycle (the template's: Harvest at day 31, 320 degree days) and the
// shorter cycle of the later cuttings (15 days, 160 degree days) repeats the later one only.
TEST_F(GrowthStages, PerennialExpansionRepeatsTheLastStoredCycle)
{
    CropRecord crop = test::short_crop();
    crop.max_harvests = 4;
    const GrowthStage later[] = {{"Regrow", StageEmergence, 0.5f, 35, 350},
                                 {"Full Cover", StageFullCover, 0.5f, 40, 420},
                                 {"Stop Irrigating", StageStopIrrigating, 0.5f, 45, 460},
                                 {"Harvest", StageHarvest, 0.5f, 46, 480}};
    std::copy(std::begin(later), std::end(later), crop.stages.begin() + 5);
    crop.stage_count = 9;
    ASSERT_FALSE(expand_perennial(crop, true));
    ASSERT_EQ(crop.stage_count, 9 + 2 * 4);
    HarvestTable cycles;
    ASSERT_TRUE(derive_harvest_cycles(crop, cycles));
    const int harvest_days[] = {31, 46, 61, 76};
    const int harvest_gdd[] = {320, 480, 640, 800};
    for (std::size_t c = 0; c < 4; ++c) {
        EXPECT_EQ(cycles[c].harvest_day, harvest_days[c]) << c;
        EXPECT_EQ(cycles[c].harvest_gdd, harvest_gdd[c]) << c;
    }
    EXPECT_EQ(cycles[3].emergence_day, 61 + 4);
    EXPECT_EQ(cycles[3].full_cover_gdd, 640 + 100);
    EXPECT_EQ(crop.stages[13].name, "Regrow");
}

TEST_F(GrowthStages, PerennialExpansionRefusesWhatACropCannotHold)
{
    const struct
    {
        int harvests;
        bool fits;
    } cases[] = {{1, true}, {4, true}, {5, false}, {9, false}};
    for (const auto &c : cases) {
        CropRecord crop = test::corn(); // 12 stages: 12 + (H - 1) x 11
        crop.max_harvests = c.harvests;
        const auto refused = expand_perennial(crop, true);
        EXPECT_EQ(!refused, c.fits) << c.harvests;
        EXPECT_EQ(crop.stage_count, c.fits ? 12 + (c.harvests - 1) * 11 : 12);
    }
}

TEST_F(GrowthStages, CycleOfADay)
{
    HarvestTable cycles{};
    cycles[0].harvest_day = 31;
    cycles[0].harvest_gdd = 320;
    cycles[1].harvest_day = 62;
    cycles[1].harvest_gdd = 640;
    cycles[2].harvest_day = 93;
    const struct
    {
        int harvests, d;
        float gdd;
        int by_days, by_gdd;
    } cases[] = {
        {3, 31, 320.0f, 0, 0},   {3, 32, 320.5f, 1, 1},   {3, 63, 641.0f, 2, 2},
        {3, 500, 9999.0f, 2, 2}, {1, 500, 9999.0f, 0, 0}, {0, 5, 5.0f, 0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(cycle_by_days(cycles, c.harvests, c.d), c.by_days) << c.d;
        EXPECT_EQ(cycle_by_gdd(cycles, c.harvests, c.gdd), c.by_gdd) << c.gdd;
    }
}

TEST_F(GrowthStages, StageOfADayNeverReturnsTheLastStage)
{
    const CropRecord crop = test::corn();
    const struct
    {
        std::int32_t basis;
        int d;
        float gdd;
        bool post;
        std::int32_t stage;
    } cases[] = {
        {SeasonDays, 0, 0, false, 0},
        {SeasonDays, 10, 0, false, 1},
        {SeasonDays, 11, 0, false, 2},
        {SeasonDays, 120, 0, false, 10},
        {SeasonDays, 121, 0, false, -2},
        {SeasonDays, 5, 0, true, -2},
        {GrowingDegreeDays, 50, 39, false, 1},
        {GrowingDegreeDays, 0, 39.5f, false, 2},
        {GrowingDegreeDays, 0, 1400, false, -2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(stage_of_day(crop, c.basis, c.d, c.gdd, c.post), c.stage) << c.d << " " << c.gdd;
}

TEST_F(GrowthStages, DegreeDaysCapTheTemperatures)
{
    const struct
    {
        float t_min, t_max, g;
    } cases[] = {{12, 28, 10}, {5, 35, 10}, {-5, 8, -1}, {15, 15, 5}, {31, 40, 20.5f}};
    for (const auto &c : cases)
        EXPECT_FLOAT_EQ(degree_days(c.t_min, c.t_max, 10, 30), c.g) << c.t_min << " " << c.t_max;
}

TEST_F(GrowthStages, FlagTexts)
{
    const std::pair<std::int32_t, std::string_view> cases[] = {{0, ""},
                                                               {1, "Planting"},
                                                               {2, "Emergence"},
                                                               {3, "Full Cover"},
                                                               {4, "Stop Irrigating"},
                                                               {5, "Harvest"},
                                                               {6, "Unknown Flag"},
                                                               {-1, "Unknown Flag"}};
    for (const auto &[flag, text] : cases)
        EXPECT_EQ(stage_flag_text(flag), text);
}

TEST_F(GrowthStages, RecordingAStageEndMovesTheStageLeftOrTheOneReturnedTo)
{
    auto location = test::make_location(100, 40);
    auto field = test::make_field(*location, test::short_crop());
    const int d = 15; // in Full Cover (stage 2)
    ASSERT_EQ(field->season.days[d].stage, 2);
    const float gdd = field->season.days[d].cum_gdd;

    record_stage_end(*field, d, 3);
    EXPECT_EQ(field->saved.crop.stages[2].end_day, 15.0f);
    EXPECT_EQ(field->saved.crop.stages[2].end_gdd, gdd);
    EXPECT_EQ(field->season.cycles[0].full_cover_day, 15);

    record_stage_end(*field, d, 1);
    EXPECT_EQ(field->saved.crop.stages[1].end_day, 16.0f);
    EXPECT_EQ(field->saved.crop.stages[1].end_gdd, gdd + 1.0f);
    EXPECT_EQ(field->season.cycles[0].emergence_day, 16);
}

TEST_F(GrowthStages, CalcGrowthStageReadsTheBasis)
{
    auto location = test::make_location(100, 100, {10.0f, 14.0f, 6.0f, 20.0f}); // 2 GDD a day
    auto field = test::make_field(*location, test::short_crop());
    EXPECT_EQ(calc_growth_stage(*field, 15), 2);
    settings->crop_growth_basis = GrowingDegreeDays;
    EXPECT_EQ(calc_growth_stage(*field, 15), 1); // 32 GDD: still in Emergence
}

} // namespace
} // namespace tw
