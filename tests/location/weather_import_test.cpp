#include "location/weather_import.h"

#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/files.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <random>

namespace tw {
namespace {

// A Kimberly Penman location of `days` days from the given date.
void season(CLocationDoc &loc, int year, int month, int day, int days = kNewLocationDays)
{
    loc.start_date = StoredDate::from_day(serial_from_civil(year, month, day));
    loc.days.assign(static_cast<std::size_t>(days), WeatherDay{});
    loc.latitude = 40.0f;
    loc.elevation = 1400.0f;
    loc.pressure = 860.0f;
}

// A USDA line in internal units (display units set to metric by the caller).
std::string usda_line(int doy, double t_max = 30.0, double rain = 0.0)
{
    char line[120];
    std::snprintf(line, sizeof line, "999, %d, %.1f, 12.0, 85, 20, 600, 150, %.1f, 7.0\n", doy,
                  t_max, rain);
    return line;
}

void metric(CustomSettings &cs)
{
    cs.depth_unit = 0;
    cs.temperature_unit = 0;
    cs.radiation_unit = 1;
    cs.wind_unit = 1;
}

// A season from 1 May 2022 (day 121) with metric display units.
struct MayImport : ::testing::Test
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    void SetUp() override
    {
        metric(*settings);
        season(loc, 2022, 5, 1);
    }
};

// A value converted on import (degrees F, percent, miles, inches, MJ/m2) is float arithmetic: it
// may differ from the decimal figure in a float's last place, about 6e-8 of the value. A value
// stored as the file gives it is compared exactly.
constexpr double kConverted = 1e-6;

TEST(WeatherImport, KansasStateLineStoresTheGivenValues)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    CLocationDoc loc;
    season(loc, 2022, 7, 1); // day of year 182
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::KansasState,
                                  "139, 182, 86.0, 59.0, 85, 22, 550, 120, 0.5, 0.3\n"),
              1);
    const WeatherDay &d = loc.day(0);
    EXPECT_EQ(d.has_data, 1);
    EXPECT_NEAR(d.t_max, 30.0, 30.0 * kConverted);
    EXPECT_NEAR(d.t_min, 15.0, 15.0 * kConverted);
    EXPECT_NEAR(d.rh_max, 0.85, 0.85 * kConverted);
    EXPECT_NEAR(d.rh_min, 0.22, 0.22 * kConverted);
    EXPECT_EQ(d.solar_radiation, 550.0f);
    EXPECT_NEAR(d.wind_run, 193.1244, 193.1244 * kConverted);
    EXPECT_NEAR(d.rain, 12.7, 12.7 * kConverted);
    EXPECT_NEAR(d.alternate_etr, 7.62, 7.62 * kConverted);
    EXPECT_EQ(d.etr_used, d.alternate_etr); // the imported ETr wins
    EXPECT_TRUE(loc.is_modified());
    EXPECT_TRUE(messages->texts().empty());
}

TEST(WeatherImport, JvuNewLineStoresTheGivenValues)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    CLocationDoc loc;
    season(loc, 2004, 7, 1); // 2004 is a leap year: day 183
    loc.day(0).alternate_etr = 0.0f;
    ASSERT_EQ(import_weather_text(loc, WeatherFormat::JvuNew,
                                  "STN01,2004-07-01,22.5,31.2,15:30:00,12.4,05:45:00,0.0,0.85,"
                                  "06:00:00,0.22,15:00:00,25.3,210.5,0.0\n"),
              1);
    const WeatherDay &d = loc.day(0);
    EXPECT_EQ(d.t_max, 31.2f);
    EXPECT_EQ(d.t_min, 12.4f);
    EXPECT_EQ(d.rh_max, 0.85f);
    EXPECT_EQ(d.rh_min, 0.22f);
    EXPECT_NEAR(d.solar_radiation, 604.4676, 604.4676 * kConverted);
    EXPECT_EQ(d.wind_run, 210.5f);
    EXPECT_EQ(d.rain, 0.0f);
    EXPECT_GT(d.etr_used, 0.0f);
    EXPECT_TRUE(messages->texts().empty());
}

