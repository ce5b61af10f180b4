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

constexpr const char *kUndated =
    "The map needs date=COL, or year=COL and doy=COL, or year=COL, month=COL and day=COL.";

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
        {"", kUndated},
        {"year=Y,t_max=T[C]", kUndated},
        {"date=D,doy=J", kUndated},
        {"year=Y,month=M", kUndated},
        {"year=Y,doy=J,day=D", kUndated},
        {"date=D,dewpoint=T[F],rh_min=R[percent]",
         "The map takes the humidity from the dew point or from rh_max and rh_min, not both."},
        {"date=D,t_max=T", "t_max=COL needs its unit in brackets: one of C, F."},
        {"date=D,wind=W[knots]",
         "The unit \"knots\" of wind is not one of km/day, mi/day, m/s, mph, km/h."},
        {"date=D,snow=S[mm]",
         "\"snow=S[mm]\" names no quantity; the map takes date, year, month, "
         "day, doy, t_max, t_min, rh_max, rh_min, dewpoint, solar, wind, rain, "
         "etr."},
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
        {"wind=V[mph]", "5", &WeatherDay::wind_run, 120.0f * 1.60937f}, // 5 mph a day: 120 mi
        {"wind=V[km/h]", "10", &WeatherDay::wind_run, 240.0f},
        {"rain=V[in]", "0.5", &WeatherDay::rain, 12.7f},
        {"etr=V[mm]", "6.25", &WeatherDay::alternate_etr, 6.25f},
    };
    for (const auto &c : cases) {
        SetUp();
        const std::string text = std::string("Date,V\n2022-05-01,") + c.cell + "\n";
        const auto summary =
            import_csv_weather_text(loc, map(std::string("date=Date,") + c.entry), text, false);
        ASSERT_TRUE(summary) << c.entry;
        ASSERT_EQ(summary->imported, 1) << c.entry;
        EXPECT_NEAR(loc.day(0).*c.member, c.expected, 1e-6f * std::abs(c.expected)) << c.entry;
    }
    EXPECT_TRUE(messages->texts().empty());
}

// A line is placed by its full date, in any order; a line outside the season, one without a date
// and one repeating a day are skipped and counted; a day that holds data is kept; a cell without a
// number or a value out of range (rain past 1000 mm too) is left unset and counted; a line that
// gives nothing stores nothing.
TEST_F(CsvImport, PlacesByDateAndCountsWhatItLeaves)
{
    loc.day(1).has_data = 1;
    loc.day(1).t_max = 99.0f;
    const std::string text = "d,tx,rs,ws,p\n"
                             "2022-05-04,29,600,150,2\n"     // before the earlier days
                             "2022-04-30,30,600,150,0\n"     // the day before the season
                             "2022-05-02,31,600,150,0\n"     // a day that holds data
                             "2022-05-03,80,5,,1000.5\n"     // out of range; no wind
                             "2023-05-01,30,600,150,0\n"     // a year later: not day 0
                             "2022-12-02,30,600,150,0\n"     // one past the 215th day
                             "total,1,1,1,1\n"               // no date
                             "2022-05-04,1,1,1,1\n"          // the same day again
                             "2022-05-01,NaN,M,inf,1e39\n"   // nothing to store
                             "2022-12-01,30,600,150,1000\n"; // the last day; rain at its bound
    const CsvWeatherMap m = map("date=d,t_max=tx[C],solar=rs[langley],wind=ws[km/day],rain=p[mm]");
    const auto s = import_csv_weather_text(loc, m, text, false);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->imported, 2);
    EXPECT_EQ(s->kept, 1);
    EXPECT_EQ(s->outside_season, 3);
    EXPECT_EQ(s->without_date, 1);
    EXPECT_EQ(s->repeated, 1);
    EXPECT_EQ(s->without_number, 5);
    EXPECT_EQ(s->out_of_range, 3);
    EXPECT_EQ(s->first_out_of_range,
              (std::vector<CsvUnsetValue>{{CsvQuantity::TMax, serial_from_civil(2022, 5, 3)},
                                          {CsvQuantity::Solar, serial_from_civil(2022, 5, 3)},
                                          {CsvQuantity::Rain, serial_from_civil(2022, 5, 3)}}));
    EXPECT_EQ(loc.day(3).t_max, 29.0f);
    EXPECT_EQ(loc.day(3).rain, 2.0f);
    EXPECT_EQ(loc.day(1).t_max, 99.0f);
    EXPECT_EQ(loc.day(0).has_data, 0);
    EXPECT_EQ(loc.day(2).has_data, 0); // nothing of its line was left to store
    EXPECT_EQ(loc.day(2).t_max, 0.0f);
    EXPECT_EQ(loc.day(2).rain, 0.0f);
    EXPECT_EQ(loc.day(214).rain, 1000.0f);
    EXPECT_TRUE(messages->texts().empty()); // the summary is the caller's to show
    EXPECT_TRUE(loc.is_modified());
    EXPECT_GT(loc.day(3).etr_used, 0.0f); // ET recomputed

    EXPECT_EQ(csv_summary_text(*s),
              "Imported 2 days.\n"
              "Kept 1 day because it already had data.\n"
              "Skipped 3 lines dated outside the season.\n"
              "Skipped 1 line without a date that could be read.\n"
              "Skipped 1 line dated on a day an earlier line gave.\n"
              "Left 5 cells without a number unset.\n"
              "Left 3 values out of range unset: maximum temperature on 2022-05-03, solar "
              "radiation on 2022-05-03, rain on 2022-05-03.");
}

