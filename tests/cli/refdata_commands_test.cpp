#include "platform/files.h"
#include "platform/record_codec.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tw::cli {
namespace {

using test::CliRun;

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// Each command runs in the scratch folder, as tillwise-cli --workdir DIR would.
struct RefdataCli : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return test::run_cli(args);
    }
    std::vector<std::string> lines(const std::string &text)
    {
        std::vector<std::string> result;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }
    std::vector<std::uint8_t> custom_con()
    {
        return read_file(dir.file("custom.con")).value_or(std::vector<std::uint8_t>{});
    }
};

TEST_F(RefdataCli, DbInitCreatesTheMissingFilesOnce)
{
    const CliRun first = run({"db", "init"});
    EXPECT_EQ(first.status, kExitOk);
    EXPECT_EQ(size_of_file(dir.file("soil.db")), 624u);
    EXPECT_EQ(size_of_file(dir.file("station.db")), 1700u);
    EXPECT_EQ(size_of_file(dir.file("crop.db")), 2008u);
    EXPECT_TRUE(contains(first.err, "Can't Find Soil Database File!!\nCreating a New Database "
                                    "with Default Soils."));
    EXPECT_TRUE(contains(first.err, "Can't Find Station Database File!!"));
    EXPECT_TRUE(contains(first.err, "Can't Find Crop Database File!!"));
    EXPECT_EQ(first.out, "Created soil.db (13 records, 624 bytes).\n"
                         "Created crop.db (1 record, 2008 bytes).\n"
                         "Created station.db (25 records, 1700 bytes).\n");

    const CliRun second = run({"db", "init"});
    EXPECT_EQ(second.status, kExitOk);
    EXPECT_FALSE(contains(second.err, "Can't Find"));
    EXPECT_EQ(second.out, "Nothing to create: soil.db, crop.db and station.db are there.\n");

    std::filesystem::remove(dir.file("crop.db"));
    EXPECT_EQ(run({"db", "init"}).out, "Created crop.db (1 record, 2008 bytes).\n");
}

// After db init no command of the folder reports a missing file, and a second init keeps the
// preferences the user set.
TEST_F(RefdataCli, DbInitMakesTheFolderWhole)
{
    ASSERT_EQ(run({"db", "init"}).status, kExitOk);
    for (const char *name : {"custom.con", "METHOD_2.KB", "N_FERT.LIB", "P_FERT.LIB", "K_FERT.LIB",
                             "INPUT.KB", "REC.KB"})
        EXPECT_TRUE(file_exists(dir.file(name))) << name;
    EXPECT_EQ(size_of_file(dir.file("custom.con")), kCustomSettingsSize);
    const CliRun shown = run({"prefs", "show"});
    EXPECT_EQ(shown.err, "");

    ASSERT_EQ(run({"prefs", "set", "depth_unit=mm"}).status, kExitOk);
    std::filesystem::remove(dir.file("REC.KB"));
    ASSERT_EQ(run({"db", "init"}).status, kExitOk);
    EXPECT_TRUE(file_exists(dir.file("REC.KB")));
    EXPECT_TRUE(contains(run({"prefs", "show"}).out, "\ndepth_unit           0          mm\n"));
}

TEST_F(RefdataCli, Release1DatabasesListTheSameAfterTheirMigration)
{
    const CliRun init = run({"--release", "1", "db", "init"});
    EXPECT_EQ(init.status, kExitOk);
    EXPECT_EQ(size_of_file(dir.file("crop.db")), 928u);
    EXPECT_EQ(size_of_file(dir.file("station.db")), 1300u);
    const std::string crops = run({"--release", "1", "db", "list", "crops", "--csv"}).out;
    const std::string stations = run({"--release", "1", "db", "list", "stations", "--csv"}).out;
    EXPECT_EQ(lines(stations).size(), 26u);

    const CliRun refused = run({"db", "list", "crops"});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_TRUE(contains(refused.err, "db migrate --from-release 1"));

    const CliRun migrate = run({"db", "migrate", "--from-release", "1"});
    EXPECT_EQ(migrate.status, kExitOk) << migrate.err;
    EXPECT_EQ(migrate.out, "Migrated crop.db: 1 record, 928 bytes to 2008 bytes; the old file is "
                           "crop.db.release1.\nMigrated station.db: 25 records, 1300 bytes to "
                           "1700 bytes; the old file is station.db.release1.\n");
    EXPECT_EQ(run({"db", "list", "crops", "--csv"}).out, crops);
    EXPECT_EQ(run({"db", "list", "stations", "--csv"}).out, stations);

    const CliRun again = run({"db", "migrate", "--from-release", "1", dir.path().string()});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_TRUE(contains(again.err, "Nothing was changed."));
    EXPECT_EQ(run({"db", "migrate", "--from-release", "2"}).status, kExitUsage);
    EXPECT_EQ(run({"--release", "3", "db", "list", "crops"}).status, kExitUsage);
}

