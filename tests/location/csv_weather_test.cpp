#include "location/csv_weather.h"

#include "location/csv_import_form.h"

#include "location/location_doc.h"
#include "platform/dates.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

struct CsvImport : ::testing::Test
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    CLocationDoc loc;

    void SetUp() override
    {
        loc.start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1)); // day 121
        loc.days.assign(kNewLocationDays, WeatherDay{});
        loc.latitude = 40.0f;
        loc.elevation = 1400.0f;
        loc.pressure = 860.0f;
    }
    static CsvWeatherMap map(std::string_view text)
    {
        const CsvMapParse parsed = parse_csv_weather_map(text);
        EXPECT_TRUE(parsed.map) << text << ": " << parsed.problem;
        return parsed.map.value_or(CsvWeatherMap{});
    }
};

TEST(CsvWeatherMap, ParsesWritesBackAndRefuses)
{
    const CsvMapParse good =
        parse_csv_weather_map(" year=Yr , doy=3,t_max=Tx [F][f],solar=Rs[LANGLEY],etr=ETr[in]");
    ASSERT_TRUE(good.map) << good.problem;
    EXPECT_EQ((*good.map)[CsvQuantity::TMax].column, "Tx [F]");
    EXPECT_EQ((*good.map)[CsvQuantity::TMax].unit, 1u);
    EXPECT_EQ((*good.map)[CsvQuantity::Solar].unit, 2u);
    EXPECT_EQ((*good.map)[CsvQuantity::DayOfYear].column, "3");
    const std::string text = csv_weather_map_text(*good.map);
    EXPECT_EQ(text, "year=Yr,doy=3,t_max=Tx [F][F],solar=Rs[langley],etr=ETr[in]");
    EXPECT_EQ(parse_csv_weather_map(text).map, good.map);

    const struct
    {
        const char *map;
        const char *problem;
    } refused[] = {
        {"", "The map needs date=COL, or year=COL and doy=COL."},
        {"year=Y,t_max=T[C]", "The map needs date=COL, or year=COL and doy=COL."},
        {"date=D,doy=J", "The map needs date=COL, or year=COL and doy=COL."},
        {"date=D,t_max=T", "t_max=COL needs its unit in brackets: one of C, F."},
        {"date=D,wind=W[mph]", "The unit \"mph\" of wind is not one of km/day, mi/day, m/s."},
        {"date=D,snow=S[mm]", "\"snow=S[mm]\" names no quantity; the map takes date, year, doy, "
                              "t_max, t_min, rh_max, rh_min, solar, wind, rain, etr."},
        {"date=D,date=E", "date is named twice in the map."},
        {"date=,rain=R[mm]", "date names no column."},
        {"date=D,rain=[mm]", "rain names no column."},
    };
    for (const auto &r : refused) {
        const CsvMapParse parsed = parse_csv_weather_map(r.map);
        EXPECT_FALSE(parsed.map) << r.map;
        EXPECT_EQ(parsed.problem, r.problem) << r.map;
    }
}

// Every unit a column may be in, to the internal units (°C, fraction, langley/day, km/day, mm).
TEST_F(CsvImport, ConvertsEveryUnit)
{
    const struct
    {
        const char *entry;
        const char *cell;
        float WeatherDay::*member;
        float expected;
    } cases[] = {
        {"t_max=V[C]", "30.5", &WeatherDay::t_max, 30.5f},
        {"t_max=V[F]", "86", &WeatherDay::t_max, 30.0f},
        {"t_min=V[F]", "0", &WeatherDay::t_min, -160.0f / 9.0f}, // a real 0 °F
        {"rh_max=V[percent]", "85", &WeatherDay::rh_max, 0.85f},
        {"rh_min=V[fraction]", "0.22", &WeatherDay::rh_min, 0.22f},
        {"solar=V[W/m2]", "300", &WeatherDay::solar_radiation, 300.0f * 2.0636f},
        {"solar=V[MJ/m2]", "25.3", &WeatherDay::solar_radiation, 25.3f * 23.892f},
        {"solar=V[langley]", "550", &WeatherDay::solar_radiation, 550.0f},
        {"wind=V[m/s]", "2.5", &WeatherDay::wind_run, 216.0f},
        {"wind=V[mi/day]", "100", &WeatherDay::wind_run, 160.937f},
        {"rain=V[in]", "0.5", &WeatherDay::rain, 12.7f},
        {"etr=V[mm]", "6.25", &WeatherDay::alternate_etr, 6.25f},
    };
    for (const auto &c : cases) {
        SetUp();
        const std::string text = std::string("Date,V\n2022-05-01,") + c.cell + "\n";
        ASSERT_EQ(import_csv_weather_text(loc, map(std::string("date=Date,") + c.entry), text), 1)
            << c.entry;
        EXPECT_NEAR(loc.day(0).*c.member, c.expected, 1e-6f * std::abs(c.expected)) << c.entry;
    }
    EXPECT_TRUE(messages->texts().empty());
}

