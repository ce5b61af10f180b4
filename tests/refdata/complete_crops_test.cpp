#include "refdata/complete_crops.h"

#include "platform/files.h"
#include "platform/work_dir.h"
#include "refdata/database.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tw {
namespace {

double kc(const KcPolynomial &p, double x)
{
    return ((p[0] * x + p[1]) * x + p[2]) * x + p[3];
}

const CropRecord &named(const std::vector<CropRecord> &crops, const std::string &name)
{
    const auto found = std::find_if(crops.begin(), crops.end(),
                                    [&](const CropRecord &c) { return c.name == name; });
    EXPECT_NE(found, crops.end()) << name;
    return *found;
}

TEST(CompleteCrops, CornIsTheDefaultRecordByteForByte)
{
    const std::vector<CropRecord> crops = complete_crops();
    CropRecord corn = named(crops, "CORN");
    CropRecord default_corn = default_corn_record();
    corn.index = default_corn.index = 0;
    EXPECT_EQ(encode_crop(corn), encode_crop(default_corn));
}

// What the stage editor and the water balance rely on, for every record as crop.db stores it.
TEST(CompleteCrops, EveryRecordKeepsTheStageRules)
{
    const std::vector<CropRecord> crops = complete_crops();
    ASSERT_EQ(crops.size(), 13u);
    EXPECT_TRUE(
        std::is_sorted(crops.begin(), crops.end(),
                       [](const CropRecord &a, const CropRecord &b) { return a.name < b.name; }));
    for (const CropRecord &written : crops) {
        SCOPED_TRACE(written.name);
        const CropRecord c = decode_crop(encode_crop(written));
        EXPECT_EQ(c.name, written.name); // fits its field
        ASSERT_GE(c.stage_count, 5);
        std::multiset<std::int32_t> flags;
        for (std::int32_t s = 0; s < c.stage_count; ++s) {
            const GrowthStage &stage = c.stages[static_cast<std::size_t>(s)];
            flags.insert(stage.flag);
            EXPECT_GT(stage.allowable_depletion, 0.0f);
            EXPECT_LE(stage.allowable_depletion, 1.0f);
            if (s > 0) {
                const GrowthStage &before = c.stages[static_cast<std::size_t>(s - 1)];
                EXPECT_GT(stage.end_day, before.end_day) << stage.name;
                EXPECT_GT(stage.end_gdd, before.end_gdd) << stage.name;
            }
        }
        EXPECT_EQ(c.stages[0].flag, StagePlanting);
        EXPECT_EQ(c.stages[static_cast<std::size_t>(c.stage_count - 1)].flag, StageHarvest);
        // One Planting; each cutting cycle stored (the first, and a perennial's later one when
        // it differs) has one of each other flag.
        const std::size_t cycles = flags.count(StageHarvest);
        EXPECT_EQ(flags.count(StagePlanting), 1u);
        for (const std::int32_t flag : {StageEmergence, StageFullCover, StageStopIrrigating})
            EXPECT_EQ(flags.count(flag), cycles) << flag;
        ASSERT_LE(cycles, static_cast<std::size_t>(c.max_harvests));
        // The cycle repeated for the cuttings left fits in the 50 stages a crop holds.
        const int stored = static_cast<int>(cycles);
        const int repeated = (c.stage_count - 1) / stored;
        EXPECT_LE(c.stage_count + (c.max_harvests - stored) * repeated, 50);
        EXPECT_GT(c.max_root_depth, c.planting_depth);
        EXPECT_LT(c.gdd_min_temp, c.gdd_max_temp);
    }
}

// Potatoes (FAO-56: 45/30/70/20 days; Kc 0.50, 1.15, 0.75 on grass) on the alfalfa reference:
// the fitted curves start, peak and end near the tables' values divided by 1.2.
TEST(CompleteCrops, CoefficientCurvesFollowTheTables)
{
    const std::vector<CropRecord> crops = complete_crops();
    const CropRecord &potatoes = named(crops, "POTATOES");
    EXPECT_NEAR(kc(potatoes.kc_before, 0.0), 0.50 / 1.2, 0.05);
    EXPECT_NEAR(kc(potatoes.kc_before, 45.0 / 75.0), 0.50 / 1.2, 0.06);
    EXPECT_NEAR(kc(potatoes.kc_before, 1.0), 1.15 / 1.2, 0.05);
    EXPECT_NEAR(kc(potatoes.kc_after, 0.0), 1.15 / 1.2, 0.05);
    EXPECT_NEAR(kc(potatoes.kc_after, 90.0), 0.75 / 1.2, 0.05);
    for (const CropRecord &c : complete_crops()) {
        SCOPED_TRACE(c.name);
        const auto full_cover_stage =
            std::find_if(c.stages.begin(), c.stages.end(),
                         [](const GrowthStage &g) { return g.flag == StageFullCover; });
        const float full_cover = full_cover_stage->end_day;
        const float harvest = c.stages[static_cast<std::size_t>(c.stage_count - 1)].end_day;
        for (double x = 0.0; x <= 1.0; x += 0.05) {
            EXPECT_GT(kc(c.kc_before, x), 0.0);
            EXPECT_LT(kc(c.kc_before, x), 1.1);
        }
        for (double r = 0.0; r <= harvest - full_cover; r += 1.0) {
            EXPECT_GT(kc(c.kc_after, r), 0.0);
            EXPECT_LT(kc(c.kc_after, r), 1.1);
        }
    }
}

// Alfalfa's first cutting cycle grows from spring green-up (FAO-56 Table 11, Idaho: 10/30/25/10
// days, harvest on day 75); the later ones regrow in 5/20/10/10 days, a cutting every 45 days.
TEST(CompleteCrops, AlfalfaStoresItsFirstCuttingAndTheLaterOne)
{
    const std::vector<CropRecord> crops = complete_crops();
    const CropRecord &alfalfa = named(crops, "ALFALFA");
    std::vector<float> harvests;
    for (std::int32_t s = 0; s < alfalfa.stage_count; ++s) {
        const GrowthStage &stage = alfalfa.stages[static_cast<std::size_t>(s)];
        if (stage.flag == StageHarvest)
            harvests.push_back(stage.end_day);
    }
    EXPECT_EQ(harvests, (std::vector<float>{75.0f, 120.0f}));
    EXPECT_EQ(alfalfa.stages[7].name, "Regrow");
    EXPECT_EQ(alfalfa.stages[7].end_day, 75.0f + 3.0f);
}

// What the consultation reads from every crop but CORN: the guides' own units and rates, and the
// new-crop template's B0 and efficiencies, which the guides do not give.
TEST(CompleteCrops, EveryCropCarriesItsOwnFertility)
{
    const CropRecord corn = default_corn_record();
    const std::vector<std::string_view> units = {"BU/Acre", "CWT/Acre", "Tons/Acre"};
    for (const CropRecord &c : complete_crops()) {
        if (c.name == "CORN")
            continue;
        SCOPED_TRACE(c.name);
        EXPECT_NE(std::find(units.begin(), units.end(), c.yield_units), units.end());
        // Only legumes fix their own nitrogen.
        const bool legume = c.name == "ALFALFA" || c.name == "SOYBEANS";
        EXPECT_EQ(c.n_requirement == 0.0f, legume);
        EXPECT_GT(c.average_yield, 0);
        EXPECT_GT(c.plant_population, 0);
        // A richer soil test never pays more.
        EXPECT_GE(c.p_levels[0], c.p_levels[1]);
        EXPECT_GE(c.p_levels[1], c.p_levels[2]);
        EXPECT_GE(c.k_levels[0], c.k_levels[1]);
        EXPECT_GE(c.k_levels[1], c.k_levels[2]);
        EXPECT_NE(c.p_levels, corn.p_levels);
        EXPECT_EQ(c.yield_b0, -12.7f);
        EXPECT_EQ(c.efficiency, corn.efficiency);
    }
}

struct MissingCropDb : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    ~MissingCropDb() override { set_offer_complete_crops(false); }
};

// The windows ask after the notice; the answer decides what the new crop.db holds.
TEST_F(MissingCropDb, TheOfferedCompleteDatabaseIsWrittenOnYesOnly)
{
    set_offer_complete_crops(true);
    messages->queue_answer(false);
    EXPECT_EQ(load_crops().size(), 1u);
    ASSERT_EQ(messages->texts().size(), 2u);
    EXPECT_EQ(messages->texts()[1], kCompleteCropsOffer);
    std::filesystem::remove(work_file("crop.db"));
    messages->queue_answer(true);
    EXPECT_EQ(load_crops().size(), 13u);
    EXPECT_EQ(size_of_file(work_file("crop.db")), 13 * kCropRecordSize);
    // No question without the offer (the command line's default).
    set_offer_complete_crops(false);
    std::filesystem::remove(work_file("crop.db"));
    messages->clear();
    EXPECT_EQ(load_crops().size(), 1u);
    EXPECT_EQ(messages->texts().size(), 1u);
}

} // namespace
} // namespace tw