TEST_F(RefdataCli, SoilsAreListedInTheDisplaySoilMoistureUnit)
{
    const CliRun r = run({"db", "list", "soils"});
    EXPECT_EQ(r.status, kExitOk);
    const auto table = lines(r.out);
    ASSERT_EQ(table.size(), 14u);
    EXPECT_EQ(table[0],
              "Soil Name        Soil Type        SM_FC (in/ft)  SM_PWP (in/ft)  AWHC (in/ft)");
    EXPECT_EQ(table[4], "Loam             Loam             4.110          1.600           2.510");

    ASSERT_EQ(run({"prefs", "set", "soil_moisture_unit=mm/cm"}).status, kExitOk);
    const auto csv = lines(run({"db", "list", "soils", "--csv"}).out);
    ASSERT_EQ(csv.size(), 14u);
    EXPECT_EQ(csv[0], "Soil Name,Soil Type,SM_FC (mm/cm),SM_PWP (mm/cm),AWHC (mm/cm)");
    EXPECT_EQ(csv[4], "Loam,Loam,3.425,1.333,2.092");
}

TEST_F(RefdataCli, ATrailingPartialRecordIsNotListed)
{
    std::vector<SoilRecord> soils(3);
    soils[0].name = "Adobe";
    soils[1].name = "Loam";
    soils[2].name = "Silt";
    ASSERT_TRUE(db_Write(DbSoils, soils));
    auto bytes = read_file(dir.file("soil.db")).value();
    bytes.resize(100);
    ASSERT_TRUE(write_file_atomic(dir.file("soil.db"), bytes));

    const auto csv = lines(run({"db", "list", "soils", "--csv"}).out);
    ASSERT_EQ(csv.size(), 3u);
    EXPECT_TRUE(csv[1].starts_with("Adobe,"));
    EXPECT_TRUE(csv[2].starts_with("Loam,"));
    EXPECT_EQ(size_of_file(dir.file("soil.db")), 100u);
}

TEST_F(RefdataCli, StationsAndCropsAreListedInDisplayUnits)
{
    auto csv = lines(run({"db", "list", "stations", "--csv"}).out);
    ASSERT_EQ(csv.size(), 26u);
    EXPECT_EQ(csv[0], "Station,Elevation (ft),Latitude (Deg. N),Pressure (mb),Min Temp (\u00B0F),"
                      "Max Temp (\u00B0F),Ct (1/\u00B0F),Tx (\u00B0F),Anemometer Height (ft),"
                      "Reference Crop,Kzero,DeltaT");
    EXPECT_EQ(csv[1], "Akron,4662,40.10,863.08,58.6,88.2,0.01350,15.62,6.56,Tall (Alfalfa),0.000,"
                      "0.000");

    ASSERT_EQ(run({"prefs", "set", "height_unit=m", "temperature_unit=C", "pressure_unit=kPa",
                   "depth_unit=mm"})
                  .status,
              kExitOk);
    csv = lines(run({"db", "list", "stations", "--csv"}).out);
    ASSERT_EQ(csv.size(), 26u);
    EXPECT_EQ(csv[25], "Kansas,674,37.90,96.00,15.5,32.2,0.02800,-10.78,2.00,Tall (Alfalfa),0.000,"
                       "0.000");

    csv = lines(run({"db", "list", "crops", "--csv"}).out);
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_EQ(csv[0], "Crop Name,Hybrid Type,Maximum Harvests/Season,Planting Depth (mm),"
                      "Maximum Depth (mm),Min Temperature (\u00B0C),Max Temperature (\u00B0C),"
                      "Average Yield,Yield Units,Growth Stages");
    EXPECT_EQ(csv[1], "CORN,MIDSEASON,1,50.00,1200.00,10.0,30.0,150,BU/Acre,12");
}