TEST(WeatherImport, JvuNewIdentifierMustBeFiveCharacters)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    season(loc, 2004, 7, 1);
    const std::string rest = ",2004-07-01,22.5,31.2,15:30:00,12.4,05:45:00,0.0,0.85,06:00:00,"
                             "0.22,15:00:00,25.3,210.5,0.0\n";
    // A shorter identifier takes the comma with it; a longer one is read five characters at a
    // time and the sixth is not the comma: neither line is read, and nothing overflows.
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::JvuNew, "STN1" + rest), 0);
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::JvuNew, std::string(140, 'S') + rest), 0);
    EXPECT_FALSE(loc.is_modified());
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::JvuNew, "ABCDE" + rest), 1);
}

TEST(WeatherImport, JvuOldSkipsItsFirstLine)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    season(loc, 2022, 5, 1); // day 121
    const std::string record = ",0,28.5,0,11.0,0,0,0.9,0,0.3,0,25.0,180.0,1.5\n";
    const std::string text = "144,121" + record + "144,122" + record + "STATION HEADER\n" +
                             "143,123" + record + "144,124" + record;
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::JvuOld, text), 2);
    EXPECT_EQ(loc.day(0).has_data, 0); // the first line, though a record
    EXPECT_EQ(loc.day(1).t_max, 28.5f);
    EXPECT_EQ(loc.day(1).t_min, 11.0f);
    EXPECT_EQ(loc.day(1).rh_max, 0.9f);
    EXPECT_EQ(loc.day(1).rh_min, 0.3f);
    EXPECT_EQ(loc.day(1).solar_radiation, 597.3f);
    EXPECT_EQ(loc.day(1).rain, 1.5f);
    EXPECT_EQ(loc.day(2).has_data, 0); // record type 143
    EXPECT_EQ(loc.day(3).has_data, 1);
}

