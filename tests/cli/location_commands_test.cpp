#include "cli/cli.h"

#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/files.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace tw::cli {
namespace {

using test::CliRun;
using test::contains;
using test::lines;

// Each command runs in the scratch folder, with metric display units in its custom.con.
struct LocationCli : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    std::string loc = dir.file("Greeley2022.loc").string();

    void SetUp() override
    {
        ASSERT_EQ(run({"prefs", "set", "depth_unit=0", "height_unit=1", "temperature_unit=0",
                       "wind_unit=1"})
                      .status,
                  kExitOk);
    }
    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return test::run_cli(args);
    }
    CliRun create(std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {"location", "new",         loc,          "--name",
                                         "Greeley",  "--start",     "2022-05-01", "--latitude",
                                         "40.3915",  "--elevation", "1425"};
        args.insert(args.end(), more.begin(), more.end());
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

TEST_F(LocationCli, NewAppliesTheSheetRules)
{
    const CliRun r = create({"--days", "180"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "Created " + loc +
                         ": Greeley2022 - (Location: Greeley), 180 days from 2022-05-01.\n");
    const auto location = read(loc);
    EXPECT_EQ(location->day_count(), 180);
    EXPECT_EQ(location->name, "Greeley");
    EXPECT_EQ(location->elevation, 1425.0f);
    EXPECT_NEAR(location->pressure, 859.887f, 1e-3);
    EXPECT_EQ(location->anemometer_height, 2.0f);
    EXPECT_EQ(location->reference_type, 2);

    // An existing file is never replaced.
    const CliRun again = create();
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_TRUE(contains(again.err, "already exists"));
    EXPECT_EQ(read(loc)->day_count(), 180);
}

TEST_F(LocationCli, NewRefusesWhatTheSheetRefuses)
{
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"--name", "Greeley", "--start", "2022-05-01"},
         kExitFailure,
         "Please click on Station Information tab and enter station data"},
        {{"--name", "", "--start", "2022-05-01", "--latitude", "40"},
         kExitFailure,
         "Please enter a location name"},
        {{"--name", "../x", "--start", "2022-05-01", "--latitude", "40"},
         kExitFailure,
         "cannot name a file"},
        {{"--name", "G", "--start", "2050-05-01", "--latitude", "40"},
         kExitFailure,
         "Please enter a valid Year"},
        {{"--name", "G", "--start", "2022-05-01", "--latitude", "40", "--days", "400"},
         kExitFailure,
         "Please enter an integer between 100 and 365."},
        {{"--name", "G", "--start", "2022-05-01", "--latitude", "40", "--et-method", "penman"},
         kExitUsage,
         "--et-method takes one of: kimberly standardized jensen-haise hargreaves etr"},
        {{"--name", "G", "--start", "2022-05-01", "--station", "Greeley", "--latitude", "40"},
         kExitUsage,
         "either --station"},
        {{"--name", "G", "--start", "2022-05-01", "--station", "Atlantis"},
         kExitUsage,
         "no station named \"Atlantis\""},
        {{"--name", "G", "--start", "2022-05-01", "--latitude", "40", "--delta-t", "2"},
         kExitUsage,
         "--reference none"},
        {{"--name", "G", "--start", "May 1"}, kExitUsage, "--start YYYY-MM-DD"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = {"location", "new", loc};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(contains(r.err, c.message)) << r.err;
        EXPECT_FALSE(file_exists(loc));
    }
}