// Importing again changes nothing and says so; with replace the lines correct the days, each day
// then holding only what its line gave.
TEST_F(CsvImport, ReplaceCorrectsWhatAnImportKept)
{
    const CsvWeatherMap m = map("date=d,t_max=t[C],rain=p[mm]");
    ASSERT_EQ(import_csv_weather_text(loc, m, "d,t,p\n2022-05-01,30,4\n", false)->imported, 1);
    const std::string corrected = "d,t,p\n2022-05-01,31,\n";
    const auto kept = import_csv_weather_text(loc, m, corrected, false);
    EXPECT_EQ(kept->imported, 0);
    EXPECT_EQ(kept->kept, 1);
    EXPECT_EQ(loc.day(0).t_max, 30.0f);
    const auto replaced = import_csv_weather_text(loc, m, corrected, true);
    EXPECT_EQ(replaced->imported, 1);
    EXPECT_EQ(replaced->kept, 0);
    EXPECT_EQ(loc.day(0).t_max, 31.0f);
    EXPECT_EQ(loc.day(0).rain, 0.0f);
}

// Summaries list at most five values out of range and count the rest.
TEST(CsvSummary, ListsTheFirstFewValuesOutOfRange)
{
    CsvImportSummary s;
    s.out_of_range = 7;
    for (int d = 0; d < 5; ++d)
        s.first_out_of_range.push_back({CsvQuantity::Wind, serial_from_civil(2022, 6, 1 + d)});
    EXPECT_EQ(csv_summary_details(s),
              std::vector<std::string>{"Left 7 values out of range unset: wind on 2022-06-01, "
                                       "wind on 2022-06-02, wind on 2022-06-03, wind on "
                                       "2022-06-04, wind on 2022-06-05 and 2 more."});
    EXPECT_EQ(csv_summary_text(CsvImportSummary{}), "Imported 0 days.");
}

// FAO-56 Annex 2, Table 2.3: e°(10 °C) = 1.228 kPa, e°(15) = 1.705, e°(24.5) = 3.075; Example 5:
// e°(17 °C) = 1.938 kPa. The humidity at the minimum temperature is capped at saturation.
TEST_F(CsvImport, HumidityFromTheDewPoint)
{
    const std::string text = "Year,Month,Day,Tx,Tn,Td\n"
                             "2022,5,1,76.1,59,50\n"
                             "2022,5,2,76.1,59,62.6\n"
                             "2022,5,3,,59,50\n";
    const auto s = import_csv_weather_text(
        loc, map("year=Year,month=Month,day=Day,t_max=Tx[F],t_min=Tn[F],dewpoint=Td[F]"), text,
        false);
    ASSERT_EQ(s->imported, 3);
    EXPECT_NEAR(loc.day(0).rh_max, 1.228 / 1.705, 1e-3);
    EXPECT_NEAR(loc.day(0).rh_min, 1.228 / 3.075, 1e-3);
    EXPECT_EQ(loc.day(1).rh_max, 1.0f);
    EXPECT_NEAR(loc.day(1).rh_min, 1.938 / 3.075, 1e-3);
    EXPECT_EQ(loc.day(2).rh_max, 0.0f); // no maximum temperature: no humidity either
    EXPECT_EQ(s->without_number, 1);
}

TEST_F(CsvImport, AColumnTheHeaderLacksChangesNothing)
{
    const std::string text = "Date,Tmax\n2022-05-01,30\n";
    EXPECT_FALSE(
        import_csv_weather_text(loc, map("date=Date,t_max=TMAX[C],rain=Rain[mm]"), text, false));
    EXPECT_EQ(messages->texts(),
              std::vector<std::string>{"The weather file has no column \"Rain\" for rain."});
    EXPECT_EQ(loc.day(0).has_data, 0);
    EXPECT_FALSE(loc.is_modified());
    // A header name is matched exactly first, then ignoring case, then as a column number.
    EXPECT_EQ(import_csv_weather_text(loc, map("date=1,t_max=tmax[C]"), text, false)->imported, 1);
    EXPECT_EQ(loc.day(0).t_max, 30.0f);
    EXPECT_FALSE(import_csv_weather_text(loc, map("date=Date"), "", false));
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
    const auto s = import_csv_weather_text(loc, map("date=d,t_min=t[C]"), text, false);
    EXPECT_EQ(s->imported, 3);
    EXPECT_EQ(s->without_date, 4);
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
    EXPECT_EQ(form.problem(),
              "Choose the column that holds the date, or the year and day of year.");
    EXPECT_EQ(CsvImportForm(csv_preview("", 5), std::nullopt).problem(),
              "The file holds no header line to choose columns from.");
}

} // namespace
} // namespace tw