TEST(WeatherImport, RangeChecksReportAndZeroTheValue)
{
    test::ScopedSettings settings;
    metric(*settings);
    test::ScopedMessages messages;
    const std::string tail = " Please check Data: Day of Year=";
    struct Case
    {
        WeatherFormat format;
        const char *line;
        float WeatherDay::*member;
        float stored;
        std::string message;
    };
    const Case cases[] = {
        {WeatherFormat::Usda, "999, 121, 30, 12, 150, 20, 600, 150, 0, 0", &WeatherDay::rh_max,
         1.0f, ""},
        {WeatherFormat::Usda, "999, 121, 30, 12, 250, 20, 600, 150, 0, 0", &WeatherDay::rh_max,
         0.0f, "Out of range value for maximum relative humidity in import file." + tail + "121"},
        {WeatherFormat::Usda, "999, 121, 30, 12, 80, 101, 600, 150, 0, 0", &WeatherDay::rh_min,
         0.0f, "Out of range value for minimum relative humidity in import file." + tail + "121"},
        {WeatherFormat::Usda, "999, 121, 70, 12, 80, 20, 600, 150, 0, 0", &WeatherDay::t_max, 70.0f,
         ""},
        {WeatherFormat::Usda, "999, 121, 70.5, 12, 80, 20, 600, 150, 0, 0", &WeatherDay::t_max,
         0.0f, "Out of range value for maximum temperature in import file." + tail + "121"},
        {WeatherFormat::Usda, "999, 121, 30, -41, 80, 20, 600, 150, 0, 0", &WeatherDay::t_min, 0.0f,
         "Out of range value for minimum temperature in import file." + tail + "121"},
        {WeatherFormat::Usda, "999, 121, 30, 12, 80, 20, 19, 150, 0, 0",
         &WeatherDay::solar_radiation, 0.0f,
         "Out of range value for solar radiation (Langleys) in import file." + tail + "121"},
        {WeatherFormat::Usda, "999, 121, 30, 12, 80, 20, 850, 1000.5, 0, 0", &WeatherDay::wind_run,
         0.0f,
         "Out of range value for wind run value in import file.  Please check Data: Day of "
         "Year=121"},
        {WeatherFormat::UsdaNoRh, "999, 121, 30, 12, 600, 150, 0, 0", &WeatherDay::rh_max, 0.0f,
         ""},
        {WeatherFormat::KansasState, "139, 121, 212, 50, 85, 22, 550, 120, 0.5, 0.3",
         &WeatherDay::t_max, 0.0f,
         "Out of range value for maximum temperature in import file." + tail + "121"},
        {WeatherFormat::KansasState, "139, 121, 86, 50, 300, 22, 550, 120, 0.5, 0.3",
         &WeatherDay::rh_max, 3.0f, ""},
        {WeatherFormat::JvuOld, "\n144,121,0,61,0,11,0,0,0.9,0,0.3,0,25,180,0", &WeatherDay::t_max,
         0.0f, "Out of range value for maximum temperature in import file." + tail + "121"},
        {WeatherFormat::JvuOld, "\n144,121,0,30,0,-50,0,0,1.5,0,0.3,0,0.5,180,0",
         &WeatherDay::solar_radiation, 0.0f,
         "Out of range value for solar radiation in import file." + tail + "121"},
        {WeatherFormat::JvuOld, "\n144,121,0,30,0,-50,0,0,1.5,0,0.3,0,25,180,0",
         &WeatherDay::rh_max, 1.0f, ""},
        {WeatherFormat::JvuOld, "\n144,121,0,30,0,nan,0,0,0.9,0,0.3,0,25,180,0", &WeatherDay::t_min,
         0.0f, "Out of range value for minimum temperature in import file." + tail + "121"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        messages->clear();
        CLocationDoc loc;
        season(loc, 2022, 5, 1);
        EXPECT_EQ(import_weather_text(loc, c.format, c.line), 1);
        EXPECT_EQ(loc.day(0).*c.member, c.stored);
        EXPECT_EQ(messages->texts(), c.message.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.message});
    }
}

TEST(WeatherImport, UsdaConvertsFromDisplayUnits)
{
    test::ScopedSettings settings; // inches, °F, cal/cm2 day, mi/day
    CLocationDoc loc;
    season(loc, 2022, 5, 1);
    ASSERT_EQ(import_weather_text(loc, WeatherFormat::Usda, "999,121,86,50,0,40,600,100,1,0.25\n"),
              1);
    const WeatherDay &d = loc.day(0);
    EXPECT_FLOAT_EQ(d.t_max, 30.0f);
    EXPECT_FLOAT_EQ(d.t_min, 10.0f);
    EXPECT_EQ(d.rh_max, 0.0f);
    EXPECT_EQ(d.rh_min, 0.4f);
    EXPECT_FLOAT_EQ(d.wind_run, 160.937f);
    EXPECT_FLOAT_EQ(d.rain, 25.4f);
    EXPECT_FLOAT_EQ(d.alternate_etr, 6.35f);

    CLocationDoc no_rh;
    season(no_rh, 2022, 5, 1);
    no_rh.day(0).rh_max = 0.5f; // left over on a day without data
    ASSERT_EQ(import_weather_text(no_rh, WeatherFormat::UsdaNoRh, "999,121,86,50,600,100,1,0.25"),
              1);
    EXPECT_EQ(no_rh.day(0).rh_max, 0.0f);
    EXPECT_FLOAT_EQ(no_rh.day(0).alternate_etr, 6.35f);
}

TEST_F(MayImport, NeverOverwritesADayWithData)
{
    const std::string first = usda_line(121) + usda_line(123);
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::Usda, first), 2);
    const auto after_first = encode_location(loc);
    loc.set_modified(false);
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::Usda, first), 0);
    EXPECT_FALSE(loc.is_modified());
    EXPECT_EQ(encode_location(loc), after_first);

    EXPECT_EQ(
        import_weather_text(loc, WeatherFormat::Usda,
                            usda_line(121, 40.0) + usda_line(122, 41.0) + usda_line(123, 42.0)),
        1);
    EXPECT_EQ(loc.day(0).t_max, 30.0f);
    EXPECT_EQ(loc.day(1).t_max, 41.0f);
    EXPECT_EQ(loc.day(2).t_max, 30.0f);
}