// Each shipped crop's yield goal is asked in its own unit, from its own average.
TEST_F(RefdataCli, TheCompleteCropsListTheirOwnYieldUnits)
{
    const CliRun init = run({"db", "init", "--complete-crops"});
    ASSERT_EQ(init.status, kExitOk) << init.err;
    const auto csv = lines(run({"db", "list", "crops", "--csv"}).out);
    ASSERT_EQ(csv.size(), 14u);
    std::vector<std::string> yields;
    for (std::size_t i = 1; i < csv.size(); ++i) {
        // Crop name first; average yield and yield units are the last columns but one.
        const auto last = csv[i].rfind(',');
        const auto units = csv[i].rfind(',', last - 1);
        const auto average = csv[i].rfind(',', units - 1);
        yields.push_back(csv[i].substr(0, csv[i].find(',')) + " " +
                         csv[i].substr(average + 1, last - average - 1));
    }
    EXPECT_EQ(yields, (std::vector<std::string>{
                          "ALFALFA 5,Tons/Acre", "BARLEY 120,BU/Acre", "CORN 150,BU/Acre",
                          "COTTON 12,CWT/Acre", "DRY BEANS 22,CWT/Acre", "ONIONS 500,CWT/Acre",
                          "POTATOES 400,CWT/Acre", "SORGHUM 120,BU/Acre", "SOYBEANS 65,BU/Acre",
                          "SPRING WHEAT 90,BU/Acre", "SUGARBEETS 30,Tons/Acre",
                          "SUNFLOWERS 25,CWT/Acre", "WINTER WHEAT 100,BU/Acre"}));
}

TEST_F(RefdataCli, DbListRefusesWhatItCannotList)
{
    EXPECT_EQ(run({"db", "list"}).status, kExitUsage);
    EXPECT_EQ(run({"db", "list", "fertilizers"}).status, kExitUsage);
    EXPECT_EQ(run({"db", "list", "soils", "crops"}).status, kExitUsage);
    EXPECT_EQ(run({"db", "list", "soils", "--tsv"}).status, kExitUsage);
    EXPECT_EQ(run({"db", "init", "now"}).status, kExitUsage);
    EXPECT_FALSE(file_exists(dir.file("soil.db")));
}

TEST_F(RefdataCli, AFileThatCanNeitherBeReadNorCreatedFailsTheCommand)
{
    std::filesystem::create_directory(dir.file("station.db"));
    const CliRun list = run({"db", "list", "stations"});
    EXPECT_EQ(list.status, kExitFailure);
    EXPECT_TRUE(contains(list.err, "Can't Find Station Database File!!"));
    EXPECT_TRUE(contains(list.err, "ERROR: Can't Open Station Database File in "
                                   "[db_CreateStation()]!!"));
    EXPECT_EQ(list.out, "");

    const CliRun init = run({"db", "init"});
    EXPECT_EQ(init.status, kExitFailure);
    EXPECT_TRUE(file_exists(dir.file("soil.db")));
    EXPECT_TRUE(contains(init.out, "Created soil.db"));
}

