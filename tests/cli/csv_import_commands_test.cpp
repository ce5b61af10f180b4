#include "cli/cli.h"

#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/files.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <memory>

namespace tw::cli {
namespace {

using test::CliRun;
using test::contains;
using test::lines;

// `location import --format csv` in a scratch folder; display units are US (°F, in, mi/day, W/m2)
// so that a day typed by hand goes through the same conversions as the file.
struct CsvImportCli : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    std::string loc = dir.file("L.loc").string();

    void SetUp() override
    {
        ASSERT_EQ(run({"prefs", "set", "depth_unit=1", "temperature_unit=1", "wind_unit=0",
                       "radiation_unit=6"})
                      .status,
                  kExitOk);
        ASSERT_EQ(create(loc).status, kExitOk);
    }
    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return test::run_cli(args);
    }
    CliRun create(const std::string &file)
    {
        return run({"location", "new", file, "--name", "L", "--start", "2022-05-01", "--latitude",
                    "40.3915", "--elevation", "1425", "--et-method", "standardized"});
    }
    CliRun import(const std::string &weather, std::vector<std::string> more)
    {
        std::vector<std::string> args = {"location", "import", loc, "--format", "csv"};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(weather);
        return run(args);
    }
    std::string write(const std::string &name, const std::string &text)
    {
        const auto path = dir.file(name);
        EXPECT_TRUE(write_file_atomic(
            path, {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()}));
        return path.string();
    }
    std::unique_ptr<CLocationDoc> read(const std::string &file)
    {
        auto location = std::make_unique<CLocationDoc>();
        EXPECT_EQ(load_location_file(file, *location), LocationRead::Complete);
        return location;
    }
};

// The header of a US station export is read into the same map a user would type.
TEST_F(CsvImportCli, AutoMapImportsWhatTheExplicitMapImports)
{
    const std::string weather =
        write("us.csv", "Date,Max Temp (°F),Min Temp (°F),Max RH (%),Min RH (%),Solar (W/m²),"
                        "Wind (mph),Precip (in)\n"
                        "2022-05-01,75.7,43.0,91,18,287.5,4.3,0\n"
                        "2022-05-02,65.7,47.1,97,41,170.2,8.0,0.18\n"
                        "2022-05-03,82.2,48.2,66,12,301.0,3.7,0.02\n");
    const std::string typed_map =
        "date=Date,t_max=Max Temp (°F)[F],t_min=Min Temp (°F)[F],rh_max=Max RH (%)[percent],"
        "rh_min=Min RH (%)[percent],solar=Solar (W/m²)[W/m2],wind=Wind (mph)[mph],"
        "rain=Precip (in)[in]";
    const CliRun automatic = import(weather, {"--map", "auto"});
    ASSERT_EQ(automatic.status, kExitOk) << automatic.err;
    EXPECT_EQ(automatic.out, "Map: " + typed_map + "\nImported 3 days into " + loc + ".\n");
    const std::string by_auto = run({"location", "export", loc}).out;

    std::filesystem::remove(loc);
    ASSERT_EQ(create(loc).status, kExitOk);
    ASSERT_EQ(import(weather, {"--map", typed_map}).status, kExitOk);
    EXPECT_EQ(run({"location", "export", loc}).out, by_auto);
    EXPECT_NEAR(read(loc)->day(1).wind_run, 8.0f * 24.0f * 1.60937f, 1e-3f); // 8 mph all day
    EXPECT_NEAR(read(loc)->day(1).rain, 0.18f * 25.4f, 1e-5f);

    // A header without a date or a temperature is refused, naming what is missing.
    const std::string bare = write("bare.csv", "When,Tmax,Rain\n2022-05-01,30,0\n");
    const CliRun refused = import(bare, {"--map", "auto"});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_EQ(refused.err, "No column of the header could be placed for the date, the minimum "
                           "temperature. Name the columns with --map.\n");
}

