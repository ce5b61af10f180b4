#include "location/reference_et.h"

#include "location/location_doc.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tw {
namespace {

// A Greeley, Colorado station (1425 m, 40.3915 N) whose season starts on 1 January 2022, so that
// day index i is day of year i + 1.
void greeley(CLocationDoc &loc, std::int32_t et_method)
{
    loc.start_date = StoredDate::from_day(serial_from_civil(2022, 1, 1));
    loc.days.assign(365, WeatherDay{});
    loc.et_method = et_method;
    loc.elevation = 1425.0f;
    loc.latitude = 40.3915f;
    loc.pressure = 860.0f;
    loc.anemometer_height = 2.0f;
    loc.jh_ct = 0.025080983f;
    loc.jh_tx = -9.6472635f;
    loc.reference_type = 2;
}

WeatherDay weather(float t_min, float t_max, float rh_min, float rh_max, float rs, float wind)
{
    WeatherDay d;
    d.has_data = 1;
    d.t_min = t_min;
    d.t_max = t_max;
    d.rh_min = rh_min;
    d.rh_max = rh_max;
    d.solar_radiation = rs;
    d.wind_run = wind;
    return d;
}

float etr_of(CLocationDoc &loc, int i)
{
    EXPECT_TRUE(loc.compute_day(i, true));
    EXPECT_EQ(loc.day(i).etr, loc.day(i).etr_used);
    return loc.day(i).etr_used;
}

// Three measured days of 2022 at Greeley (Srad × 23.892 langley, wind m/s × 86.4 km/day). The
// expected values are an independent double-precision evaluation of the equations on the same
// single-precision inputs and preferences; the tolerance covers the float result (~1e-6).
TEST(ReferenceEt, AllFourEquationsAgreeWithHandCalculations)
{
    test::ScopedSettings settings;
    struct Case
    {
        int doy;
        float anemometer;
        double kimberly, tall, grass_adjusted, jensen_haise, hargreaves;
    };
    const Case cases[] = {
        {146, 2.0f, 7.9174561, 8.4608940, 6.0152621, 6.8302898, 6.6037641},
        {146, 3.0f, 7.6905356, 8.2122474, 5.8973588, 6.8302898, 6.6037641},
        {200, 2.0f, 7.6465359, 8.2031790, 6.2686770, 9.2651169, 7.1036184},
        {200, 3.0f, 7.4920121, 7.9262298, 6.1234083, 9.2651169, 7.1036184},
        {250, 2.0f, 6.0693125, 6.0493894, 4.5790925, 7.8629638, 6.1668051},
        {250, 3.0f, 5.9594412, 5.8314316, 4.4629871, 7.8629638, 6.1668051},
    };
    const auto day_of = [](int doy) {
        switch (doy) {
        case 146: return weather(2.04f, 23.86f, 0.143f, 0.909f, 711.03f, 254.88f);
        case 200: return weather(18.33f, 38.57f, 0.127f, 0.798f, 563.61f, 120.96f);
        default: return weather(11.49f, 36.64f, 0.096f, 0.813f, 542.83f, 81.22f);
        }
    };
    constexpr double kTolerance = 1e-5;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "day " << c.doy << ", anemometer " << c.anemometer);
        CLocationDoc loc;
        greeley(loc, KimberlyPenman);
        loc.anemometer_height = c.anemometer;
        const int i = c.doy - 1;
        loc.day(i) = day_of(c.doy);
        EXPECT_NEAR(etr_of(loc, i), c.kimberly, kTolerance);
        loc.et_method = StandardizedPenman;
        EXPECT_NEAR(etr_of(loc, i), c.tall, kTolerance);
        loc.reference_type = 1;
        loc.delta_t = 3.0f;
        loc.k_zero = 1.0f;
        EXPECT_NEAR(etr_of(loc, i), c.grass_adjusted, kTolerance);
        loc.et_method = JensenHaise;
        EXPECT_NEAR(etr_of(loc, i), c.jensen_haise, kTolerance);
        loc.et_method = Hargreaves;
        EXPECT_NEAR(etr_of(loc, i), c.hargreaves, kTolerance);
    }
}

TEST(ReferenceEt, StationHelpersAgreeWithHandCalculations)
{
    test::ScopedSettings settings;
    const JensenHaiseCoefficients jh = jensen_haise_coefficients(1425.0f, 13.0f, 32.0f);
    EXPECT_NEAR(jh.ct, 0.025080983, 1e-8);
    EXPECT_NEAR(jh.tx, -9.6472631, 1e-5);
    // 1013 - 0.1152 z + 5.44e-6 z²: near the 863 mb a 1421 m station is given, not 959.
    EXPECT_NEAR(pressure_from_elevation(1425.0f), 859.8866, 1e-3);
    EXPECT_NEAR(pressure_from_elevation(1421.0f), 860.2855, 1e-3);
    EXPECT_FLOAT_EQ(pressure_from_elevation(0.0f), 1013.0f);
    EXPECT_NEAR(es_mb(20.0), 23.380843, 1e-6);
    EXPECT_NEAR(latent_heat(20.0), 586.02, 1e-9);
}

