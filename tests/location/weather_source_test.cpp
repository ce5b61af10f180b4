#include "location/weather_source.h"

#include "location/csv_presets.h"
#include "platform/dates.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(WeatherSource, TheAddressTakesTheStationAndTheDates)
{
    const int from = serial_from_civil(2022, 7, 4);
    EXPECT_EQ(source_url("https://x.example/{station}/daily.csv?start={from}&end={to}&again={from}",
                         "GLY04", from, from + 30),
              "https://x.example/GLY04/daily.csv?start=2022-07-04&end=2022-08-03&again=2022-07-04");
    // A station id never changes the address around it.
    EXPECT_EQ(source_url("https://x.example/?id={station}", "A&b=c/d ü", from, from),
              "https://x.example/?id=A%26b%3Dc%2Fd%20%C3%BC");
}

TEST(WeatherSource, ProblemsAreNamedWhereTheyAreTyped)
{
    const WeatherSource good{"https://x.example/?id={station}&from={from}&to={to}", "GLY04", "",
                             "date=Date,t_max=Tmax[C]", ""};
    EXPECT_EQ(weather_source_problem(good), "");
    const struct
    {
        const char *what;
        WeatherSource source;
        std::string problem;
    } cases[] = {
        {"no address", {"", "GLY04", "", "date=Date", ""}, "The weather source needs an address."},
        {"another scheme",
         {"ftp://x.example/{from}", "", "", "date=Date", ""},
         "The address must start with http:// or https://."},
        {"a misspelt placeholder",
         {"https://x.example/{form}", "", "", "date=Date", ""},
         "The address holds \"{form}\"; it takes {station}, {from} and {to}."},
        {"a station placeholder without a station",
         {"https://x.example/{station}", "", "", "date=Date", ""},
         "The address has {station} but no station is given."},
        {"the forecast address",
         {"https://x.example/", "", "", "date=Date", "file:///tmp/f.csv"},
         "The forecast address must start with http:// or https://."},
        {"preset and map",
         {"https://x.example/", "", "P", "date=Date", ""},
         "The weather source needs a preset or a map (one of them)."},
        {"neither",
         {"https://x.example/", "", "", "", ""},
         "The weather source needs a preset or a map (one of them)."},
        {"a map that does not parse",
         {"https://x.example/", "", "", "t_max=Tmax[C]", ""},
         "The map needs date=COL, or year=COL and doy=COL, or year=COL, month=COL and day=COL."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(weather_source_problem(c.source), c.problem) << c.what;
}

TEST(WeatherSource, APresetIsOneOfTheWorkingFoldersPresets)
{
    const test::ScopedWorkDir dir;
    const test::ScopedMessages messages;
    EXPECT_EQ(weather_source_problem({"HTTPS://X.EXAMPLE/", "", "CoAgMET", "", ""}), "");
    EXPECT_EQ(weather_source_problem({"https://x.example/", "", "P", "", ""}),
              "No preset is named \"P\" in csvmaps.txt.");
    const CsvMapParse shipped = preset_map("coagmet");
    ASSERT_TRUE(shipped.map);
    EXPECT_EQ(csv_weather_map_text(*shipped.map),
              csv_weather_map_text(
                  *find_csv_preset(parse_csv_presets(shipped_csv_presets()), "coagmet")));
}

} // namespace
} // namespace tw
