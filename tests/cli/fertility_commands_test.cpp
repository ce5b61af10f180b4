#include "fertility/nutrient_file.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "refdata/database.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace tw::cli {
namespace {

using test::CliRun;
using test::contains;

std::string example(const std::string &name)
{
    return test::read_text(std::filesystem::path(TILLWISE_SOURCE_DIR) / "data" / "examples" / name);
}

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> csv_cells(const std::string &line)
{
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    return cells;
}

/// Ten weeks of warm weather from 1 May 2022 as a JVU (new) import file: station, date, then
/// maximum and minimum temperature, humidity, solar radiation, wind run and rain, each with the
/// time it was read.
std::string season_weather()
{
    std::string text;
    for (int i = 0; i < 70; ++i) {
        const CivilDate date = civil_from_serial(serial_from_civil(2022, 5, 1) + i);
        const double t_max = 27.0 + 5.0 * std::sin(i / 8.0);
        text += strprintf("GRLY1,%04d-%02d-%02d,0,%.1f,15:00:00,%.1f,05:00:00,0,85,05:00:00,25,"
                          "15:00:00,26.5,160,%.1f\n",
                          date.year, date.month, date.day, t_max, t_max - 14.0,
                          i % 11 == 3 ? 30.0 : 0.0);
    }
    return text;
}

// The Greeley season made and imported through the location commands, and a field "north" planted
// on 10 May: its nutrient files are north22.FRT and north22.LCH whatever its own file is called.
struct FertilityCli : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    std::string loc = dir.file("greeley.loc").string();
    std::string fld = dir.file("plot-7.fld").string();
    std::string answers = dir.file("answers.ini").string();

    void SetUp() override
    {
        const std::string weather = dir.file("greeley.txt").string();
        std::ofstream(weather) << season_weather();
        ASSERT_EQ(run({"location", "new", loc, "--name", "Greeley", "--start", "2022-05-01",
                       "--days", "100", "--latitude", "40.39", "--elevation", "1425"})
                      .status,
                  kExitOk);
        const CliRun imported = run({"location", "import", loc, "--format", "jvu-new", weather});
        ASSERT_TRUE(contains(imported.out, "Imported 70 days")) << imported.out << imported.err;
    }

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return test::run_cli(args);
    }

    std::vector<std::string> new_field_args(const std::string &file, const std::string &crop)
    {
        return {"field",  "new",        file,         "--location", loc,
                "--name", "north",      "--crop",     crop,         "--soil",
                "Loam",   "--planting", "2022-05-10", "--system",   "9"};
    }

    /// A new field of the crop, then its consultation from an example answers file.
    CliRun consult_new_field(const std::string &crop, const std::string &example_file)
    {
        EXPECT_EQ(run(new_field_args(fld, crop)).status, kExitOk);
        return consult(example(example_file));
    }

    CliRun consult(const std::string &text, std::vector<std::string> global = {})
    {
        std::ofstream(answers) << text;
        global.insert(global.end(), {"fertility", fld, "--location", loc, "--answers", answers});
        return run(global);
    }

    std::vector<std::vector<std::string>> exported_days()
    {
        std::vector<std::vector<std::string>> days;
        std::istringstream in(run({"field", "export", fld, "--location", loc}).out);
        std::string line;
        std::getline(in, line); // the titles
        while (std::getline(in, line) && !line.starts_with("#"))
            days.push_back(csv_cells(line));
        return days;
    }
};

constexpr std::size_t kNitrateAvailable = 23, kUptake = 22;

