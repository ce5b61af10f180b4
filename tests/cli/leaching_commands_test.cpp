#include "fertility/nutrient_file.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tw::cli {
namespace {

using test::CliRun;
using ::testing::HasSubstr;
using ::testing::Not;

/// The cells of a CSV line (none of the exported cells is quoted).
std::vector<std::string> cells_of(const std::string &line)
{
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    return cells;
}

/// The value printed after a report label (the first line that starts with it).
std::string value_of(const std::string &report, const std::string &label)
{
    for (const std::string &line : test::lines(report)) {
        if (line.starts_with("  " + label))
            return trimmed(line.substr(label.size() + 2));
    }
    return "<missing " + label + ">";
}

/// Checks the report's totals against the sums of the exported days (`field export`), whose
/// preplant nitrogen is not a day's; gives the nitrogen applied.
double expect_report_totals(const std::string &report, const std::vector<std::string> &exported,
                            double preplant)
{
    double gross = 0, drainage = 0, leached = 0, nitrogen = preplant;
    int irrigations = 0, first = 0, last = 0;
    for (std::size_t i = 1; i + 1 < exported.size(); ++i) {
        const auto cells = cells_of(exported[i]);
        const double irrigation = std::stod(cells[7]);
        if (irrigation != 0.0) {
            first = irrigations++ == 0 ? std::stoi(cells[0]) : first;
            last = std::stoi(cells[0]);
        }
        gross += irrigation;
        nitrogen += std::stod(cells[19]);
        drainage += std::stod(cells[20]);
        leached += std::stod(cells[24]);
    }
    EXPECT_GT(irrigations, 1);
    EXPECT_EQ(value_of(report, "Total Water Applied:"), strprintf("%.2f", gross / 25.4));
    EXPECT_EQ(value_of(report, "Number of Applications:"), std::to_string(irrigations));
    EXPECT_EQ(value_of(report, "Average Application:"),
              strprintf("%.2f", gross / 25.4 / irrigations));
    EXPECT_EQ(value_of(report, "Average Irrigation Interval (days):"),
              strprintf("%.2f", double(last - first) / irrigations));
    EXPECT_EQ(value_of(report, "Deep Percolation:"), strprintf("%.2f", drainage / 25.4));
    EXPECT_EQ(value_of(report, "Total Nitrogen Applied:"), strprintf("%d", int(nitrogen)));
    EXPECT_TRUE(value_of(report, "Nitrogen Leached:")
                    .starts_with(strprintf("%d  ", static_cast<int>(leached))))
        << report;
    return nitrogen;
}

// A corn field planted on 10 May 2022 on a location with weather from 1 May for `weather_days`,
// after a consultation that left its nutrient file.
struct LeachingCli : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    std::string loc = dir.file("greeley.loc").string();
    std::string fld = dir.file("north.fld").string();

    void make_location(int weather_days)
    {
        CLocationDoc location;
        location.name = "Greeley";
        location.et_method = EtrDirect;
        location.start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
        for (int i = 0; i < 200; ++i) {
            WeatherDay &w = location.day(i);
            if (i >= weather_days)
                continue;
            w.has_data = 1;
            w.t_max = 27.0f + 6.0f * std::sin(i / 15.0f);
            w.t_min = w.t_max - 14.0f;
            w.alternate_etr = w.etr = w.etr_used = 5.0f;
            w.rain = i % 11 == 3 ? 12.0f : 0.0f;
        }
        ASSERT_TRUE(save_location_file(location, loc).saved);
    }