TEST(WeatherImport, SeasonAcrossTheYearBoundary)
{
    test::ScopedSettings settings;
    metric(*settings);
    struct Case
    {
        int year;
        int last_day;
    };
    // 27 October 2022 and 26 October 2024 are both day 300; 2024 is a leap year.
    for (const Case c : {Case{2022, 365}, Case{2024, 366}}) {
        SCOPED_TRACE(c.year);
        CLocationDoc loc;
        season(loc, c.year, 1, 1);
        loc.start_date = StoredDate::from_day(serial_from_civil(c.year, 1, 1) + 299);
        std::string text;
        for (int doy = 300; doy <= c.last_day; ++doy)
            text += usda_line(doy, 10.0 + doy % 7);
        for (int doy = 1; doy <= 100; ++doy)
            text += usda_line(doy, 20.0 + doy % 7);
        const int first_year = c.last_day - 299;
        EXPECT_EQ(import_weather_text(loc, WeatherFormat::Usda, text), first_year + 100);
        for (int i = 0; i < first_year; ++i)
            ASSERT_EQ(loc.day(i).t_max, static_cast<float>(10 + (i + 300) % 7)) << i;
        for (int doy = 1; doy <= 100; ++doy)
            ASSERT_EQ(loc.day(doy - 300 + c.last_day).t_max, static_cast<float>(20 + doy % 7))
                << doy;
        // Each day's date is the date of its record.
        EXPECT_EQ(day_of_year(loc.date_of(first_year)), 1);
        EXPECT_EQ(loc.day(first_year + 100).has_data, 0);
    }
}

TEST_F(MayImport, RecordsPastTheSeasonEndTheImport)
{
    // 215 days: the last is 1 December, day 335
    const std::string text = usda_line(120) + usda_line(335) + usda_line(336) + usda_line(200);
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::Usda, text), 1);
    EXPECT_EQ(loc.day(214).has_data, 1);
    EXPECT_EQ(loc.day(200 - 121).has_data, 0); // after the end, never read
}

TEST_F(MayImport, LongLinesArriveInPieces)
{
    // 149 characters make a piece: the record still parses, the rest of the line (which begins
    // "999") is a record of its own.
    std::string line = usda_line(121);
    line.pop_back();
    line.resize(149, ' ');
    line += "999, 122, 25, 10, 80, 20, 500, 100, 0, 0\r\n";
    // A line of exactly 149 characters and its newline.
    std::string exact = usda_line(123);
    exact.pop_back();
    exact.resize(149, ' ');
    exact += "\n";
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::Usda, line + exact + std::string(5000, 'x')),
              3);
    EXPECT_EQ(loc.day(1).t_max, 25.0f);
    EXPECT_EQ(loc.day(2).has_data, 1);
}

TEST_F(MayImport, ShortLinesKeepThePreviousValues)
{
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::Usda, usda_line(121, 33.0) + "999, 125\n"),
              2);
    EXPECT_EQ(loc.day(4).t_max, 33.0f);
}

TEST(WeatherImport, JvuNewLinesWithoutADateAreNoRecords)
{
    test::ScopedSettings settings;
    CLocationDoc loc;
    season(loc, 2022, 12, 30, 5);
    const auto jvu = [](const char *date) {
        return std::string("STN01,") + date +
               ",0,20,0:0:0,5,0:0:0,0,0.9,0:0:0,0.3,0:0:0,20,150,0\n";
    };
    // A blank line after 31 December must not stand for another 31 December, which would lie
    // past the season's end and stop the import.
    const std::string text = jvu("2022-12-30") + jvu("2022-12-31") + "\n" + "garbage\n" +
                             jvu("2022-02-30") + jvu("2023-01-01");
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::JvuNew, text), 3);
    EXPECT_EQ(loc.day(2).has_data, 1);
}

