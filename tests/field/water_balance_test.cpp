#include "field/water_balance.h"

#include "field/season_run.h"
#include "field_fixtures.h"
#include "refdata/custom_settings.h"

#include <cmath>

namespace tw {
namespace {

using test::FieldTest;

class WaterBalance : public FieldTest
{
protected:
    /// Roots fixed at 1 m (TAW 209.2 mm) under flood irrigation, where all rain counts.
    std::unique_ptr<CFieldDoc> deep_rooted_field(CLocationDoc &location)
    {
        CropRecord crop = test::short_crop();
        crop.planting_depth = crop.max_root_depth = 1000.0f;
        return test::make_field(location, crop, 0, 0);
    }

    static int step(CFieldDoc &field, int d)
    {
        return daily_step(field, d, RunSettings::current());
    }
};

TEST_F(WaterBalance, EffectiveRainFactorFollowsTheApplicationDepth)
{
    const struct
    {
        float depth_in;
        double factor;
    } cases[] = {{5.0f, 1.0}, {0.5f, 0.66538}, {2.0f, 0.92172}, {1.2f, 0.80943}};
    for (const auto &c : cases)
        EXPECT_NEAR(effective_rain_factor(c.depth_in), c.factor, 5e-5) << c.depth_in;
}

TEST_F(WaterBalance, RainCountsByTheSystemsFactor)
{
    const struct
    {
        std::int32_t system;
        double effective_mm;
    } cases[] = {{0, 10.0}, {14, 6.654}, {5, 9.217}};
    for (const auto &c : cases) {
        auto location = test::make_location(40, 40);
        auto dry = test::make_field(*location, test::short_crop(), 0, c.system);
        location->day(8).rain = 10.0f;
        auto wet = test::make_field(*location, test::short_crop(), 0, c.system);
        EXPECT_NEAR(dry->days[8].deficit - wet->days[8].deficit, c.effective_mm, 1e-3) << c.system;
    }
}

TEST_F(WaterBalance, DeficitStepByPreviousDeficit)
{
    const float taw = 209.2f;
    const struct
    {
        float previous;
        float rain;
        const char *expect; // "taw", "zero", "grows"
        std::int32_t category;
    } cases[] = {
        {taw - 0.1f, 0.0f, "taw", AdviceCritical}, {-10.0f, 0.0f, "zero", AdviceNone},
        {20.0f, 0.0f, "grows", AdviceNone}, // allowable depletion 0.2 x TAW = 41.8 mm
        {110.0f, 0.0f, "grows", AdviceNow},        {5.0f, 40.0f, "grows", AdviceNone},
    };
    for (const auto &c : cases) {
        auto location = test::make_location(40, 40);
        auto field = deep_rooted_field(*location);
        field->days[4].deficit = c.previous;
        field->days[5].rain = c.rain;
        ASSERT_EQ(step(*field, 5), 1);
        const FieldDay &t = field->days[5];
        ASSERT_NEAR(t.taw, taw, 1e-3);
        const std::string expect = c.expect;
        if (expect == "taw") {
            EXPECT_EQ(t.deficit, t.taw);
        } else if (expect == "zero") {
            EXPECT_EQ(t.deficit, 0.0f);
            EXPECT_NEAR(t.deep_percolation, 10.0f - t.crop_et, 1e-4);
        } else {
            EXPECT_NEAR(t.deficit, c.previous + t.crop_et - c.rain, 1e-4);
        }
        EXPECT_EQ(t.category, c.category) << c.previous;
    }
}

TEST_F(WaterBalance, WaterAboveFieldCapacityDrainsTheNextDayToExactlyZero)
{
    auto location = test::make_location(40, 40);
    auto field = deep_rooted_field(*location);
    field->days[4].deficit = 5.0f;
    field->days[5].rain = 40.0f;
    step(*field, 5);
    const float surplus = field->days[5].deficit;
    ASSERT_LT(surplus, 0.0f);
    EXPECT_EQ(field->days[5].deep_percolation, 0.0f);
    step(*field, 6);
    const FieldDay &next = field->days[6];
    EXPECT_NEAR(next.deep_percolation, -surplus - next.crop_et, 1e-4);
    EXPECT_EQ(next.deficit, 0.0f);
}

TEST_F(WaterBalance, DayZeroDeficitIgnoresDayZeroIrrigation)
{
    auto location = test::make_location(40, 40);
    auto field = test::make_field(*location, test::corn());
    field->days[0].gross_irrigation = 25.0f;
    field->season_run(0);
    EXPECT_NEAR(field->days[0].deficit, (0.3425f - 0.3f) * 50.0f, 1e-5);
    EXPECT_EQ(field->days[0].category, AdviceNone);
}

TEST_F(WaterBalance, CoefficientStaysWithinBoundsAndOnlyEvaporationAfterHarvest)
{
    auto location = test::make_location(215, 215);
    for (int i = 3; i < 215; i += 9)
        location->day(i).rain = 5.0f;
    auto field = test::make_field(*location, test::corn());
    const double factor = effective_rain_factor(field->net_depth_in);
    int post_harvest_days = 0;
    for (int d = 1; d < field->day_count(); ++d) {
        const FieldDay &t = field->days[static_cast<std::size_t>(d)];
        const double k = t.crop_et / 6.0;
        if (d <= 122) { // the Harvest stage's end day
            EXPECT_GE(k, 0.15 - 1e-6) << d;
            EXPECT_LE(k, 1.0 + 1e-6) << d;
            continue;
        }
        ++post_harvest_days;
        bool wet = false;
        for (int j = d - 3; j < d; ++j)
            wet = wet || field->days[static_cast<std::size_t>(j)].rain * factor > 2.0;
        EXPECT_NEAR(k, wet ? 0.8 : 0.0, 1e-6) << d;
    }
    EXPECT_GT(post_harvest_days, 80);
}

TEST_F(WaterBalance, StressIsOneWithoutDeficitAndZeroFromTaw)
{
    const struct
    {
        float deficit, taw;
        double ks;
    } cases[] = {{0.0f, 100.0f, 1.0},
                 {100.0f, 100.0f, 0.0},
                 {150.0f, 100.0f, 0.0},
                 {50.0f, 0.0f, 1.0},
                 {50.0f, 100.0f, std::log(51.0) / std::log(101.0)}};
    for (const auto &c : cases)
        EXPECT_NEAR(water_stress(c.deficit, c.taw), c.ks, 1e-12) << c.deficit << "/" << c.taw;
}

TEST_F(WaterBalance, ColdPlantingDayDoesNotStartBelowZero)
{
    auto location = test::make_location(40, 40);
    location->day(0).t_max = 5.0f;
    location->day(0).t_min = -3.0f;
    auto field = test::make_field(*location, test::corn());
    EXPECT_EQ(field->days[0].cum_gdd, 0.0f);
    EXPECT_FLOAT_EQ(field->days[1].cum_gdd, 10.0f); // (28 + 12) / 2 - 10
}

TEST_F(WaterBalance, RootDepthModels)
{
    for (const std::int32_t model : {LinearRoots, NonLinearRoots}) {
        settings->root_depth_model = model;
        auto location = test::make_location(215, 215);
        auto field = test::make_field(*location, test::corn());
        for (const FieldDay &t : field->days)
            EXPECT_LE(t.root_depth, 1200.0f);
        EXPECT_EQ(field->days[80].root_depth, 1200.0f) << model;
        if (model == LinearRoots) {
            EXPECT_NEAR(field->days[40].root_depth, 1150.0 * 40 / 80 + 50, 1e-3);
        } else {
            EXPECT_NEAR(field->days[20].root_depth,
                        (0.5 + 0.5 * std::sin(3.03 * 20 / 80 - 1.47)) * 1200 + 50, 1e-3);
            // The curve reaches past the maximum before full cover: the depth stops there.
            EXPECT_EQ(field->days[79].root_depth, 1200.0f);
        }
    }
}

TEST_F(WaterBalance, NonLinearRootsFollowTheFullCoverDayOfTheCycleByDays)
{
    settings->crop_growth_basis = GrowingDegreeDays;
    settings->root_depth_model = NonLinearRoots;
    auto location = test::make_location(60, 60);
    CropRecord crop = test::short_crop();
    crop.max_harvests = 2;
    auto field = test::make_field(*location, crop);
    // Cycle 0 by degree days (little warmth so far), cycle 1 by days.
    field->cycles[0] = {0, 5, 8, 10, 0, 500, 900, 1000};
    field->cycles[1] = {0, 60, 90, 100, 0, 1500, 1900, 2000};
    field->days[19].root_depth = 100.0f;
    field->days[19].cum_gdd = 50.0f;
    step(*field, 20);
    EXPECT_NEAR(field->days[20].root_depth,
                (0.5 + 0.5 * std::sin(3.03 * 20 / 60 - 1.47)) * 1200 + 50, 1e-3);
}

TEST_F(WaterBalance, UptakeFollowsTheStopDegreeDaysOfTheCycleByDays)
{
    settings->crop_growth_basis = GrowingDegreeDays;
    auto location = test::make_location(60, 60, {10.0f, 14.0f, 6.0f, 0.0f}); // 2 GDD a day
    CropRecord crop = test::short_crop();
    crop.max_harvests = 2;
    ASSERT_FALSE(expand_perennial(crop, true));
    auto field = test::make_field(*location, crop);
    field->n4 = 150.0f;
    field->n2 = 80.0f;
    field->season_run(0);
    const FieldDay &t = field->days[40];
    ASSERT_FLOAT_EQ(t.cum_gdd, 82.0f);
    const double x = 82.0 / 620.0; // cycle 1's Stop Irrigating GDD; cycle 0 would give 300
    const double y = 2.252 * std::pow(x, 5) - 6.626 * std::pow(x, 4) + 4.661 * std::pow(x, 3) +
                     0.404 * x * x + 0.349 * x - 0.039;
    EXPECT_NEAR(t.n_uptake, std::max(0.0, 150 * 1.55 * 0.9 * y), 1e-3);
}

TEST_F(WaterBalance, NitrateBalanceCarriesApplicationsAndLeaching)
{
    auto location = test::make_location(60, 60);
    auto field = test::make_field(*location, test::corn(), 0, 0);
    field->n4 = 150.0f;
    field->n2 = 80.0f;
    field->season_run(0);
    EXPECT_EQ(field->days[0].nitrate_available, 80.0f);
    EXPECT_NEAR(field->days[0].lower_deficit, (0.3425f - 0.3f) * 1150.0f, 1e-3);
    const float before = field->days[10].nitrate_available;
    field->days[10].n_applied = 40.0f;
    field->season_run(0);
    EXPECT_NEAR(field->days[10].nitrate_available, before + 40.0f, 1e-3);
    for (const FieldDay &t : field->days)
        EXPECT_EQ(t.nitrate_leached, 0.0f); // nothing drains without water above capacity

    field->days[30].rain = 400.0f;
    field->season_run(0);
    EXPECT_GT(field->days[31].drainage, 0.0f);
    EXPECT_GT(field->days[31].nitrate_leached, 0.0f);
    EXPECT_EQ(field->cum_leached[31],
              truncate_to_int(field->cum_leached[30] + field->days[31].nitrate_leached));
}

TEST_F(WaterBalance, DisplayValuesByMode)
{
    for (const std::int32_t mode : {AvailableDepth, DeficitDisplay, ContentDisplay}) {
        settings->moisture_display = mode;
        auto location = test::make_location(60, 60);
        auto field = test::make_field(*location, test::corn());
        const FieldDay &t = field->days[30];
        const float expected[][2] = {
            {t.taw - t.deficit, t.taw - t.allowable_depletion},
            {t.deficit, t.allowable_depletion},
            {0.3425f - t.deficit / t.root_depth, 0.3425f - t.allowable_depletion / t.root_depth}};
        EXPECT_NEAR(t.soil_moisture, expected[mode][0], 1e-4) << mode;
        EXPECT_NEAR(t.critical, expected[mode][1], 1e-4) << mode;
    }
}

TEST_F(WaterBalance, IrrigationNeededRefillsTheDeficitThroughTheEfficiency)
{
    auto location = test::make_location(60, 60, {12.0f, 28.0f, 9.0f, 0.0f});
    auto field = test::make_field(*location, test::short_crop());
    const auto due = std::find_if(field->days.begin(), field->days.end(),
                                  [](const FieldDay &t) { return t.category == AdviceNow; });
    ASSERT_NE(due, field->days.end());
    EXPECT_NEAR(due->irrigation_needed, due->deficit / 0.7f, 1e-4);
    EXPECT_GE(due->deficit, due->allowable_depletion);
}

TEST_F(WaterBalance, ZeroDivisorsGiveFiniteDays)
{
    CropRecord flat = test::short_crop();
    for (int k = 0; k < flat.stage_count; ++k)
        flat.stages[static_cast<std::size_t>(k)].end_day = flat.stages[k].end_gdd = 0.0f;
    CropRecord rootless = test::corn();
    rootless.planting_depth = rootless.max_root_depth = 0.0f;
    CropRecord stageless = test::corn();
    stageless.stage_count = 0;
    for (const CropRecord &crop : {flat, rootless, stageless}) {
        for (const std::int32_t basis : {SeasonDays, GrowingDegreeDays}) {
            for (const std::int32_t model : {LinearRoots, NonLinearRoots}) {
                settings->crop_growth_basis = basis;
                settings->root_depth_model = model;
                settings->moisture_display = ContentDisplay;
                auto location = test::make_location(60, 60, {12.0f, 28.0f, 6.0f, 3.0f});
                auto field = test::make_field(*location, crop);
                field->soil = {};
                field->efficiency = 0.0f;
                field->n4 = 100.0f;
                field->season_run(0);
                for (const FieldDay &t : field->days) {
                    for (const float v :
                         {t.cum_gdd, t.root_depth, t.crop_et, t.taw, t.deficit, t.soil_moisture,
                          t.critical, t.irrigation_needed, t.lower_deficit, t.n_uptake,
                          t.nitrate_available, t.nitrate_leached})
                        ASSERT_TRUE(std::isfinite(v)) << crop.name << basis << model;
                }
            }
        }
    }
}

} // namespace
} // namespace tw