TEST(ReferenceEt, EqualWarmMonthTemperaturesDoNotDivideByZero)
{
    test::ScopedSettings settings;
    // e2 - e1 = 0: CH is taken as 0, so Ct = 1 / C1.
    const JensenHaiseCoefficients jh = jensen_haise_coefficients(0.0f, 20.0f, 20.0f);
    EXPECT_FLOAT_EQ(jh.ct, 1.0f / 38.0f);
    EXPECT_FLOAT_EQ(jh.tx, -2.5f);
}

TEST(ReferenceEt, CloudCoverDimsTheClearSkyRadiation)
{
    test::ScopedSettings settings;
    struct Case
    {
        int doy;
        double clear;
    };
    for (const Case c : {Case{172, 808.1050}, Case{355, 208.5572}}) {
        SCOPED_TRACE(c.doy);
        const float clear = radiation_from_cloud_cover(0, c.doy, 40.3915f, 1425.0f);
        EXPECT_NEAR(clear, c.clear, 1e-3);
        EXPECT_NEAR(radiation_from_cloud_cover(4, c.doy, 40.3915f, 1425.0f), 0.2 * clear, 1e-3);
        EXPECT_NEAR(radiation_from_cloud_cover(2, c.doy, 40.3915f, 1425.0f), 0.8 * clear, 1e-3);
    }
    // Beyond the polar circles the sun neither sets nor rises: still a number.
    EXPECT_TRUE(std::isfinite(radiation_from_cloud_cover(0, 172, 80.0f, 0.0f)));
    EXPECT_NEAR(radiation_from_cloud_cover(0, 355, 80.0f, 0.0f), 0.0, 1e-3);
}

TEST(ReferenceEt, HargreavesWindBands)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    greeley(loc, Hargreaves);
    const WeatherDay base = weather(10.0f, 30.0f, 0.0f, 0.0f, 600.0f, 0.0f);
    // (0.1485 / λ) × Rs × (T + 17.8) with T = 20, λ = 586.02; only k changes with the wind.
    const double without_k = 0.1485 / 586.02 * 600.0 * 37.8;
    struct Case
    {
        float wind;
        double k;
    };
    const Case cases[] = {{0.0f, 1.066667},   {128.73f, 1.066667}, {128.74f, 1.133333},
                          {150.0f, 1.133333}, {193.11f, 1.133333}, {193.12f, 1.2},
                          {400.0f, 1.2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.wind);
        loc.day(0) = base;
        loc.day(0).wind_run = c.wind;
        EXPECT_NEAR(etr_of(loc, 0), without_k * c.k, 1e-5);
    }
}

TEST(ReferenceEt, KimberlyClampsTheWindOfItsWorkingCopyOnly)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    greeley(loc, KimberlyPenman);
    const auto etr_at_wind = [&](float wind) {
        loc.day(199) = weather(18.33f, 38.57f, 0.127f, 0.798f, 563.61f, wind);
        return etr_of(loc, 199);
    };
    const float at_limit = etr_at_wind(273.7f);
    EXPECT_GT(at_limit, etr_at_wind(250.0f));
    EXPECT_EQ(etr_at_wind(400.0f), at_limit);
    EXPECT_EQ(loc.day(199).wind_run, 400.0f);
}

TEST(ReferenceEt, FinalChoiceAndDaysWithoutData)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    greeley(loc, KimberlyPenman);
    loc.day(199) = weather(18.33f, 38.57f, 0.127f, 0.798f, 563.61f, 120.96f);
    EXPECT_GT(etr_of(loc, 199), 6.0f);
    loc.day(199).alternate_etr = 4.0f;
    EXPECT_EQ(etr_of(loc, 199), 4.0f);

    loc.et_method = EtrDirect;
    EXPECT_EQ(etr_of(loc, 199), 4.0f);
    loc.day(199).alternate_etr = 0.0f;
    EXPECT_EQ(etr_of(loc, 199), 0.0f);
    loc.day(10).alternate_etr = 5.0f;
    loc.day(10).has_data = 1;
    EXPECT_EQ(etr_of(loc, 10), 5.0f);

    // A day without data keeps whatever it holds.
    WeatherDay &idle = loc.day(20);
    idle = weather(10.0f, 20.0f, 0.3f, 0.9f, 500.0f, 100.0f);
    idle.has_data = 0;
    idle.etr = 1.5f;
    idle.etr_used = 2.5f;
    EXPECT_FALSE(loc.compute_day(20, true));
    EXPECT_EQ(idle.etr, 1.5f);
    EXPECT_EQ(idle.etr_used, 2.5f);
    EXPECT_FALSE(loc.compute_day(-1, true));
    EXPECT_FALSE(loc.compute_day(365, true));
    EXPECT_EQ(final_etr(6.1f, 4.0f), 4.0f);
    EXPECT_EQ(final_etr(6.1f, 0.0f), 6.1f);
}

