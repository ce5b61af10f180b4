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
        return daily_step(field.season_inputs(RunSettings::current()), field.season, d);
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
        EXPECT_NEAR(dry->season.days[8].deficit - wet->season.days[8].deficit, c.effective_mm, 1e-3)
            << c.system;
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
        field->season.days[4].deficit = c.previous;
        field->season.days[5].rain = c.rain;
        ASSERT_EQ(step(*field, 5), 1);
        const FieldDay &t = field->season.days[5];
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
    field->season.days[4].deficit = 5.0f;
    field->season.days[5].rain = 40.0f;
    step(*field, 5);
    const float surplus = field->season.days[5].deficit;
    ASSERT_LT(surplus, 0.0f);
    EXPECT_EQ(field->season.days[5].deep_percolation, 0.0f);
    step(*field, 6);
    const FieldDay &next = field->season.days[6];
    EXPECT_NEAR(next.deep_percolation, -surplus - next.crop_et, 1e-4);
    EXPECT_EQ(next.deficit, 0.0f);
}

// Only a surplus drains: a soil at exactly field capacity keeps a day's rain above it until the
// next day, and the planting day's surplus does not drain on day 1.
TEST_F(WaterBalance, DrainageStartsBeyondFieldCapacity)
{
    const struct
    {
        int day;
        float previous, rain;
        bool drains;
    } cases[] = {{6, 0.0f, 20.0f, false},
                 {6, -0.5f, 20.0f, true},
                 {1, -5.0f, 20.0f, false},
                 {2, -5.0f, 20.0f, true}};
    for (const auto &c : cases) {
        auto location = test::make_location(40, 40);
        auto field = deep_rooted_field(*location);
        field->season.days[static_cast<std::size_t>(c.day - 1)].deficit = c.previous;
        field->season.days[static_cast<std::size_t>(c.day)].rain = c.rain;
        step(*field, c.day);
        const FieldDay &t = field->season.days[static_cast<std::size_t>(c.day)];
        EXPECT_EQ(t.deep_percolation > 0.0f, c.drains) << c.day << " " << c.previous;
        if (!c.drains) {
            EXPECT_NEAR(t.deficit, c.previous - (c.rain - t.crop_et), 1e-4) << c.day;
        }
    }
}

TEST_F(WaterBalance, DayZeroDeficitIgnoresDayZeroIrrigation)
{
    auto location = test::make_location(40, 40);
    auto field = test::make_field(*location, test::corn());
    field->season.days[0].gross_irrigation = 25.0f;
    field->season_run(0);
    EXPECT_NEAR(field->season.days[0].deficit, (0.3425f - 0.3f) * 50.0f, 1e-5);
    EXPECT_EQ(field->season.days[0].category, AdviceNone);
}

TEST_F(WaterBalance, CoefficientStaysWithinBoundsUntilHarvest)
{
    auto location = test::make_location(215, 215);
    for (int i = 3; i < 215; i += 9)
        location->day(i).rain = 5.0f;
    auto field = test::make_field(*location, test::corn());
    for (int d = 1; d <= 122; ++d) { // to the Harvest stage's end day
        const double k = field->season.days[static_cast<std::size_t>(d)].crop_et / 6.0;
        EXPECT_GE(k, 0.15 - 1e-6) << d;
        EXPECT_LE(k, 1.0 + 1e-6) << d;
    }
}

// After harvest only the soil evaporates: 0.8 x ETr for three days after an effective rain of
// more than 2 mm, nothing otherwise. Flood irrigation counts all rain, so the rain is the
// effective rain; 6 mm of ETr gives 4.8 mm.
TEST_F(WaterBalance, AfterHarvestOnlyAWetSoilEvaporates)
{
    const struct
    {
        int days_before;
        float rain;
        float crop_et;
    } cases[] = {{1, 2.0f, 0.0f}, {1, 2.01f, 4.8f}, {2, 2.0f, 0.0f},
                 {3, 2.0f, 0.0f}, {3, 2.5f, 4.8f},  {4, 2.5f, 0.0f}};
    for (const auto &c : cases) {
        auto location = test::make_location(215, 215);
        auto field = test::make_field(*location, test::corn(), 0, 0);
        field->season.days[150 - c.days_before].rain = c.rain;
        step(*field, 150);
        EXPECT_NEAR(field->season.days[150].crop_et, c.crop_et, 1e-6)
            << c.days_before << " " << c.rain;
    }
}