TEST_F(FertilityCli, CornConsultationWritesBothFilesAndFeedsTheField)
{
    const CliRun r = consult_new_field("corn", "corn_preseason.ini");
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "Pre-Season Results\n"));
    EXPECT_TRUE(contains(r.out, "Nebraska  Soil Testing Method:"));
    EXPECT_TRUE(contains(r.out, "Phosphorus Recommendation: 50 lb/acre"));
    EXPECT_TRUE(contains(r.out, "Potassium Recommendation: 40 lb/acre"));
    EXPECT_TRUE(contains(r.out, "\nNitrogen Mass Balance Method\n  "));
    EXPECT_TRUE(contains(r.out, "Nitrogen Recomendation   \n"));
    EXPECT_TRUE(contains(r.out, "Fertilizer Application Schedule\n"));
    EXPECT_TRUE(contains(r.out, "Totals (lb/acre): Nitrogen "));
    EXPECT_TRUE(contains(r.out, "Wrote north22.FRT (664 bytes) and north22.LCH (6 entries)."));
    EXPECT_EQ(size_of_file(dir.file("north22.FRT")), kNutrientFileSize);
    EXPECT_EQ(size_of_file(dir.file("north22.LCH")), 6 * kScheduleEntrySize);

    const auto days = exported_days();
    ASSERT_GT(days.size(), 40u);
    EXPECT_GT(std::stof(days[0][kNitrateAvailable]), 0.0f);
    EXPECT_GT(std::stof(days[40][kUptake]), 0.0f);
    EXPECT_LT(std::stof(days[40][kNitrateAvailable]), std::stof(days[0][kNitrateAvailable]));
}

TEST_F(FertilityCli, ASecondConsultationOfTheCornFieldCorrectsAtMidseason)
{
    ASSERT_EQ(consult_new_field("corn", "corn_preseason.ini").status, kExitOk);
    NutrientBlock preseason;
    ASSERT_EQ(read_nutrient_file("north22", preseason), 1);
    ASSERT_GT(preseason.first_entry_nitrogen, 0);
    const CliRun r = consult("[midseason]\nNew Soil test Available = yes\n"
                             "Date Soil Test Taken = 2022-06-20\n"
                             "[Soil Test]\nSoil Nitrate = 4\n"
                             "[Midseason Correction Results]\nNumber of Fertigations = 2\n"
                             "[Fertigation #1 (Nitrogen)]\nmaterial = Urea\nstate = Liquid\n"
                             "method = Sprinkler Applicate\n"
                             "[Fertigation #2 (Nitrogen)]\nmaterial = Urea\nstate = Liquid\n"
                             "method = Top Dress\n");
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "Midseason Correction Results\nPre-Season Test"));
    EXPECT_TRUE(contains(r.out, "New Soil Test"));
    EXPECT_TRUE(contains(r.out, "north22.LCH (2 entries)"));
    NutrientBlock block;
    ASSERT_EQ(read_nutrient_file("north22", block), 1);
    EXPECT_EQ(block.inputs.midseason_mode, 1);
    EXPECT_EQ(block.inputs.soil_nitrate, 6.0f) << "the pre-season soil test is kept";
    EXPECT_EQ(block.inputs.soil_test_date, serial_from_civil(2022, 6, 20));
    EXPECT_EQ(block.first_entry_nitrogen, preseason.first_entry_nitrogen)
        << "the preplant nitrogen survives the correction";
}

TEST_F(FertilityCli, PhosphorusAndPotassiumWithoutNitrogenAreScheduled)
{
    ASSERT_EQ(run(new_field_args(fld, "corn")).status, kExitOk);
    const std::string corn = example("corn_preseason.ini");
    const std::string plan =
        "[Pre-Season Results]\nNitrogen Recommendation = 0\nPreplant = yes\n"
        "[Preplant (Phosphorus)]\nSource Material = Triple Superphosphate\n"
        "Material Phase = Solid\nApplication Method = Inject / Knife\n"
        "[Preplant (Potassium)]\nSource Material = Potassium Chloride (Murate)\n"
        "Material Phase = Solid\nApplication Method = Surface Broadcast\n";
    const CliRun r = consult(corn.substr(0, corn.find("[Pre-Season Results]")) + plan);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "Totals (lb/acre): Nitrogen 0")) << r.out;
    EXPECT_TRUE(contains(r.out, "north22.LCH (2 entries)"));
    NutrientBlock block;
    ASSERT_EQ(read_nutrient_file("north22", block), 1);
    EXPECT_EQ(block.recommendation.final, 0.0f);
    EXPECT_EQ(block.schedule_count, 2);
}