    void write_nutrient_file(int midseason_test_day = 0)
    {
        NutrientBlock block;
        block.inputs.drainage_class = 1;
        block.inputs.yield_goal = 180.0f;
        block.inputs.n_requirement = 0.9f;
        block.inputs.planting_date = StoredDate::from_day(serial_from_civil(2022, 5, 10));
        block.recommendation.final = 150.0f;
        block.mass_balance.residual = 40.0f;
        block.first_entry_nitrogen = 120;
        if (midseason_test_day) {
            block.inputs.midseason_mode = 1;
            block.inputs.soil_test_date = midseason_test_day;
        }
        ASSERT_TRUE(write_file_atomic(dir.file("north22.FRT"), encode_nutrient_block(block)));
    }

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return test::run_cli(args);
    }

    void create_field()
    {
        const CliRun created =
            run({"field", "new", fld, "--location", loc, "--name", "north", "--crop", "CORN",
                 "--soil", "Loam", "--planting", "2022-05-10", "--system", "9"});
        ASSERT_EQ(created.status, kExitOk) << created.err;
    }

    void set_day(const std::string &date, std::vector<std::string> entries)
    {
        std::vector<std::string> args = {"field", "set-day", fld, "--location",
                                         loc,     "--date",  date};
        args.insert(args.end(), entries.begin(), entries.end());
        const CliRun entered = run(args);
        ASSERT_EQ(entered.status, kExitOk) << entered.err;
    }
};

TEST_F(LeachingCli, ReportTotalsAreTheSumsOfTheExportedDays)
{
    make_location(200);
    write_nutrient_file();
    create_field();
    set_day("2022-06-01", {"--irrigation", "3", "--n-applied", "40"});
    set_day("2022-06-02", {"--irrigation", "3"});
    set_day("2022-07-15", {"--irrigation", "2.5"});

    const CliRun report = run({"leaching", fld, "--location", loc});
    ASSERT_EQ(report.status, kExitOk) << report.err;
    const auto out = test::lines(report.out);
    EXPECT_EQ(out[0], "Leaching Analysis Results");
    for (const char *title :
         {"Irrigation Management (in)", "Fertility Managemen (LB/Acre)", "Recommendations"})
        EXPECT_THAT(report.out, HasSubstr(std::string(title) + "\n")) << title;
    EXPECT_THAT(report.out, Not(HasSubstr("Nitrogen Available For Leaching"))); // hidden

    const auto exported = test::lines(run({"field", "export", fld, "--location", loc}).out);
    const double nitrogen = expect_report_totals(report.out, exported, 120.0);
    EXPECT_THAT(report.out, HasSubstr("Deep Percolation:                   3.44")); // drained
    // The nitrogen group's count and average: the preplant nitrogen and one application.
    EXPECT_THAT(report.out, HasSubstr("Number of Applications:             2\n")) << report.out;
    EXPECT_THAT(report.out, HasSubstr(strprintf("%4.1f lb/acre\n", nitrogen / 2))) << report.out;
    EXPECT_THAT(report.out, HasSubstr(" *  The Leaching Index is ")) << report.out;
}

TEST_F(LeachingCli, MidseasonConsultationShowsItsNotice)
{
    make_location(60);
    write_nutrient_file(serial_from_civil(2022, 6, 20));
    create_field();
    set_day("2022-06-19", {"--irrigation", "1"});
    set_day("2022-06-20", {"--irrigation", "1"});
    const CliRun report = run({"leaching", fld, "--location", loc});
    ASSERT_EQ(report.status, kExitOk) << report.err;
    const auto out = test::lines(report.out);
    ASSERT_GE(out.size(), 4u);
    EXPECT_EQ(out[0], "Leaching Consultation");
    EXPECT_EQ(out[2], "Date of Midseason Fertilizer Consultation: 06/20/22");
    EXPECT_EQ(value_of(report.out, "Total Water Applied:"), "1.00"); // not the day of the test
}