// Before harvest a wet soil adds evaporation from day 3 on: a wetting (effective irrigation and
// rain) of at least 5 mm the day before, 10 mm two days before or 15 mm three days before.
TEST_F(WaterBalance, WettingsAddEvaporationFromTheirThresholds)
{
    const auto crop_et = [&](int d, int days_before, float irrigation, float rain) {
        auto location = test::make_location(60, 60);
        auto field = test::make_field(*location, test::corn(), 0, 0);
        field->season.days[static_cast<std::size_t>(d - 1)].deficit = 0.0f; // no water stress
        FieldDay &wet = field->season.days[static_cast<std::size_t>(d - days_before)];
        wet.effective_irrigation = irrigation;
        wet.rain = rain;
        step(*field, d);
        return field->season.days[static_cast<std::size_t>(d)].crop_et;
    };
    const struct
    {
        int day, days_before;
        float irrigation, rain;
        bool evaporates;
    } cases[] = {
        {3, 1, 20.0f, 0.0f, true},   {10, 1, 5.0f, 0.0f, true},  {10, 1, 4.99f, 0.0f, false},
        {10, 1, 0.0f, 5.0f, true},   {10, 1, 2.5f, 2.5f, true},  {10, 2, 10.0f, 0.0f, true},
        {10, 2, 9.99f, 0.0f, false}, {10, 3, 15.0f, 0.0f, true}, {10, 3, 14.99f, 0.0f, false},
    };
    for (const auto &c : cases) {
        const float dry = crop_et(c.day, c.days_before, 0.0f, 0.0f);
        const float wet = crop_et(c.day, c.days_before, c.irrigation, c.rain);
        if (c.evaporates)
            EXPECT_GT(wet, dry + 0.1f) << c.day << " " << c.days_before << " " << c.irrigation;
        else
            EXPECT_EQ(wet, dry) << c.day << " " << c.days_before << " " << c.irrigation;
    }
}

// The crop coefficient follows the curve before full cover through the full-cover day itself,
// and the curve after it from the next day, by days or by degree days. A crop whose curves are
// 0.5 x (share of the way to full cover) and a constant 0.7 tells them apart: 3.0 or 4.2 mm of
// the 6 mm ETr.
TEST_F(WaterBalance, FullCoverDayAndDegreeDaysStillUseTheCurveBeforeCover)
{
    CropRecord crop = test::corn(); // full cover on day 80, at 760 degree days
    crop.kc_before = {0.0, 0.0, 0.5, 0.0};
    crop.kc_after = {0.0, 0.0, 0.0, 0.7};
    const struct
    {
        std::int32_t basis;
        int day;
        float gdd_before; ///< the day adds 10 degree days (28 and 12 C over a 10 C base)
        float crop_et;
    } cases[] = {
        {SeasonDays, 79, 0.0f, 2.9625f}, // 0.5 x 79/80 x 6
        {SeasonDays, 80, 0.0f, 3.0f},          {SeasonDays, 81, 0.0f, 4.2f},
        {GrowingDegreeDays, 76, 750.0f, 3.0f}, {GrowingDegreeDays, 76, 751.0f, 4.2f},
    };
    for (const auto &c : cases) {
        settings->crop_growth_basis = c.basis;
        auto location = test::make_location(120, 120);
        auto field = test::make_field(*location, crop, 0, 0);
        FieldDay &before = field->season.days[static_cast<std::size_t>(c.day - 1)];
        before.deficit = 0.0f;
        if (c.basis == GrowingDegreeDays)
            before.cum_gdd = c.gdd_before;
        step(*field, c.day);
        EXPECT_NEAR(field->season.days[static_cast<std::size_t>(c.day)].crop_et, c.crop_et, 1e-5)
            << c.basis << " " << c.day << " " << c.gdd_before;
    }
}

// Advice starts when the deficit reaches the allowable depletion, turns critical when it reaches
// the total available water, and stops after the Stop Irrigating day (120 for corn).
TEST_F(WaterBalance, AdviceChangesWhereTheDeficitReachesItsLimits)
{
    auto location = test::make_location(215, 215);
    auto field = test::make_field(*location, test::corn(), 0, 0);
    const auto category = [&](int d, auto deficit_of) {
        FieldDay &t = field->season.days[static_cast<std::size_t>(d)];
        t.sm_override = 1; // the deficit is the one set here
        step(*field, d);
        t.deficit = deficit_of(t);
        step(*field, d);
        return t.category;
    };
    const auto below = [](float limit) { return std::nextafter(limit, 0.0f); };
    EXPECT_EQ(category(60, [&](const FieldDay &t) { return below(t.allowable_depletion); }),
              AdviceNone);
    EXPECT_EQ(category(60, [](const FieldDay &t) { return t.allowable_depletion; }), AdviceNow);
    EXPECT_EQ(category(60, [&](const FieldDay &t) { return below(t.taw); }), AdviceNow);
    EXPECT_EQ(category(60, [](const FieldDay &t) { return t.taw; }), AdviceCritical);
    EXPECT_EQ(category(120, [](const FieldDay &t) { return t.allowable_depletion; }), AdviceNow);
    EXPECT_EQ(category(121, [](const FieldDay &t) { return t.taw; }), AdviceNone);
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
    EXPECT_EQ(field->season.days[0].cum_gdd, 0.0f);
    EXPECT_FLOAT_EQ(field->season.days[1].cum_gdd, 10.0f); // (28 + 12) / 2 - 10
}

