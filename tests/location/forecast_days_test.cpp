#include "location/forecast_days.h"

#include "location/csv_weather.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "location/weather_table.h"
#include "platform/dates.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

constexpr std::string_view kMap = "date=Date,t_max=Tmax[C],t_min=Tmin[C],rh_max=RHx[percent],"
                                  "rh_min=RHn[percent],solar=Rs[MJ/m2],wind=U[km/day],"
                                  "rain=P[mm],etr=ETr[mm]";
constexpr std::string_view kHeader = "Date,Tmax,Tmin,RHx,RHn,Rs,U,P,ETr\n";

// Greeley's days of 2022-07-01 .. 07-04 (the demo's weather) and a forecast for 07-03 .. 07-07
// whose 07-06 comes with an ETr of its own.
constexpr std::string_view kActual = "2022-07-01,33.4,14.2,91,14,28.1,150.3,0,\n"
                                     "2022-07-02,31.7,15.0,88,18,26.9,132.4,0,\n"
                                     "2022-07-03,34.9,13.8,90,12,29.0,160.2,0,\n"
                                     "2022-07-04,35.2,16.1,85,15,27.5,141.0,0,\n";
constexpr std::string_view kForecast = "2022-07-03,30.0,12.0,90,20,25.0,120.0,0,\n"
                                       "2022-07-05,35.6,19.9,74,17,25.2,159.0,0,\n"
                                       "2022-07-06,33.8,18.4,87,20,22.7,126.1,6.5,5.25\n"
                                       "2022-07-07,35.5,15.4,88,14,29.6,125.3,0,\n";

struct Forecast : ::testing::Test
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    CLocationDoc loc;
    CsvWeatherMap map = *parse_csv_weather_map(kMap).map;

    void SetUp() override
    {
        loc.start_date = StoredDate::from_day(serial_from_civil(2022, 7, 1));
        loc.days.assign(20, WeatherDay{});
        loc.latitude = 40.45f;
        loc.elevation = 1427.0f;
        loc.pressure = 859.9f;
        ASSERT_EQ(imported_days(import_csv_weather_text(
                      loc, map, std::string(kHeader) + std::string(kActual), false)),
                  4);
        loc.set_modified(false);
    }
};

TEST_F(Forecast, OnlyDaysAfterTheLastDayWithDataAreKeptWithTheirOwnEt)
{
    ASSERT_EQ(import_csv_forecast_text(loc, map, std::string(kHeader) + std::string(kForecast)), 3);
    EXPECT_TRUE(loc.is_modified());
    EXPECT_EQ(last_day_with_data(loc), 3); // forecast days are not days with data
    // 07-03 has actual weather: its forecast is not taken; 07-05 is day 4.
    EXPECT_EQ(forecast_day(loc, 2), nullptr);
    EXPECT_EQ(loc.day(2).t_max, 34.9f);
    EXPECT_EQ(loc.forecast.first, 4);
    for (const int i : {4, 5, 6})
        ASSERT_NE(forecast_day(loc, i), nullptr) << i;
    EXPECT_EQ(forecast_day(loc, 7), nullptr);
    EXPECT_EQ(forecast_day(loc, 5)->rain, 6.5f);

    // Each forecast ETr is the one the same values get as actual weather on that day, and an ETr
    // the forecast gives is taken as given.
    CLocationDoc actual;
    copy_stored_values(loc, actual);
    ASSERT_EQ(imported_days(import_csv_weather_text(
                  actual, map, std::string(kHeader) + std::string(kForecast), false)),
              3);
    for (const int i : {4, 5, 6})
        EXPECT_EQ(forecast_day(loc, i)->etr_used, actual.day(i).etr_used) << i;
    EXPECT_EQ(forecast_day(loc, 5)->etr_used, 5.25f);
    EXPECT_GT(forecast_day(loc, 4)->etr_used, 5.0f);
}

TEST_F(Forecast, ActualWeatherReplacesItsForecastAndOtherSettingsRecomputeIt)
{
    ASSERT_EQ(import_csv_forecast_text(loc, map, std::string(kHeader) + std::string(kForecast)), 3);
    const float penman = forecast_day(loc, 6)->etr_used;
    ASSERT_EQ(imported_days(import_csv_weather_text(loc, map,
                                                    std::string(kHeader) + "2022-07-05,30,10,80,20,"
                                                                           "20,100,0,\n",
                                                    false)),
              1);
    EXPECT_EQ(forecast_day(loc, 4), nullptr);
    EXPECT_EQ(loc.day(4).t_max, 30.0f);
    EXPECT_EQ(loc.forecast.first, 5);
    EXPECT_EQ(loc.forecast.days.size(), 2u);

    // A change of equation reaches the forecast days as it reaches the actual ones.
    loc.et_method = Hargreaves;
    loc.recompute_all();
    ASSERT_NE(forecast_day(loc, 6), nullptr);
    EXPECT_NE(forecast_day(loc, 6)->etr_used, 0.0f);
    EXPECT_NE(forecast_day(loc, 6)->etr_used, penman);
    EXPECT_EQ(forecast_day(loc, 5)->etr_used, 5.25f);

    // A shorter season drops the forecast beyond it.
    loc.days.resize(6);
    loc.recompute_all();
    EXPECT_EQ(loc.forecast.days.size(), 1u);
    EXPECT_EQ(forecast_day(loc, 6), nullptr);
}

TEST_F(Forecast, TheWeatherTableShowsForecastDaysDistinctly)
{
    const TextTable without = weather_text_table(loc);
    ASSERT_EQ(import_csv_forecast_text(loc, map, std::string(kHeader) + std::string(kForecast)), 3);
    const TextTable with = weather_text_table(loc);
    EXPECT_EQ(with.rows[3], without.rows[3]);
    EXPECT_EQ(with.rows[7], without.rows[7]);
    EXPECT_EQ(weather_row_mark(loc, 3), DayMark::None);
    EXPECT_EQ(weather_row_mark(loc, 7), DayMark::NoData);
    EXPECT_EQ(weather_row_mark(loc, 4), DayMark::Forecast);
    EXPECT_EQ(with.rows[4][0], "07/05/22 (forecast)");
    EXPECT_EQ(with.rows[4][3], "96.1"); // 35.6 °C in the default Fahrenheit
    EXPECT_EQ(with.rows[5][8], "0.21"); // the forecast's own 5.25 mm in inches
    EXPECT_EQ(day_mark_meaning(DayMark::Forecast), "Forecast weather, not yet a day with data");
}

TEST_F(Forecast, AFileWithoutLaterDaysOrColumnsChangesNothing)
{
    const std::vector<std::uint8_t> before = encode_location(loc);
    EXPECT_EQ(import_csv_forecast_text(loc, map, std::string(kHeader) + std::string(kActual)), 0);
    EXPECT_EQ(import_csv_forecast_text(loc, map, "Day,High\n2022-07-05,30\n"), -1);
    EXPECT_EQ(encode_location(loc), before);
    EXPECT_FALSE(loc.is_modified());
    EXPECT_TRUE(loc.forecast.empty());
}

} // namespace
} // namespace tw