// Year, month and day columns, the dew point in °F and the wind in mph: the day's ETr is the one
// of the same day typed in with the humidity the dew point gives. A dew point of 67.41 °F at a
// maximum of 86 °F gives e°(19.672 °C) / e°(30 °C) = 2.2917 / 4.2438 kPa = 54.000 % (FAO-56
// Eq. 11), and it is above the minimum of 59 °F, so the maximum humidity is 100 %.
TEST_F(CsvImportCli, DewPointAndMphGiveTheEtOfTheTypedDay)
{
    const std::string weather = write("parts.csv", "Year,Month,Day,Tmax,Tmin,Tdew,Wind (mph),"
                                                   "Solar (W/m2),Precip (in)\n"
                                                   "2022,5,2,86,59,67.41,5,300,0.1\n");
    const CliRun imported =
        import(weather, {"--map", "year=Year,month=Month,day=Day,t_max=Tmax[F],t_min=Tmin[F],"
                                  "dewpoint=Tdew[F],wind=Wind (mph)[mph],solar=Solar (W/m2)[W/m2],"
                                  "rain=Precip (in)[in]"});
    ASSERT_EQ(imported.status, kExitOk) << imported.err;
    const std::string by_hand = dir.file("typed.loc").string();
    ASSERT_EQ(create(by_hand).status, kExitOk);
    ASSERT_EQ(run({"location", "set-day", by_hand, "--date", "2022-05-02", "--tmax", "86", "--tmin",
                   "59", "--rh-max", "100", "--rh-min", "54", "--wind", "120", "--solar", "300",
                   "--rain", "0.1"})
                  .status,
              kExitOk);
    const WeatherDay a = read(loc)->day(1);
    const WeatherDay b = read(by_hand)->day(1);
    EXPECT_EQ(a.rh_max, 1.0f);
    EXPECT_NEAR(a.rh_min, 0.54f, 1e-6f);
    EXPECT_EQ(a.wind_run, b.wind_run);
    EXPECT_EQ(a.t_max, b.t_max);
    EXPECT_GT(a.etr_used, 4.0f);
    EXPECT_NEAR(a.etr_used, b.etr_used, 1e-5f);
}

// Importing corrected values over an import keeps the days and says so; --replace corrects them.
// One value out of range is one line of the summary, the import still succeeds, and the value is
// left unset.
TEST_F(CsvImportCli, KeptDaysReplaceAndOneValueOutOfRange)
{
    const std::string map = "date=Date,t_max=Tmax[F],t_min=Tmin[F]";
    const std::string first = write("first.csv", "Date,Tmax,Tmin\n"
                                                 "2022-05-01,30,10\n2022-05-02,31,11\n");
    ASSERT_EQ(import(first, {"--map", map}).status, kExitOk);
    const std::string corrected = write("corrected.csv", "Date,Tmax,Tmin\n"
                                                         "2022-05-01,86,50\n2022-05-02,88,52\n");
    const auto before = read_file(loc);
    const CliRun again = import(corrected, {"--map", map});
    EXPECT_EQ(again.status, kExitOk);
    EXPECT_EQ(again.out, "No empty day of the season was in the file; " + loc +
                             " is unchanged.\nKept 2 days because they already had data.\n");
    EXPECT_EQ(read_file(loc), before);
    const CliRun replaced = import(corrected, {"--map", map, "--replace"});
    EXPECT_EQ(replaced.out, "Imported 2 days into " + loc + ".\n");
    EXPECT_EQ(read(loc)->day(0).t_max, 30.0f);
    EXPECT_NEAR(read(loc)->day(1).t_min, 100.0f / 9.0f, 1e-5f); // 52 °F

    const std::string hot = write("hot.csv", "Date,Tmax,Tmin\n2022-05-03,86,50\n"
                                             "2022-05-04,230,50\n");
    const CliRun one = import(hot, {"--map", map});
    EXPECT_EQ(one.status, kExitOk);
    EXPECT_EQ(lines(one.out),
              (std::vector<std::string>{"Imported 2 days into " + loc + ".",
                                        "Left 1 value out of range unset: maximum temperature on "
                                        "2022-05-04."}));
    EXPECT_EQ(read(loc)->day(3).t_max, 0.0f);
    EXPECT_EQ(read(loc)->day(3).t_min, 10.0f);
}