TEST(WeatherImport, ImpossibleDaysOfYearAreSkipped)
{
    test::ScopedSettings settings;
    metric(*settings);
    CLocationDoc loc;
    season(loc, 2022, 1, 1, 365);
    const std::string text =
        usda_line(0) + usda_line(-5) + usda_line(366) + usda_line(2147483647) + usda_line(10);
    EXPECT_EQ(import_weather_text(loc, WeatherFormat::Usda, text), 1);
    EXPECT_EQ(loc.day(9).has_data, 1);
}

TEST(WeatherImport, MissingFileChangesNothing)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    CLocationDoc loc;
    const auto path = dir.file("none.txt");
    EXPECT_EQ(import_weather(loc, WeatherFormat::Usda, path), -1);
    EXPECT_EQ(messages->texts(),
              std::vector<std::string>{path.string() + " File Not Found For Weather Importing!!"});
    EXPECT_FALSE(loc.is_modified());
}

struct FieldSpy : LocationField
{
    std::vector<int> days;
    void weather_changed(int location_day) override { days.push_back(location_day); }
    bool has_unsaved_changes() const override { return false; }
};

TEST(WeatherImport, ImportFromAFileRecomputesAndTellsTheFieldsOnce)
{
    test::ScopedSettings settings;
    metric(*settings);
    test::ScopedWorkDir dir;
    const std::string text = usda_line(121) + usda_line(122);
    const auto path = dir.file("weather.txt");
    ASSERT_TRUE(write_file_atomic(
        path, {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()}));
    CLocationDoc loc;
    season(loc, 2022, 5, 1);
    FieldSpy field;
    loc.attach_field(&field);
    EXPECT_EQ(import_weather(loc, WeatherFormat::Usda, path), 2);
    EXPECT_EQ(field.days, std::vector<int>{0});
    EXPECT_EQ(loc.day(1).etr_used, 7.0f);
    EXPECT_EQ(import_weather(loc, WeatherFormat::Usda, path), 0);
    EXPECT_EQ(field.days, (std::vector<int>{0, 0}));
    loc.detach_field(&field);
}

TEST(WeatherImport, RandomAndDamagedTextNeverCrashesOrOverwrites)
{
    test::ScopedSettings settings;
    metric(*settings);
    test::ScopedMessages messages;
    std::mt19937 random(7);
    const std::string good = usda_line(150) +
                             "STN01,2022-05-30,0,20,0:0:0,5,0:0:0,0,0.9,0:0:0,0.3,0:0:0,20,150,0\n"
                             "144,150,0,20,0,5,0,0,0.9,0,0.3,0,20,150,0\n"
                             "139, 150, 70, 50, 80, 20, 500, 100, 0, 0\n";
    const WeatherFormat formats[] = {WeatherFormat::JvuNew, WeatherFormat::JvuOld,
                                     WeatherFormat::Usda, WeatherFormat::UsdaNoRh,
                                     WeatherFormat::KansasState};
    for (int round = 0; round < 400; ++round) {
        std::string text;
        if (round % 2) {
            text.resize(random() % 2000);
            for (char &c : text)
                c = static_cast<char>(random());
        } else {
            text = good + good;
            for (int k = 0; k < 6; ++k)
                text[random() % text.size()] = "0123456789,.-:\n\r\0 9"[random() % 20];
        }
        for (const WeatherFormat format : formats) {
            CLocationDoc loc;
            season(loc, 2022, 5, 1);
            loc.day(29).has_data = 1; // day 150
            loc.day(29).t_max = -3.0f;
            const int filled = import_weather_text(loc, format, text);
            EXPECT_EQ(loc.day(29).t_max, -3.0f);
            EXPECT_EQ(loc.is_modified(), filled > 0);
            ASSERT_GE(filled, 0);
        }
    }
}

} // namespace
} // namespace tw