TEST_F(LocationCli, NewCopiesAStation)
{
    const CliRun r = run({"location", "new", loc, "--name", "G", "--start", "2022-05-01",
                          "--station", "Greeley", "--et-method", "jensen-haise"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto location = read(loc);
    EXPECT_EQ(location->latitude, 40.4f);
    EXPECT_EQ(location->elevation, 1418.0f);
    EXPECT_EQ(location->pressure, 863.4f);
    EXPECT_EQ(location->jh_ct, 0.02502f);
    EXPECT_EQ(location->et_method, JensenHaise);
}

TEST_F(LocationCli, ImportShowAndExport)
{
    ASSERT_EQ(create().status, kExitOk);
    const std::string weather = write("weather.txt", "header line\n"
                                                     "999, 121, 30.0, 12.0, 85, 20, 600, 150, "
                                                     "3.0, 0\n"
                                                     "999, 122, 28.0, 10.0, 80, 25, 550, 120, "
                                                     "1.0, 5.5\n");
    const CliRun imported = run({"location", "import", loc, "--format", "usda", weather});
    ASSERT_EQ(imported.status, kExitOk) << imported.err;
    EXPECT_EQ(imported.out, "Imported 2 days into " + loc + ".\n");

    const CliRun shown = run({"location", "show", loc, "--csv"});
    ASSERT_EQ(shown.status, kExitOk);
    const auto rows = lines(shown.out);
    ASSERT_EQ(rows.size(), 216u);
    EXPECT_EQ(rows[0], "     Date,Rain(mm),Tmin(\u00B0C),Tmax(\u00B0C),SolarRad(cal/cm2 "
                       "day),Min RH(%),Max RH(%),WindSpd(km/day),Etr(mm)");
    EXPECT_TRUE(rows[1].starts_with("05/01/22,3.0,12.0,30.0,600.0,20,85,150.0,")) << rows[1];
    EXPECT_EQ(rows[2], "05/02/22,,10.0,28.0,550.0,25,80,120.0,5.50");
    EXPECT_EQ(rows[3], "05/03/22,,0.0,0.0,0.0,0,0,0.0,0.00");

    const CliRun exported = run({"location", "export", loc});
    ASSERT_EQ(exported.status, kExitOk);
    const auto csv = lines(exported.out);
    ASSERT_EQ(csv.size(), 216u);
    EXPECT_EQ(csv[0], "day,date,has_data,t_min,t_max,rh_min,rh_max,solar_radiation,cloud_cover,"
                      "wind_run,rain,etr,alternate_etr,etr_used");
    EXPECT_EQ(csv[2], "1,2022-05-02,1,10,28,0.25,0.800000012,550,0,120,1,5.5,5.5,5.5");
    EXPECT_EQ(csv[215], "214,2022-12-01,0,0,0,0,0,0,0,0,0,0,0,0");

    // The same file again fills nothing and leaves the file as it was.
    const auto before = read_file(loc);
    const CliRun again = run({"location", "import", loc, "--format", "usda", weather});
    EXPECT_EQ(again.status, kExitOk);
    EXPECT_TRUE(contains(again.out, "unchanged"));
    EXPECT_EQ(read_file(loc), before);
}

TEST_F(LocationCli, ImportFailures)
{
    ASSERT_EQ(create().status, kExitOk);
    const auto before = read_file(loc);
    const std::string missing = dir.file("none.txt").string();
    const CliRun r = run({"location", "import", loc, "--format", "kansas", missing});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_TRUE(contains(r.err, missing + " File Not Found For Weather Importing!!"));
    EXPECT_EQ(run({"location", "import", loc, "--format", "csv", missing}).status, kExitUsage);
    EXPECT_EQ(run({"location", "import", loc, missing}).status, kExitUsage);
    EXPECT_EQ(read_file(loc), before);
}

// Tillwise 1 offered one JVU import, of the old line format, and no CSV import.
TEST_F(LocationCli, Release1ImportsOneJvuFormatAndNoCsv)
{
    ASSERT_EQ(create().status, kExitOk);
    const std::string weather =
        write("jvu.txt", "STATION HEADER\n144,121,0,28.5,0,11.0,0,0,0.9,0,0.3,0,25.0,180.0,1.5\n");
    const auto import_as = [&](std::vector<std::string> format) {
        std::vector<std::string> args = {"--release", "1", "location", "import", loc};
        args.insert(args.end(), format.begin(), format.end());
        args.push_back(weather);
        return run(args);
    };
    for (const char *later : {"jvu-new", "jvu-old"}) {
        const CliRun refused = import_as({"--format", later});
        EXPECT_EQ(refused.status, kExitUsage);
        EXPECT_EQ(refused.err, "Option --format takes one of: jvu usda usda-no-rh kansas.\n");
    }
    EXPECT_EQ(import_as({"--format", "csv", "--map", "date=Date"}).status, kExitUsage);
    const CliRun imported = import_as({"--format", "jvu"});
    ASSERT_EQ(imported.status, kExitOk) << imported.err;
    EXPECT_EQ(imported.out, "Imported 1 day into " + loc + ".\n");
}

// A station network's export: humidity as fractions, solar radiation as the day's mean W/m2,
// wind run in km/day. Imported through a map it gives the ETr of the same values typed in the day
// entry with radiation shown in W/m2, for both Penman equations.
TEST_F(LocationCli, CsvFromAStationNetworkGivesTheEtOfTheTypedValues)
{
    const std::string weather =
        write("network.csv", "\xEF\xBB\xBFStation,Date,\"Max Air Temp, C\",Min Air Temp C,"
                             "Max RH,Min RH,Solar Rad W/m2,Wind Run km/day,Precip mm\n"
                             "GLY04,05/01/2022,24.3,6.1,0.91,0.18,287.5,166.0,0\n"
                             "GLY04,05/02/2022,18.7,8.4,0.97,0.41,170.2,310.4,4.6\n"
                             "\n"
                             "GLY04,05/03/2022,27.9,9.0,0.66,0.12,301.0,142.9,M\n");
    const std::string map = "date=Date,t_max=Max Air Temp, C[C],t_min=Min Air Temp C[C],"
                            "rh_max=Max RH[fraction],rh_min=Min RH[fraction],"
                            "solar=Solar Rad W/m2[W/m2],wind=Wind Run km/day[km/day],"
                            "rain=Precip mm[mm]";
    // The column name with a comma is quoted in the map, as in the file.
    const std::string quoted_map =
        "date=Date,\"t_max=Max Air Temp, C[C]\"" + map.substr(map.find(",t_min"));
    struct Day
    {
        const char *date, *t_max, *t_min, *rh_max, *rh_min, *solar, *wind, *rain;
    };
    const Day typed[] = {{"2022-05-01", "24.3", "6.1", "91", "18", "287.5", "166.0", "0"},
                         {"2022-05-02", "18.7", "8.4", "97", "41", "170.2", "310.4", "4.6"},
                         {"2022-05-03", "27.9", "9.0", "66", "12", "301.0", "142.9", "0"}};
    ASSERT_EQ(run({"prefs", "set", "radiation_unit=6"}).status, kExitOk);
    for (const char *method : {"kimberly", "standardized"}) {
        SCOPED_TRACE(method);
        const std::string by_hand = dir.file(std::string("typed-") + method + ".loc").string();
        ASSERT_EQ(create({"--et-method", method}).status, kExitOk);
        ASSERT_EQ(run({"location", "new", by_hand, "--name", "ByHand", "--start", "2022-05-01",
                       "--latitude", "40.3915", "--elevation", "1425", "--et-method", method})
                      .status,
                  kExitOk);
        const CliRun imported =
            run({"location", "import", loc, "--format", "csv", "--map", quoted_map, weather});
        ASSERT_EQ(imported.status, kExitOk) << imported.err;
        EXPECT_EQ(imported.out, "Imported 3 days into " + loc +
                                    ".\nLeft 1 cell without a number unset.\n"); // the "M"
        for (const Day &d : typed)
            ASSERT_EQ(run({"location", "set-day", by_hand, "--date", d.date, "--tmax", d.t_max,
                           "--tmin", d.t_min, "--rh-max", d.rh_max, "--rh-min", d.rh_min, "--solar",
                           d.solar, "--wind", d.wind, "--rain", d.rain})
                          .status,
                      kExitOk);
        const auto from_csv = read(loc);
        const auto from_typing = read(by_hand);
        for (int i = 0; i < 3; ++i) {
            const WeatherDay &a = from_csv->day(i);
            const WeatherDay &b = from_typing->day(i);
            EXPECT_EQ(a.solar_radiation, b.solar_radiation) << i;
            EXPECT_EQ(a.rh_max, b.rh_max) << i;
            EXPECT_GT(a.etr_used, 2.0f) << i;
            EXPECT_EQ(a.etr_used, b.etr_used) << i;
        }
        EXPECT_EQ(from_csv->day(1).rain, 4.6f);
        EXPECT_EQ(from_csv->day(2).rain, 0.0f); // "M": no value
        std::filesystem::remove(loc);
    }
    const CliRun unmapped =
        run({"location", "import", loc, "--format", "csv", "--map", map, weather});
    EXPECT_EQ(unmapped.status, kExitUsage); // the unquoted comma splits the entry
}

TEST_F(LocationCli, SetDayIsTheDayEntry)
{
    ASSERT_EQ(create().status, kExitOk);
    const CliRun r = run({"location", "set-day", loc, "--date", "2022-05-03", "--tmin", "12",
                          "--tmax", "30", "--rh-min", "53", "--rh-max", "85", "--solar", "600",
                          "--wind", "150", "--rain", "2.5"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(r.out.starts_with("Saved 2022-05-03 (day 2): Etr ")) << r.out;
    auto location = read(loc);
    EXPECT_EQ(location->day(2).has_data, 1);
    EXPECT_EQ(location->day(2).rh_min, 0.53f);
    EXPECT_GT(location->day(2).etr_used, 5.0f);

    const CliRun typed =
        run({"location", "set-day", loc, "--date", "2022-05-03", "--alternate-etr", "4.25"});
    ASSERT_EQ(typed.status, kExitOk);
    EXPECT_EQ(typed.out, "Saved 2022-05-03 (day 2): Etr 4.25 mm.\n");
    location = read(loc);
    EXPECT_EQ(location->day(2).rh_min, 0.53f); // kept from the day as it stood
    EXPECT_EQ(location->day(2).t_max, 30.0f);

    const CliRun cloudy = run(
        {"location", "set-day", loc, "--date", "2022-05-04", "--cloud-cover", "4", "--tmax", "20"});
    ASSERT_EQ(cloudy.status, kExitOk) << cloudy.err;
    EXPECT_EQ(read(loc)->day(3).cloud_cover, 4);
    EXPECT_GT(read(loc)->day(3).solar_radiation, 100.0f);

    const auto before = read_file(loc);
    EXPECT_EQ(run({"location", "set-day", loc, "--date", "2022-04-30"}).status, kExitFailure);
    EXPECT_EQ(run({"location", "set-day", loc, "--date", "2022-12-02"}).status, kExitFailure);
    const CliRun wet = run({"location", "set-day", loc, "--date", "2022-05-05", "--rh-max", "101"});
    EXPECT_EQ(wet.status, kExitFailure);
    EXPECT_TRUE(contains(wet.err, "Please enter an integer between 0 and 100."));
    EXPECT_EQ(run({"location", "set-day", loc, "--date", "2022-05-05", "--solar", "1",
                   "--cloud-cover", "1"})
                  .status,
              kExitUsage);
    EXPECT_EQ(read_file(loc), before);
}

TEST_F(LocationCli, EditResizesAndShowsTheEquationsColumns)
{
    ASSERT_EQ(create().status, kExitOk);
    const CliRun r = run({"location", "edit", loc, "--days", "150", "--et-method", "etr"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "Saved " + loc + ": 150 days.\n");
    EXPECT_EQ(read(loc)->day_count(), 150);
    const CliRun shown = run({"location", "show", loc});
    EXPECT_EQ(lines(shown.out)[0], "     Date  Rain(mm)  Etr(mm)");
    EXPECT_EQ(lines(shown.out)[1], "05/01/22" + std::string(13, ' ') + "0.00");
}

TEST_F(LocationCli, DamagedFilesAreShownButNeverSavedOver)
{
    ASSERT_EQ(create().status, kExitOk);
    auto bytes = *read_file(loc);
    bytes.resize(20); // inside the header
    const std::string damaged = dir.file("damaged.loc").string();
    ASSERT_TRUE(write_file_atomic(damaged, bytes));
    const CliRun edit = run({"location", "edit", damaged, "--days", "200"});
    EXPECT_EQ(edit.status, kExitFailure);
    EXPECT_TRUE(contains(edit.err, std::string(kArchiveErrorMessage)));
    EXPECT_EQ(read_file(damaged), bytes);
    const CliRun shown = run({"location", "export", damaged});
    EXPECT_EQ(shown.status, kExitFailure);
    EXPECT_EQ(lines(shown.out).size(), 1u);
    EXPECT_EQ(run({"location", "show", dir.file("none.loc").string()}).status, kExitFailure);
}

TEST_F(LocationCli, AFailedSaveIsReported)
{
    write("plain", "not a folder");
    const std::string target = dir.file("plain/Greeley.loc").string();
    const CliRun r = run(
        {"location", "new", target, "--name", "G", "--start", "2022-05-01", "--latitude", "40"});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_FALSE(contains(r.err, std::string(kArchiveErrorMessage)));
    EXPECT_TRUE(contains(r.err, "Unable to save the location file " + target + ": "));
    EXPECT_TRUE(contains(r.err, "Not a directory"));
}

// `location import --format csv` with US display units (°F, in, mi/day, W/m2), so that a day typed
// by hand goes through the same conversions as the file.
struct CsvImportCli : LocationCli
{
    void SetUp() override
    {
        ASSERT_EQ(run({"prefs", "set", "depth_unit=1", "temperature_unit=1", "wind_unit=0",
                       "radiation_unit=6"})
                      .status,
                  kExitOk);
        ASSERT_EQ(create_at(loc).status, kExitOk);
    }
    CliRun create_at(const std::string &file)
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
    ASSERT_EQ(create_at(loc).status, kExitOk);
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
    ASSERT_EQ(create_at(by_hand).status, kExitOk);
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
    EXPECT_EQ(run({"location", "import", loc, "--format", "kansas", "--save-preset", "k", weather})
                  .status,
              kExitUsage);

    // A map typed once is kept under a name, and a later file of the network is read by it.
    const std::string typed = "date=Day,t_max=Hi[F],t_min=Lo[F]";
    const std::string mine = write("mine.csv", "Day,Hi,Lo\n2022-05-02,77,41\n");
    const auto presets_before = read_file(dir.file("csvmaps.txt"));
    const CliRun bad = import(mine, {"--map", typed, "--save-preset", "my net"});
    EXPECT_EQ(bad.status, kExitUsage);
    EXPECT_TRUE(bad.err.starts_with("A preset's name is 1 to ")) << bad.err;
    EXPECT_EQ(read_file(dir.file("csvmaps.txt")), presets_before);
    EXPECT_EQ(read(loc)->day(1).t_max, 0.0f); // refused before anything was imported
    const CliRun saved = import(mine, {"--map", typed, "--save-preset", "my-net"});
    ASSERT_EQ(saved.status, kExitOk) << saved.err;
    EXPECT_EQ(lines(saved.out)[0], "Saved the map as the preset \"my-net\" in csvmaps.txt.");
    EXPECT_EQ(read(loc)->day(1).t_max, 25.0f); // 77 °F
    const CliRun next =
        import(write("next.csv", "Day,Hi,Lo\n2022-05-03,86,50\n"), {"--preset", "MY-NET"});
    ASSERT_EQ(next.status, kExitOk) << next.err;
    EXPECT_EQ(lines(next.out)[0], "Map: " + typed);
    EXPECT_EQ(read(loc)->day(2).t_max, 30.0f); // 86 °F
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
        ASSERT_EQ(create_at(loc).status, kExitOk);
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