TEST_F(LeachingCli, RefusedWithoutAConsultation)
{
    make_location(200);
    create_field();
    const CliRun report = run({"leaching", fld, "--location", loc});
    EXPECT_EQ(report.status, kExitFailure);
    EXPECT_THAT(report.err,
                HasSubstr("Can't Open Nutrient File.  You Must Run Fertility Scheduler First!"))
        << report.err;
    EXPECT_EQ(report.out, "");

    // Corn whose season has not reached the end of irrigation needs a midseason consultation.
    make_location(60);
    write_nutrient_file();
    const CliRun early = run({"leaching", fld, "--location", loc});
    EXPECT_EQ(early.status, kExitFailure);
    EXPECT_THAT(early.err, HasSubstr("A Midseason Fertilizer Consult must be run before a "
                                     "Midseason Leaching Consult"))
        << early.err;

    EXPECT_EQ(run({"leaching", fld}).status, kExitFailure);
    EXPECT_EQ(run({"leaching", "--location", loc}).status, kExitUsage);
}

TEST_F(LeachingCli, NitrogenTableOfTheField)
{
    make_location(200);
    write_nutrient_file();
    create_field();
    set_day("2022-06-01", {"--n-applied", "40"});
    const CliRun table = run({"field", "nitrogen", fld, "--location", loc, "--csv"});
    ASSERT_EQ(table.status, kExitOk) << table.err;
    const auto out = test::lines(table.out);
    ASSERT_EQ(out.size(), 1u + 206u);
    EXPECT_EQ(out[0], "Date      ,N.Available(lbs/Acre),N.App(lbs/Acre),Crop Uptake(lbs/Acre),"
                      "Deep Perc(in),N.Leached(lbs/Acre)");
    EXPECT_TRUE(out[1].starts_with("05/10/22,160,,")) << out[1]; // preplant 120 + residual 40
    const auto june_first = cells_of(out[23]);
    EXPECT_EQ(june_first[0], "06/01/22");
    EXPECT_EQ(june_first[2], "40");

    const CliRun aligned = run({"field", "nitrogen", fld, "--location", loc});
    ASSERT_EQ(aligned.status, kExitOk);
    EXPECT_THAT(aligned.out, ::testing::StartsWith("Date       "));
}

} // namespace
} // namespace tw::cli

namespace tw::cli {
namespace {

// The demo run in a scratch working directory, with the data folder of the source tree.
struct LeachingDemo : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    const std::filesystem::path data = std::filesystem::path(TILLWISE_SOURCE_DIR) / "data";

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return test::run_cli(args);
    }
};

TEST_F(LeachingDemo, ReportOfTheDemoCornAfterTheExampleConsultation)
{
    // The demo's field has the example pre-season consultation.
    const CliRun demo = run({"demo", "--data", (data / "demo").string(), "--answers",
                             (data / "examples" / "corn_preseason.ini").string(), "--full-season"});
    ASSERT_EQ(demo.status, kExitOk) << demo.err;
    const std::string fld = dir.file("lirf-corn.fld").string();
    const std::string loc = dir.file("Greeley2022.loc").string();

    const CliRun report = run({"leaching", fld, "--location", loc});
    ASSERT_EQ(report.status, kExitOk) << report.err;
    EXPECT_TRUE(demo.out.ends_with("\n\n" + report.out)) << "the demo closes with the report";
    const auto out = test::lines(report.out);
    ASSERT_GE(out.size(), 20u) << report.out;
    EXPECT_EQ(out[0], "Leaching Analysis Results");
    const NutrientFileRead nutrients = load_nutrient_file("LIRF corn22");
    ASSERT_EQ(nutrients.status, FileReadStatus::Ok);
    const auto exported = test::lines(run({"field", "export", fld, "--location", loc}).out);
    expect_report_totals(report.out, exported, preplant_nitrogen(nutrients.block));
    // The water stress closes the report, after the advice.
    const auto last =
        std::find_if(out.rbegin(), out.rend(), [](const std::string &l) { return !l.empty(); });
    ASSERT_NE(last, out.rend());
    EXPECT_TRUE(last->starts_with("  Largest Deficit:") ||
                last->starts_with(" *  The crop was under water stress on "))
        << report.out;
}

} // namespace
} // namespace tw::cli