TEST_F(FertilityCli, NewFieldRunsTheConsultationFirst)
{
    std::ofstream(answers) << example("corn_preseason.ini");
    std::vector<std::string> args = new_field_args(fld, "corn");
    args.insert(args.end(), {"--answers", answers});
    const CliRun r = run(args);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "Wrote north22.FRT"));
    EXPECT_TRUE(contains(r.out, "Saved " + fld));
    EXPECT_EQ(size_of_file(dir.file("north22.FRT")), kNutrientFileSize);
    EXPECT_GT(std::stof(exported_days()[0][kNitrateAvailable]), 0.0f);

    // A file that cannot be an answers file stops before anything is created.
    const std::string other = dir.file("plot-8.fld").string();
    std::ofstream(answers) << "[Harvest Plan]\nYield = 3\n";
    args = new_field_args(other, "corn");
    args.insert(args.end(), {"--answers", answers});
    const CliRun refused = run(args);
    EXPECT_EQ(refused.status, kExitUsage);
    EXPECT_TRUE(contains(refused.err, "line 1: [Harvest Plan] names no page")) << refused.err;
    EXPECT_FALSE(file_exists(other));
}

TEST_F(FertilityCli, RefusedAnswersStopAndWriteNothing)
{
    ASSERT_EQ(run(new_field_args(fld, "corn")).status, kExitOk);
    const std::string corn = example("corn_preseason.ini");
    const struct
    {
        std::string text;
        int status;
        std::string reason;
    } cases[] = {
        {replaced(corn, "Soil Nitrate = 6", "Soil Colour = red"), kExitFailure,
         "[Soil Test] Soil Colour: the page \"Soil Test \" has no field \"Soil Colour\""},
        {replaced(corn, "Soil pH = 6.5", "Soil pH = 15"), kExitFailure,
         "[Soil Test] Soil pH: \"Soil pH:\" must be between 0 and 14"},
        {replaced(corn, "Number of Fertigations = 3", "Number of Fertigations = 16"), kExitFailure,
         "Number of Fertigations: \"Number of Fertigations:\" must be between 0 and 15"},
        {replaced(corn,
                  "Previous Crop = Soybeans\nLegume Harvest = Harvested\n"
                  "Residual Soil Nitrogen pre-Legume = Average\n",
                  ""),
         kExitFailure, "Please enter previous crop name"},
        {replaced(corn, "Soil test results available = yes", "Soil test results available = no"),
         kExitFailure, "[Soil Test] was not used"},
        {replaced(corn, "[Fertigation #3 (Nitrogen)]", "[Fertigation #4 (Nitrogen)]"), kExitFailure,
         "no answers for the application page [Fertigation #3 (Nitrogen)]"},
        {replaced(corn, "Source Material = Anhydrous Ammonia", "Source Material = Gold"),
         kExitFailure, "[Preplant (Nitrogen)] Source Material: \"Gold\" is not a material"},
        {replaced(corn,
                  "Application Method = Inject / Knife\nRain Expected = None within 7 days\n\n"
                  "[Preplant (Potassium)]",
                  "Application Method = Top Dress\n\n[Preplant (Potassium)]"),
         kExitFailure, "the methods offered are: Inject / Knife, Surface Broadcast, "},
        {replaced(corn, "[Fertilizer Wizard (Pre-Season Evaluation)]", "[Harvest]"), kExitUsage,
         "[Harvest] names no page of the consultation"},
        {replaced(corn, "Yield Goal = 200", "Yield Goal 200"), kExitUsage,
         "an answer is written \"name = value\""},
    };
    for (const auto &c : cases) {
        const CliRun r = consult(c.text);
        EXPECT_EQ(r.status, c.status) << c.reason;
        EXPECT_TRUE(contains(r.err, c.reason)) << r.err;
        EXPECT_FALSE(file_exists(dir.file("north22.FRT"))) << c.reason;
    }

    const CliRun no =
        consult(replaced(corn, "Yield Goal = 200", "Yield Goal = 251"), {"--answer", "no"});
    EXPECT_EQ(no.status, kExitFailure);
    EXPECT_TRUE(contains(no.err, "Are you sure this yield goal is obtainable?"));
    EXPECT_FALSE(file_exists(dir.file("north22.FRT")));
}