TEST_F(RefdataCli, PrefsShowGivesTheDefaultsAndTheMissingFileMessage)
{
    const CliRun r = run({"prefs", "show"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_TRUE(contains(r.err, "Unable to Find the Customization File.  You Can Create One With "
                                "the Customize Options."));
    const auto table = lines(r.out);
    ASSERT_EQ(table.size(), 39u);
    EXPECT_EQ(table[0], "Field                Value      Meaning");
    EXPECT_EQ(table[1], "crop_growth_basis    0          Season Days");
    EXPECT_EQ(table[3], "moisture_display     1          Deficit");
    EXPECT_EQ(table[4], "depth_unit           1          in");
    EXPECT_EQ(table[9], "temperature_unit     1          \u00B0F");
    EXPECT_EQ(table[13], "albedo               0.23");
    EXPECT_EQ(table[18], "rso_mean_elev        0.0007813");
    EXPECT_EQ(table[38], "jh_tx_elev_divisor   550");
    EXPECT_FALSE(file_exists(dir.file("custom.con")));
}

TEST_F(RefdataCli, PrefsSetWritesTheWholeRecord)
{
    const CliRun r = run({"prefs", "set", "depth_unit=mm"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_TRUE(contains(r.out, "depth_unit = 0 (mm)"));
    const auto bytes = custom_con();
    ASSERT_EQ(bytes.size(), 152u);
    EXPECT_EQ(codec::get_i32(bytes, 12), 0);
    const CustomSettingsImage defaults = encode_custom_settings(CustomSettings{});
    EXPECT_TRUE(std::equal(bytes.begin() + 48, bytes.end(), defaults.begin() + 48));

    // The next run starts from the saved file, without the missing-file message.
    const CliRun show = run({"prefs", "show"});
    EXPECT_FALSE(contains(show.err, "Unable to Find"));
    EXPECT_TRUE(contains(show.out, "depth_unit           0          mm"));
}

TEST_F(RefdataCli, PrefsSetTakesCodesLabelsAndChoiceTexts)
{
    struct Case
    {
        std::string assignment;
        std::size_t offset;
        std::int32_t code;
    };
    const Case cases[] = {
        {"depth_unit=cm", 12, 2},
        {"depth_unit=IN", 12, 1},
        {"depth_unit=0", 12, 0},
        {"temperature_unit=\u00B0C", 32, 0},
        {"temperature_unit=C", 32, 0},
        {"temperature_unit=f", 32, 1},
        {"temperature_unit=Celsius", 32, 0},
        {"soil_moisture_unit=in water / in soil", 20, 0},
        {"radiation_unit=W hr/m2 day", 24, 5},
        {"radiation_unit=6", 24, 6},
        {"pressure_unit=PSI", 28, 3},
        {"wind_unit=m/s", 36, 4},
        {"latent_heat_unit=KWhr/kg", 40, 4},
        {"height_unit=mi", 16, 3},
        {"crop_growth_basis=Growing Degree Days", 0, 1},
        {"root_depth_model=1", 4, 1},
        {"moisture_display=available depth", 8, 0},
        {"moisture_display=2", 8, 2},
        {"cloud_cover_input=Cloud Cover Based", 44, 1},
        {"vpd_method=1", 52, 1},
        {"soil_heat_method=2", 56, 2},
    };
    for (const Case &c : cases) {
        const CliRun r = run({"prefs", "set", c.assignment});
        EXPECT_EQ(r.status, kExitOk) << c.assignment << ": " << r.err;
        EXPECT_EQ(codec::get_i32(custom_con(), c.offset), c.code) << c.assignment;
    }
    ASSERT_EQ(run({"prefs", "set", "albedo=0.25", "jh_tx_base=-3"}).status, kExitOk);
    EXPECT_EQ(codec::get_f32(custom_con(), 48), 0.25f);
    EXPECT_EQ(codec::get_f32(custom_con(), 140), -3.0f);
}

TEST_F(RefdataCli, PrefsSetRefusesUnknownKeysAndValuesAndSavesNothing)
{
    struct Case
    {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{}, "usage: tillwise-cli prefs set"},
        {{"colour=red"}, "Unknown preference \"colour\""},
        {{"depth_unit"}, "Expected KEY=VALUE, not \"depth_unit\""},
        {{"depth_unit=furlong"}, "depth_unit takes one of 0 (mm), 1 (in), 2 (cm), not \"furlong\""},
        {{"height_unit=7"}, "height_unit takes one of"},
        {{"temperature_unit=2"}, "temperature_unit takes one of 0 (\u00B0C), 1 (\u00B0F), not"},
        {{"temperature_unit=K"}, "temperature_unit takes one of"},
        {{"moisture_display=3"}, "moisture_display takes one of 0 (Available Depth)"},
        {{"vpd_method=4"}, "vpd_method takes one of 1 ("},
        {{"soil_heat_method=0"}, "soil_heat_method takes one of"},
        {{"crop_growth_basis=1.5"}, "crop_growth_basis takes one of"},
        {{"albedo=high"}, "albedo takes a number, not \"high\""},
        {{"albedo=inf"}, "albedo takes a number"},
        {{"albedo="}, "albedo takes a number"},
        {{"depth_unit=mm", "bogus=1"}, "Unknown preference \"bogus\""},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = {"prefs", "set"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = run(args);
        EXPECT_NE(r.status, kExitOk) << c.message;
        EXPECT_TRUE(contains(r.err, c.message)) << r.err;
        EXPECT_FALSE(file_exists(dir.file("custom.con"))) << c.message;
    }
}

TEST_F(RefdataCli, PrefsSetReportsAFileItCannotWrite)
{
    std::filesystem::create_directory(dir.file("custom.con"));
    const CliRun r = run({"prefs", "set", "depth_unit=mm"});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_TRUE(contains(r.err, "ERROR: Can't Save to Customization File"));
    EXPECT_FALSE(contains(r.out, "Saved"));
}

TEST_F(RefdataCli, TheDemoCreatesTheReferenceFiles)
{
    const CliRun r = run({"demo"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(size_of_file(dir.file("custom.con")), 152u);
    EXPECT_EQ(size_of_file(dir.file("soil.db")), 624u);
    EXPECT_EQ(size_of_file(dir.file("crop.db")), 2008u);
    EXPECT_EQ(size_of_file(dir.file("station.db")), 1700u);
    EXPECT_TRUE(contains(r.out, "Created custom.con"));
    EXPECT_TRUE(contains(r.out, "Created station.db"));
}

} // namespace
} // namespace tw::cli
