#include "location/csv_header_match.h"

#include "location/csv_presets.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using Q = CsvQuantity;

CsvHeaderMatch match(const std::string &header, const std::string &row = "")
{
    return match_csv_header(csv_preview(header + "\n" + row + "\n", 5));
}

// Names as station exports write them: case, spacing and punctuation do not matter, and a unit
// written in the name picks the unit (indexes as the map lists them: C F; fraction percent;
// W/m2 MJ/m2 langley; km/day mi/day m/s mph km/h; mm in).
TEST(CsvHeaderMatch, NamesAndTheUnitsWrittenInThem)
{
    const struct
    {
        const char *name;
        Q quantity;
        std::size_t unit;
    } cases[] = {
        {"Tmax(F)", Q::TMax, 1},
        {"Max Temp (°F)", Q::TMax, 1},
        {"tmax_c", Q::TMax, 0},
        {"MAX_TEMP", Q::TMax, 0},
        {"Min Air Temp C", Q::TMin, 0},
        {"Low Temperature (deg F)", Q::TMin, 1},
        {"RH max (%)", Q::RhMax, 1},
        {"Min Rel Hum", Q::RhMin, 1},
        {"Solar (W/m²)", Q::Solar, 0},
        {"Solar Rad W/m2", Q::Solar, 0},
        {"srad_mj", Q::Solar, 1},
        {"Solar Radiation (Langleys)", Q::Solar, 2},
        {"Wind (mph)", Q::Wind, 3},
        {"Wind(m/s)", Q::Wind, 2},
        {"Wind Run km/day", Q::Wind, 0},
        {"Wind Run (miles)", Q::Wind, 1},
        {"Avg Wind Speed (km/h)", Q::Wind, 4},
        {"Precip (in)", Q::Rain, 1},
        {"Rainfall mm", Q::Rain, 0},
        {"ETr (in)", Q::Etr, 1},
        {"Dew Point (F)", Q::DewPoint, 1},
        {"DOY", Q::DayOfYear, 0},
        {"Year", Q::Year, 0},
    };
    for (const auto &c : cases) {
        const CsvHeaderMatch m = match(c.name);
        EXPECT_EQ(m.column(c.quantity), 0u) << c.name;
        EXPECT_EQ(m.unit(c.quantity), c.unit) << c.name;
    }
    // Columns the import has no use for are left alone.
    for (const char *name : {"Station", "Soil Temp Max (F)", "Max Wind Gust (mph)", "Wind Dir",
                             "Avg RH (%)", "Net Radiation"}) {
        const CsvHeaderMatch m = match(name);
        for (const auto &column : m.columns)
            EXPECT_FALSE(column) << name;
    }
}

// One way to date a line; a humidity without a unit read from its values; the first column of a
// quantity wins; humidity columns stand over a dew point.
TEST(CsvHeaderMatch, DatesHumidityAndChoicesBetweenColumns)
{
    const CsvHeaderMatch dated = match("Date,Year,DOY,Tmax,Tmax,RHmax,RHmin,Dewpoint",
                                       "2022-05-01,2022,121,30,31,0.91,0.18,10");
    EXPECT_EQ(dated.column(Q::Date), 0u);
    EXPECT_FALSE(dated.column(Q::Year));
    EXPECT_FALSE(dated.column(Q::DayOfYear));
    EXPECT_EQ(dated.column(Q::TMax), 3u);
    EXPECT_EQ(dated.unit(Q::RhMax), 0u); // 0.91: a fraction
    EXPECT_FALSE(dated.column(Q::DewPoint));

    const CsvHeaderMatch parts = match("yr,mo,dy,tx,tn,td", "2022,5,1,86,59,50");
    EXPECT_EQ(parts.column(Q::Year), 0u);
    EXPECT_EQ(parts.column(Q::Month), 1u);
    EXPECT_EQ(parts.column(Q::Day), 2u);
    EXPECT_EQ(parts.column(Q::DewPoint), 5u);

    EXPECT_EQ(match("Date,RHmax", "2022-05-01,91").unit(Q::RhMax), 1u);
    EXPECT_EQ(match("Date,RHmax", "2022-05-01,1.6").unit(Q::RhMax), 1u); // just past 1.5
    EXPECT_EQ(match("Date,RHmax", "2022-05-01,1.5").unit(Q::RhMax), 0u);
}

TEST(CsvHeaderMatch, AnAutomaticMapNamesWhatItLacks)
{
    const auto problem = [](const char *map) {
        return csv_auto_map_problem(parse_csv_weather_map(map).map.value());
    };
    EXPECT_EQ(problem("date=D,t_max=X[C],t_min=N[C]"), "");
    EXPECT_EQ(problem("year=Y,doy=J,t_max=X[C]"),
              "No column of the header could be placed for the minimum temperature.");
    EXPECT_EQ(csv_auto_map_problem(CsvWeatherMap{}),
              "No column of the header could be placed for the date, the maximum temperature, "
              "the minimum temperature.");
}

// The shipped presets all read, and a saved preset takes the place of the one of its name.
TEST(CsvPresets, ShippedReadAndSavedReplace)
{
    const std::vector<CsvPreset> shipped = parse_csv_presets(shipped_csv_presets());
    ASSERT_GE(shipped.size(), 2u);
    const auto coagmet = find_csv_preset(shipped, "CoAgMET");
    ASSERT_TRUE(coagmet);
    EXPECT_TRUE(csv_map_problem(*coagmet).empty());
    EXPECT_TRUE(find_csv_preset(shipped, "cimis"));

    const CsvWeatherMap mine = parse_csv_weather_map("date=D,t_max=X[F]").map.value();
    const std::string text = with_csv_preset("# mine\na: date=E\nb: date=F\n", "A", mine);
    EXPECT_EQ(text, "# mine\nA: date=D,t_max=X[F]\nb: date=F\n");
    EXPECT_EQ(with_csv_preset(text, "c", mine), text + "c: date=D,t_max=X[F]\n");
    EXPECT_EQ(parse_csv_presets("x: nonsense\ny z: date=D\nok: date=D\n").size(), 1u);
    EXPECT_TRUE(csv_preset_name_problem("station 1"));
    EXPECT_FALSE(csv_preset_name_problem("gly04_daily"));
}

} // namespace
} // namespace tw