TEST_F(WaterBalance, RootDepthModels)
{
    for (const std::int32_t model : {LinearRoots, NonLinearRoots}) {
        settings->root_depth_model = model;
        auto location = test::make_location(215, 215);
        auto field = test::make_field(*location, test::corn());
        for (const FieldDay &t : field->season.days)
            EXPECT_LE(t.root_depth, 1200.0f);
        EXPECT_EQ(field->season.days[80].root_depth, 1200.0f) << model;
        // Worked by hand from planting at 50 mm to 1200 mm at full cover on day 80; the depths are
        // floats of about 1e3, so 1e-3 mm is a few units of their last place.
        if (model == LinearRoots) {
            // Half way to full cover: 50 + (1200 - 50) x 40/80 = 625 mm.
            EXPECT_NEAR(field->season.days[40].root_depth, 625.0, 1e-3);
        } else {
            // Day 20 of 80: sin(3.03 x 0.25 - 1.47) = sin(-0.7125) = -0.653728;
            // (0.5 - 0.326864) x 1200 + 50 = 257.763 mm.
            EXPECT_NEAR(field->season.days[20].root_depth, 257.7634, 1e-3);
            // The curve reaches past the maximum before full cover: the depth stops there.
            EXPECT_EQ(field->season.days[79].root_depth, 1200.0f);
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
    field->season.cycles[0] = {0, 5, 8, 10, 0, 500, 900, 1000};
    field->season.cycles[1] = {0, 60, 90, 100, 0, 1500, 1900, 2000};
    field->season.days[19].root_depth = 100.0f;
    field->season.days[19].cum_gdd = 50.0f;
    step(*field, 20);
    // Day 20 of cycle 1's 60 days: sin(3.03 x 20/60 - 1.47) = sin(-0.46) = -0.443948;
    // (0.5 - 0.221974) x 1200 + 50 = 383.631 mm (cycle 0's full cover on day 5 would give 1200).
    EXPECT_NEAR(field->season.days[20].root_depth, 383.6311, 1e-3);
}

TEST_F(WaterBalance, UptakeFollowsTheStopDegreeDaysOfTheCycleByDays)
{
    settings->crop_growth_basis = GrowingDegreeDays;
    auto location = test::make_location(60, 60, {10.0f, 14.0f, 6.0f, 0.0f}); // 2 GDD a day
    CropRecord crop = test::short_crop();
    crop.max_harvests = 2;
    ASSERT_FALSE(expand_perennial(crop, true));
    auto field = test::make_field(*location, crop);
    field->seasonal_nitrogen = 150.0f;
    field->saved.nitrogen.soil_nitrogen = 80.0f;
    field->season_run(0);
    const FieldDay &t = field->season.days[40];
    ASSERT_FLOAT_EQ(t.cum_gdd, 82.0f);
    // Worked by hand: x = 82 / 620 = 0.132258 of cycle 1's Stop Irrigating degree days (cycle 0's
    // 300 would give x = 0.273); the uptake curve 2.252x^5 - 6.626x^4 + 4.661x^3 + 0.404x^2 +
    // 0.349x - 0.039 = 0.0230718 of the crop's need 150 x 1.55 x 0.9 lb/acre = 4.82777 lb/acre.
    // The uptake is a float of about 5, so 1e-4 is some ten units of its last place.
    EXPECT_NEAR(t.n_uptake, 4.82777, 1e-4);
}

TEST_F(WaterBalance, NitrateBalanceCarriesApplicationsAndLeaching)
{
    auto location = test::make_location(60, 60);
    auto field = test::make_field(*location, test::corn(), 0, 0);
    field->seasonal_nitrogen = 150.0f;
    field->saved.nitrogen.soil_nitrogen = 80.0f;
    field->season_run(0);
    EXPECT_EQ(field->season.days[0].nitrate_available, 80.0f);
    EXPECT_NEAR(field->season.days[0].lower_deficit, (0.3425f - 0.3f) * 1150.0f, 1e-3);
    const float before = field->season.days[10].nitrate_available;
    field->season.days[10].n_applied = 40.0f;
    field->season_run(0);
    EXPECT_NEAR(field->season.days[10].nitrate_available, before + 40.0f, 1e-3);
    for (const FieldDay &t : field->season.days)
        EXPECT_EQ(t.nitrate_leached, 0.0f); // nothing drains without water above capacity

    field->season.days[30].rain = 400.0f;
    field->season_run(0);
    EXPECT_GT(field->season.days[31].drainage, 0.0f);
    EXPECT_GT(field->season.days[31].nitrate_leached, 0.0f);
    EXPECT_EQ(
        field->season.cum_leached[31],
        truncate_to_int(field->season.cum_leached[30] + field->season.days[31].nitrate_leached));
}

TEST_F(WaterBalance, DisplayValuesByMode)
{
    for (const std::int32_t mode : {AvailableDepth, DeficitDisplay, ContentDisplay}) {
        settings->moisture_display = mode;
        auto location = test::make_location(60, 60);
        auto field = test::make_field(*location, test::corn());
        const FieldDay &t = field->season.days[30];
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
    const auto due = std::find_if(field->season.days.begin(), field->season.days.end(),
                                  [](const FieldDay &t) { return t.category == AdviceNow; });
    ASSERT_NE(due, field->season.days.end());
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
                field->saved.soil = {};
                field->saved.efficiency = 0.0f;
                field->seasonal_nitrogen = 100.0f;
                field->season_run(0);
                for (const FieldDay &t : field->season.days) {
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