// Placement as the other formats: from the start date on, never over a day with data, ended by
// the season's end; range checks only on the values a line holds, named by day of year.
TEST_F(CsvImport, PlacesChecksAndNeverOverwrites)
{
    loc.day(1).has_data = 1;
    loc.day(1).t_max = 99.0f;
    const std::string text = "yr,jday,tx,rs,ws\n"
                             "2022,120,30,600,150\n" // before the season
                             "2022,121,30,600,150\n"
                             "2022,122,31,600,150\n" // a day that holds data
                             "2022,123,80,5,\n"      // out of range; no wind
                             "2022,400,30,600,150\n" // no such day
                             "2022,124,\"29\",600,150,extra\n"
                             "2022,336,30,600,150\n" // past the 215 days: ends the import
                             "2022,125,30,600,150\n";
    const CsvWeatherMap m = map("year=yr,doy=jday,t_max=tx[C],solar=rs[langley],wind=ws[km/day]");
    EXPECT_EQ(import_csv_weather_text(loc, m, text), 3);
    EXPECT_EQ(loc.day(0).t_max, 30.0f);
    EXPECT_EQ(loc.day(1).t_max, 99.0f);
    EXPECT_EQ(loc.day(2).t_max, 0.0f);
    EXPECT_EQ(loc.day(2).solar_radiation, 0.0f);
    EXPECT_EQ(loc.day(2).has_data, 0); // nothing of it was left to hold
    EXPECT_EQ(loc.day(3).t_max, 29.0f);
    EXPECT_EQ(loc.day(4).has_data, 0);
    EXPECT_EQ(messages->texts(),
              (std::vector<std::string>{
                  "Out of range value for maximum temperature in import file. Please check Data: "
                  "Day of Year=123",
                  "Out of range value for solar radiation (Langleys) in import file. Please check "
                  "Data: Day of Year=123"}));
    EXPECT_TRUE(loc.is_modified());
    EXPECT_GT(loc.day(0).etr_used, 0.0f); // ET recomputed
    // The same file again fills only the day that was left empty.
    messages->clear();
    EXPECT_EQ(import_csv_weather_text(loc, m, text), 1);
    EXPECT_EQ(messages->texts().size(), 2u);
}

TEST_F(CsvImport, AColumnTheHeaderLacksChangesNothing)
{
    const std::string text = "Date,Tmax\n2022-05-01,30\n";
    EXPECT_EQ(import_csv_weather_text(loc, map("date=Date,t_max=TMAX[C],rain=Rain[mm]"), text), -1);
    EXPECT_EQ(messages->texts(),
              std::vector<std::string>{"The weather file has no column \"Rain\" for rain."});
    EXPECT_EQ(loc.day(0).has_data, 0);
    EXPECT_FALSE(loc.is_modified());
    // A header name is matched exactly first, then ignoring case, then as a column number.
    EXPECT_EQ(import_csv_weather_text(loc, map("date=1,t_max=tmax[C]"), text), 1);
    EXPECT_EQ(loc.day(0).t_max, 30.0f);
    EXPECT_EQ(import_csv_weather_text(loc, map("date=Date"), ""), -1);
}

TEST_F(CsvImport, DatesInEitherFormAndLinesWithoutADay)
{
    const std::string text = "d,t\n"
                             "2022-05-01 00:00,20\n"
                             "5/2/2022,21\n"
                             "2022-05-32,1\n"
                             "13/1/2022,1\n"
                             "5/3,1\n"
                             "total,99\n"
                             "2022-05-04T00:00:00,23\n";
    EXPECT_EQ(import_csv_weather_text(loc, map("date=d,t_min=t[C]"), text), 3);
    EXPECT_EQ(loc.day(0).t_min, 20.0f);
    EXPECT_EQ(loc.day(1).t_min, 21.0f);
    EXPECT_EQ(loc.day(2).has_data, 0);
    EXPECT_EQ(loc.day(3).t_min, 23.0f);
}

TEST(CsvPreview, HeaderAndFirstRows)
{
    const CsvPreview p = csv_preview("\xEF\xBB\xBF"
                                     "a,\"b,c\"\r\n\r\n1,2\n3,4\n5,6\n",
                                     2);
    EXPECT_EQ(p.header, (std::vector<std::string>{"a", "b,c"}));
    EXPECT_EQ(p.rows, (std::vector<std::vector<std::string>>{{"1", "2"}, {"3", "4"}}));
    EXPECT_TRUE(csv_preview("", 5).header.empty());
}

// The dialog's choices: a remembered mapping comes back where the new file has its columns, and
// a column the header names twice is mapped by its number.
TEST(CsvImportForm, RemembersWhatFitsAndNamesAmbiguousColumnsByNumber)
{
    CsvImportForm form(csv_preview("Date,T,T,Rain\n2022-05-01,1,2,3\n", 5),
                       std::string("date=Date,t_max=T[F],wind=Gone[m/s],rain=Rain[in]"));
    EXPECT_EQ(form.column(CsvQuantity::Date), 0u);
    EXPECT_EQ(form.column(CsvQuantity::TMax), std::nullopt); // "T" is no longer one column
    EXPECT_EQ(form.unit(CsvQuantity::TMax), 1u);
    EXPECT_EQ(form.column(CsvQuantity::Wind), std::nullopt);
    EXPECT_EQ(form.column(CsvQuantity::Rain), 3u);
    form.choose_column(CsvQuantity::TMin, 2);
    form.choose_column(CsvQuantity::TMax, 9); // beyond the header: none
    form.choose_unit(CsvQuantity::Rain, 7);   // not a unit of rain: kept
    EXPECT_EQ(csv_weather_map_text(form.map()), "date=Date,t_min=3[C],rain=Rain[in]");
    EXPECT_EQ(form.problem(), std::nullopt);
    form.choose_column(CsvQuantity::Date, std::nullopt);
    EXPECT_EQ(form.problem(), "The map needs date=COL, or year=COL and doy=COL.");
    EXPECT_EQ(CsvImportForm(csv_preview("", 5), std::nullopt).problem(),
              "The file holds no header line to choose columns from.");
}

} // namespace
} // namespace tw