namespace tw::cli {
namespace {

TEST_F(LeachingCli, SeasonLeftDryIsReportedAsWaterStress)
{
    make_location(200);
    write_nutrient_file();
    create_field(); // never irrigated: 5 mm a day against a shower every 11 days

    const CliRun report = run({"leaching", fld, "--location", loc});
    ASSERT_EQ(report.status, kExitOk) << report.err;
    // The stressed days are those whose deficit passed the allowable depletion.
    int stressed = 0;
    double largest = 0;
    const auto exported = test::lines(run({"field", "export", fld, "--location", loc}).out);
    for (std::size_t i = 1; i + 1 < exported.size(); ++i) {
        const auto cells = cells_of(exported[i]);
        if (cells[2] != "1" || std::stoi(cells[3]) < 0)
            continue;
        stressed += std::stod(cells[12]) > std::stod(cells[11]) ? 1 : 0;
        largest = std::max(largest, std::stod(cells[12]));
    }
    ASSERT_GT(stressed, 10);
    EXPECT_THAT(report.out, HasSubstr("Recommendations\n"));
    EXPECT_LT(report.out.find("Recommendations\n"), report.out.find("Water Stress (in)\n"));
    EXPECT_EQ(value_of(report.out, "Days Above Critical Deficit:"), std::to_string(stressed));
    EXPECT_EQ(value_of(report.out, "Largest Deficit:"), strprintf("%.2f", largest / 25.4));
    EXPECT_THAT(report.out,
                HasSubstr(strprintf(" *  The crop was under water stress on %d days; the largest "
                                    "deficit was %.2f in.",
                                    stressed, largest / 25.4)));
    // The grades of the leaching stay as they were.
    EXPECT_THAT(report.out, HasSubstr(" *  The Leaching Index is "));
}

TEST_F(LeachingDemo, TwoMidseasonCorrectionsKeepThePreplantNitrogen)
{
    ASSERT_EQ(run({"demo", "--data", (data / "demo").string()}).status, kExitOk);
    const std::string fld = dir.file("lirf-corn.fld").string();
    const std::string loc = dir.file("Greeley2022.loc").string();
    const NutrientFileRead preseason = load_nutrient_file("LIRF corn22");
    ASSERT_EQ(preseason.status, FileReadStatus::Ok);
    const float preplant = preplant_nitrogen(preseason.block);
    ASSERT_GT(preplant, 0.0f);

    std::vector<NutrientBlock> corrections;
    for (const char *answers : {"corn_midseason.ini", "corn_midseason_retest.ini"}) {
        const CliRun r = run({"fertility", fld, "--location", loc, "--answers",
                              (data / "examples" / answers).string()});
        ASSERT_EQ(r.status, kExitOk) << answers << r.err;
        const NutrientFileRead read = load_nutrient_file("LIRF corn22");
        ASSERT_EQ(read.status, FileReadStatus::Ok);
        EXPECT_EQ(read.block.inputs.midseason_mode, 1) << answers;
        EXPECT_EQ(preplant_nitrogen(read.block), preplant) << answers;
        corrections.push_back(read.block);
    }
    EXPECT_EQ(corrections[1].inputs.applied_to_date, corrections[0].inputs.applied_to_date);
    EXPECT_EQ(corrections[1].inputs.applications_count, corrections[0].inputs.applications_count);
    EXPECT_GE(corrections[0].inputs.applied_to_date, preplant);

    const CliRun report = run({"leaching", fld, "--location", loc});
    ASSERT_EQ(report.status, kExitOk) << report.err;
    EXPECT_EQ(value_of(report.out, "Total Nitrogen Applied:"),
              strprintf("%d", static_cast<int>(preplant)))
        << report.out;
    EXPECT_THAT(report.out, Not(HasSubstr("Unknown")));
}

} // namespace
} // namespace tw::cli
