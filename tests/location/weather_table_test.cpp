#include "location/weather_table.h"

#include "location/location_doc.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <limits>

namespace tw {
namespace {

TEST(WeatherTable, HeadersCarryTheDisplayUnits)
{
    test::ScopedSettings settings;
    EXPECT_EQ(weather_table_headers(),
              (std::vector<std::string>{"     Date", "Rain(in)", "Tmin(\u00B0F)", "Tmax(\u00B0F)",
                                        "SolarRad(cal/cm2 day)", "Min RH(%)", "Max RH(%)",
                                        "WindSpd(mi/day)", "Etr(in)"}));
    settings->depth_unit = 0;
    settings->radiation_unit = 0;
    EXPECT_EQ(weather_table_headers()[1], "Rain(mm)");
    EXPECT_EQ(weather_table_headers()[4], "SolarRad(MJ/m2 day)");
}

TEST(WeatherTable, RowTextsInDisplayUnits)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    loc.start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
    WeatherDay &d = loc.day(2);
    d.has_data = 1;
    d.t_min = 10.0f;
    d.t_max = 30.0f;
    d.rh_min = 0.57f;
    d.rh_max = 0.999f;
    d.solar_radiation = 600.0f;
    d.wind_run = 160.937f;
    d.rain = 25.4f;
    d.etr_used = 7.62f;
    EXPECT_EQ(weather_row_texts(loc, 2),
              (std::vector<std::string>{"05/03/22", "1.0", "50.0", "86.0", "600.0", "57", "99",
                                        "100.0", "0.30"}));
    EXPECT_EQ(weather_row_mark(d), DayMark::Rain);
    d.has_data = 0;
    EXPECT_EQ(weather_row_mark(d), DayMark::NoData);
}

TEST(WeatherTable, RainBelowTwoAndAHalfMillimetresIsNotShown)
{
    test::ScopedSettings settings;
    settings->depth_unit = 0;
    CLocationDoc loc;
    struct Case
    {
        float rain;
        const char *cell;
        DayMark mark;
    };
    for (const Case c : {Case{2.4f, "", DayMark::None}, Case{2.5f, "2.5", DayMark::Rain},
                         Case{0.0f, "", DayMark::None}}) {
        loc.day(0).has_data = 1;
        loc.day(0).rain = c.rain;
        EXPECT_EQ(weather_row_texts(loc, 0)[1], c.cell) << c.rain;
        EXPECT_EQ(weather_row_mark(loc.day(0)), c.mark) << c.rain;
    }
}

TEST(WeatherTable, VisibleColumnsFollowTheEquation)
{
    struct Case
    {
        std::int32_t method;
        const char *visible; // one mark per column
    };
    const Case cases[] = {{KimberlyPenman, "XXXXXXXXX"},
                          {StandardizedPenman, "XXXXXXXXX"},
                          {JensenHaise, "XXXXX...X"},
                          {Hargreaves, "XXXXX...X"},
                          {EtrDirect, "XX......X"}};
    for (const Case &c : cases) {
        for (int column = 0; column < kWeatherColumns; ++column) {
            const bool visible = c.visible[column] == 'X';
            EXPECT_EQ(weather_column_visible(c.method, column), visible) << c.method << column;
            EXPECT_EQ(weather_column_width(c.method, column, 60),
                      visible ? (column == 0 ? 100 : 75) : 0);
        }
    }
    EXPECT_FALSE(weather_column_visible(KimberlyPenman, kWeatherColumns));
}

TEST(WeatherTable, WholePercentShowsEveryTypedPercentAgain)
{
    for (int percent = 0; percent <= 100; ++percent)
        ASSERT_EQ(whole_percent(static_cast<float>(percent) / 100.0f), percent);
    EXPECT_EQ(whole_percent(0.999f), 99);
    EXPECT_EQ(whole_percent(0.855f), 85);
    EXPECT_EQ(whole_percent(-0.5f), -50);
    EXPECT_EQ(whole_percent(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(whole_percent(1e30f), 0);
}

} // namespace
} // namespace tw