TEST_F(CsvImportCli, PresetsAndTheirFile)
{
    const CliRun none = import(write("w.csv", "Date\n"), {"--preset", "nosuch"});
    EXPECT_EQ(none.status, kExitUsage);
    EXPECT_EQ(none.err, "No preset is named \"nosuch\" in csvmaps.txt.\n");
    EXPECT_TRUE(std::filesystem::exists(dir.file("csvmaps.txt"))); // created with the shipped
    const std::string weather = write("coagmet.csv", "Date,Max Temp,Min Temp\n2022-05-01,86,50\n");
    const CliRun imported = import(weather, {"--preset", "coagmet"});
    ASSERT_EQ(imported.status, kExitOk) << imported.err;
    // The preset's columns this export lacks are left out of the map it prints.
    EXPECT_EQ(lines(imported.out)[0], "Map: date=Date,t_max=Max Temp[F],t_min=Min Temp[F]");
    EXPECT_EQ(read(loc)->day(0).t_max, 30.0f);
    EXPECT_EQ(import(weather, {"--preset", "coagmet", "--map", "auto"}).status, kExitUsage);
    EXPECT_EQ(run({"location", "import", loc, "--format", "kansas", "--replace", weather}).status,
              kExitUsage);
}

// The hostile station files: a year that is not the season's, a file newest first, a stray late
// line, and cells that hold no number or an impossible rain.
TEST_F(CsvImportCli, StationFilesKeepTheCalendar)
{
    const auto file = [](const char *name) {
        return test::data_file(std::string("csv_weather/") + name).string();
    };
    const std::string map = "date=date,t_max=t_max[C],t_min=t_min[C]";
    const auto fresh = [&] {
        std::filesystem::remove(loc);
        ASSERT_EQ(create(loc).status, kExitOk);
    };
    const CliRun wrong_year = import(file("wrong_year.csv"), {"--map", map});
    EXPECT_EQ(wrong_year.status, kExitOk);
    EXPECT_TRUE(contains(wrong_year.out, "Skipped 2 lines dated outside the season."));
    EXPECT_EQ(read(loc)->day(0).has_data, 0);
    EXPECT_EQ(read(loc)->day(1).has_data, 0);

    const CliRun years = import(file("years.csv"), {"--map", "year=Year,doy=DOY,t_max=Tmax[C],"
                                                             "t_min=Tmin[C]"});
    EXPECT_TRUE(contains(years.out, "Imported 1 day")) << years.out;
    EXPECT_EQ(read(loc)->day(10).has_data, 1); // 2022 day 131 is 11 May

    fresh();
    const CliRun newest = import(file("newest_first.csv"), {"--map", map});
    EXPECT_TRUE(contains(newest.out, "Imported 215 days")) << newest.out;
    EXPECT_TRUE(contains(newest.out, "Skipped 30 lines dated outside the season."));

    fresh();
    const CliRun stray = import(file("stray_late_row.csv"), {"--map", map});
    EXPECT_TRUE(contains(stray.out, "Imported 60 days")) << stray.out;

    fresh();
    const CliRun bad = import(file("bad_values.csv"), {"--map", map + ",rain=rain[mm]"});
    EXPECT_EQ(bad.status, kExitOk);
    EXPECT_TRUE(contains(bad.out, "Left 4 cells without a number unset.")) << bad.out;
    EXPECT_TRUE(contains(bad.out, "Left 1 value out of range unset: rain on 2022-05-05."));
    const auto location = read(loc);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(location->day(i).t_max, 0.0f) << i;
    EXPECT_EQ(location->day(4).rain, 0.0f);
    EXPECT_EQ(location->day(4).t_max, 25.0f);
}

} // namespace
} // namespace tw::cli