TEST_F(FertilityCli, OtherCropsUseTheSoilTestMethod)
{
    std::vector<CropRecord> crops = load_crops();
    ASSERT_FALSE(crops.empty());
    CropRecord potatoes = crops[0];
    potatoes.name = "POTATOES";
    potatoes.hybrid = "RUSSET";
    potatoes.yield_units = "CWT/Acre";
    potatoes.average_yield = 380;
    potatoes.n_requirement = 0.6f;
    crops.push_back(potatoes);
    ASSERT_TRUE(db_Write(DbCrops, crops));
    const CliRun r = consult_new_field("potatoes", "potatoes_preseason.ini");
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "JVU Soil Test Nitrogen Method:"));
    EXPECT_TRUE(contains(r.out, "\nJVU Soil Test Method\n"));
    EXPECT_TRUE(contains(r.out, "Phosphorus Recommendation: 0 lb/acre"));
    EXPECT_TRUE(contains(r.out, "north22.LCH (2 entries)"));
    NutrientBlock block;
    ASSERT_EQ(read_nutrient_file("north22", block), 1);
    EXPECT_EQ(block.inputs.crop_name, "POTATOES");
    EXPECT_EQ(block.inputs.yield_goal, 400.0f);
    EXPECT_GT(block.first_entry_nitrogen, 0);
}

// A potato field of the complete crop database on a loam with 2 % organic matter and 3 ppm
// nitrate, after fallow, its nitrogen planned at Preplant alone: 300 lb of urea, the most one
// application takes, bring far less than the field needs, and the schedule says so.
TEST_F(FertilityCli, APotatoScheduleThatFallsShortSaysSo)
{
    ASSERT_EQ(run({"db", "init", "--complete-crops"}).status, kExitOk);
    ASSERT_EQ(run(new_field_args(fld, "potatoes")).status, kExitOk);
    const CliRun r = consult("[Fertilizer Wizard (Pre-Season Evaluation)]\n"
                             "Manure application this season = no\n"
                             "Soil test results available = yes\n"
                             "[Soil Test]\nOrganic Matter Fraction = 2\nSoil Nitrate = 3\n"
                             "Depth of Soil Samples = 1-2 Feet\n"
                             "Phosphorus Test Type = No Results\n"
                             "Potassium Level = No Results\n"
                             "[Field and Water Management]\nDrainage Class = Well Drained\n"
                             "[Previous Season Data]\nPrevious Crop = Fallow\n"
                             "Tillage Type = Disk\n"
                             "[Pre-Season Results]\nPreplant = yes\n"
                             "[Preplant (Nitrogen)]\nSource Material = Urea\n"
                             "Material Phase = Solid\nApplication Method = Surface Broadcast\n");
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto at = r.out.find("The schedule supplies ");
    ASSERT_NE(at, std::string::npos) << r.out;
    const std::string line = r.out.substr(at, r.out.find('\n', at) - at);
    const auto recommended = r.out.find("Nitrogen Recommendation: ");
    ASSERT_NE(recommended, std::string::npos);
    const int nitrogen = std::stoi(r.out.substr(recommended + 25));
    // Urea is 46 % N; broadcast on an alkaline soil it loses 21 % (loss factor 1.21).
    EXPECT_EQ(line, strprintf("The schedule supplies 109 of %d lb N/acre: add a phase or "
                              "fertigations, or choose another material.",
                              nitrogen));
    EXPECT_TRUE(contains(r.out, "Totals (lb/acre): Nitrogen 109,"));
}

} // namespace
} // namespace tw::cli