TEST(ReferenceEt, SoilHeatNeedsThreeDaysOfDataBefore)
{
    test::ScopedSettings settings;
    settings->soil_heat_method = 2;
    CLocationDoc loc;
    greeley(loc, KimberlyPenman);
    // Mean temperatures 20, 22, 24, 26, 18, 20, ...
    for (int i = 0; i < 10; ++i) {
        const float t = i < 4 ? 20.0f + 2.0f * i : 18.0f + 2.0f * (i - 4);
        loc.day(i) = weather(t - 5.0f, t + 5.0f, 0.2f, 0.8f, 500.0f, 150.0f);
    }
    EXPECT_EQ(soil_heat(loc, 3, *settings), 0.0); // index below 4
    EXPECT_NEAR(soil_heat(loc, 4, *settings), 9.0 * ((22.0 + 24.0 + 26.0) / 3.0 - 18.0), 1e-9);
    EXPECT_NEAR(soil_heat(loc, 5, *settings), 9.0 * ((24.0 + 26.0 + 18.0) / 3.0 - 20.0), 1e-9);
    loc.day(6).has_data = 0;
    for (const int i : {7, 8, 9})
        EXPECT_EQ(soil_heat(loc, i, *settings), 0.0) << i;
    settings->soil_heat_method = 1;
    EXPECT_EQ(soil_heat(loc, 5, *settings), 0.0);

    // G' enters Kimberly Penman as (10/λ) W G' and the Standardized Penman as -0.408 Δ G'/23.892
    // over its denominator: both move the ETr, in opposite directions for a positive G'.
    settings->soil_heat_method = 1;
    const float kimberly_without = etr_of(loc, 4);
    loc.et_method = StandardizedPenman;
    const float standardized_without = etr_of(loc, 4);
    settings->soil_heat_method = 2;
    EXPECT_GT(etr_of(loc, 4), 0.0f);
    EXPECT_LT(loc.day(4).etr, standardized_without);
    loc.et_method = KimberlyPenman;
    EXPECT_GT(etr_of(loc, 4), kimberly_without);
}

TEST(ReferenceEt, StandardizedPenmanReferenceConstantsAndTemperatureAdjustment)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    greeley(loc, StandardizedPenman);
    loc.day(199) = weather(18.33f, 38.57f, 0.127f, 0.798f, 563.61f, 120.96f);
    loc.reference_type = 0;
    const float none = etr_of(loc, 199);
    loc.reference_type = 1;
    EXPECT_EQ(etr_of(loc, 199), none);
    loc.reference_type = 7;
    const float other = etr_of(loc, 199);
    loc.reference_type = 2;
    EXPECT_EQ(etr_of(loc, 199), other);
    EXPECT_NE(none, other);

    // DeltaT - Kzero = 4 lowers both temperatures by 2 degrees and leaves the humidities alone:
    // the same ETr as the unadjusted day 2 degrees cooler.
    loc.delta_t = 5.0f;
    loc.k_zero = 1.0f;
    const float adjusted = etr_of(loc, 199);
    EXPECT_TRUE(std::isfinite(adjusted));
    loc.delta_t = loc.k_zero = 0.0f;
    loc.day(199).t_min -= 2.0f;
    loc.day(199).t_max -= 2.0f;
    EXPECT_NEAR(etr_of(loc, 199), adjusted, 1e-5);
    EXPECT_NEAR(loc.day(199).t_min, 16.33f, 1e-5);
}

TEST(ReferenceEt, DegenerateStationsYieldNumbers)
{
    test::ScopedSettings settings;
    // No pressure, no anemometer height, an elevation above the air, a latent heat of 0: every
    // equation still gives a finite ETr.
    for (const std::int32_t method :
         {KimberlyPenman, StandardizedPenman, JensenHaise, Hargreaves}) {
        SCOPED_TRACE(method);
        CLocationDoc loc;
        greeley(loc, method);
        loc.pressure = 0.0f;
        loc.anemometer_height = -1.0f;
        loc.elevation = 60000.0f;
        loc.day(0) = weather(1059.0f, 1059.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        loc.day(1) = weather(0.0f, 0.0f, -0.5f, -0.5f, 0.0f, 100.0f);
        EXPECT_TRUE(std::isfinite(etr_of(loc, 0)));
        EXPECT_TRUE(std::isfinite(etr_of(loc, 1)));
    }
}

} // namespace
} // namespace tw
