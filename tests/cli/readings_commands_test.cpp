#include "platform/csv.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

namespace tw::cli {
namespace {

using test::CliRun;
using test::contains;
using test::lines;

// The demo's Greeley 2022 season (the weather of an irrigated corn research farm) and its corn
// field, irrigated as the program advised.
struct ReadingsCli : test::DemoFolderCli
{
    /// Each day's deficit (mm) as field export writes it.
    std::map<std::string, double> deficits(const std::string &field)
    {
        std::map<std::string, double> by_date;
        const auto out = lines(run({"field", "export", field, "--location", loc}).out);
        for (std::size_t i = 1; i < out.size() && !out[i].starts_with("#"); ++i) {
            const auto cells = split_csv_line(out[i]).value();
            by_date[cells[1]] = std::strtod(cells[12].c_str(), nullptr);
        }
        return by_date;
    }

    void write(const std::string &name, const std::string &text)
    {
        ASSERT_TRUE(
            write_file_atomic(dir.file(name), std::vector<std::uint8_t>(text.begin(), text.end())));
    }
};

TEST_F(ReadingsCli, PivotStartsByTheDaysItsAmountTakes)
{
    ASSERT_EQ(run({"demo"}).status, kExitOk);
    const CliRun edit = run({"field", "edit", fld, "--location", loc, "--system-name",
                             "Sprinker:Low Elevation Spray CP", "--days-per-unit", "3"});
    ASSERT_EQ(edit.status, kExitOk) << edit.err;
    // Due 3.5 in on 18 July at 3 days per inch: 11 days before, already past on the last actual
    // day (15 July), so the window says "Now" and the CSV keeps the date.
    const auto csv = lines(run({"summary", loc, fld, "--csv"}).out);
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_EQ(csv[0], "Field,Crop,Growth Stage,Soil Moisture(in),Next Irrigation,"
                      "Irrigation Amount(in),Available Nitrogen,start_by");
    EXPECT_TRUE(csv[1].ends_with(",07/18/22,3.5,97,2022-07-07")) << csv[1];
    EXPECT_TRUE(contains(run({"summary", loc, fld}).out, "07/18/22         Now       3.5"));

    EXPECT_EQ(run({"field", "edit", fld, "--location", loc, "--days-per-unit", "0"}).status,
              kExitFailure);
    ASSERT_EQ(run({"field", "edit", fld, "--location", loc, "--days-per-unit", "none"}).status,
              kExitOk);
    EXPECT_TRUE(lines(run({"summary", loc, fld, "--csv"}).out)[1].ends_with(",97,"));
}

TEST_F(ReadingsCli, WeeklyReadingsHoldTheBalanceCloserThanItsDrift)
{
    ASSERT_EQ(run({"demo", "--full-season"}).status, kExitOk);
    // No measured probe data comes with the season, so the readings are a stand-in field whose
    // drip system delivers 70 % where the program assumes 90 %, plus a probe's scatter of up to
    // 3 mm: the stock balance drifts from it the way it drifts from a real plot.
    const std::string truth = dir.file("truth.fld").string();
    std::filesystem::copy_file(fld, truth);
    ASSERT_EQ(run({"field", "edit", truth, "--location", loc, "--efficiency", "70"}).status,
              kExitOk);
    const auto measured = deficits(truth);
    const auto modelled = deficits(fld);
    std::string csv = "date,value\n";
    double drift = 0.0;
    int n = 0;
    for (int day = serial_from_civil(2022, 6, 1); day <= serial_from_civil(2022, 9, 7);
         day += 7, ++n) {
        const std::string date = iso_date(day);
        const double reading = measured.at(date) + 3.0 * std::sin(1.7 * n);
        csv += date + "," + strprintf("%.1f", reading) + "\n";
        drift += std::pow(modelled.at(date) - reading, 2);
    }
    drift = std::sqrt(drift / n);
    write("probe.csv", csv);

    const CliRun entered =
        run({"field", "readings", fld, "--location", loc, "--import",
             dir.file("probe.csv").string(), "--kind", "deficit", "--unit", "mm"});
    ASSERT_EQ(entered.status, kExitOk) << entered.err;
    EXPECT_TRUE(contains(entered.out, "Entered 15 soil readings from probe.csv.")) << entered.out;

    const auto skill = lines(run({"field", "skill", fld, "--location", loc, "--csv"}).out);
    ASSERT_EQ(skill.size(), 21u);
    EXPECT_EQ(skill[0], "date,measured_deficit,predicted_deficit,error,days_since_previous,"
                        "corrected_deficit,rate");
    EXPECT_TRUE(skill[1].starts_with("2022-06-01,")) << skill[1];
    EXPECT_EQ(split_csv_line(skill[2]).value().at(4), "7") << skill[2];
    ASSERT_TRUE(skill[16].starts_with("#skill,n=15,rmse=")) << skill[16];
    const double rmse = std::strtod(skill[16].c_str() + skill[16].find("rmse=") + 5, nullptr);
    std::cout << "weekly readings: " << skill[16] << "; drift without them " << drift << " mm\n";
    EXPECT_LT(rmse, drift / 2);
    // Weekly readings: 14 pairs a week apart, 13 two weeks apart, none 2 to 4 days apart.
    EXPECT_TRUE(skill[17].starts_with("#skill_corrected,n=15,rmse=")) << skill[17];
    EXPECT_EQ(skill[18], "#lead,days=3,n=0,rmse=");
    EXPECT_TRUE(skill[19].starts_with("#lead,days=7,n=14,rmse=")) << skill[19];
    EXPECT_TRUE(skill[20].starts_with("#lead,days=14,n=13,rmse=")) << skill[20];
}

TEST_F(ReadingsCli, MorningReadingsAndLearningFromTheCommandLine)
{
    ASSERT_EQ(run({"demo"}).status, kExitOk);
    const auto schedule = [&] { return run({"field", "schedule", fld, "--location", loc}).out; };
    // The morning's readings are the ends of the days before.
    write("probe.csv", "date,value\n2022-06-20,40\n2022-06-27,45\n2022-07-04,50\n");
    const std::string probe = dir.file("probe.csv").string();
    std::vector<std::string> args = {"field",    "readings", fld,      "--location", loc,
                                     "--import", probe,      "--kind", "deficit",    "--taken"};
    args.push_back("noon");
    const CliRun noon = run(args);
    EXPECT_EQ(noon.status, kExitUsage);
    EXPECT_TRUE(contains(noon.err, "Option --taken takes morning or evening.")) << noon.err;
    args.back() = "morning";
    ASSERT_EQ(run(args).status, kExitOk);
    const auto skill = lines(run({"field", "skill", fld, "--location", loc, "--csv"}).out);
    ASSERT_EQ(skill.size(), 9u);
    EXPECT_TRUE(skill[1].starts_with("2022-06-19,40,")) << skill[1];
    EXPECT_TRUE(skill[3].starts_with("2022-07-03,50,")) << skill[3];
    // An edit rounds the field's details as the dialog shows them: compare edited with edited.
    ASSERT_EQ(run({"field", "edit", fld, "--location", loc}).status, kExitOk);
    const std::string read = schedule();
    const auto read_bytes = read_file(fld);

    const CliRun maybe = run({"field", "edit", fld, "--location", loc, "--learn", "maybe"});
    EXPECT_EQ(maybe.status, kExitUsage);
    EXPECT_TRUE(contains(maybe.err, "Option --learn takes on or off.")) << maybe.err;
    ASSERT_EQ(run({"field", "edit", fld, "--location", loc, "--learn", "on"}).status, kExitOk);
    EXPECT_NE(schedule(), read);
    // Off again: the schedule and the file are those of a field that never learned.
    ASSERT_EQ(run({"field", "edit", fld, "--location", loc, "--learn", "off"}).status, kExitOk);
    EXPECT_EQ(schedule(), read);
    EXPECT_EQ(read_file(fld), read_bytes);
}

TEST_F(ReadingsCli, RefusedOptionsAndBadFilesChangeNothing)
{
    ASSERT_EQ(run({"demo"}).status, kExitOk);
    const auto before = read_file(fld);
    write("r.csv", "date,value\n2022-06-01,0.2\n2022-06-08,oops\n");
    const std::string r = dir.file("r.csv").string();
    const CliRun bad =
        run({"field", "readings", fld, "--location", loc, "--import", r, "--kind", "content"});
    EXPECT_EQ(bad.status, kExitFailure);
    EXPECT_TRUE(contains(bad.err, "Line 3: \"oops\" is not a number.")) << bad.err;
    EXPECT_EQ(read_file(fld), before);
    for (const std::vector<std::string> &options : {std::vector<std::string>{"--kind", "wet"},
                                                    {"--kind", "deficit", "--unit", "percent"},
                                                    {"--kind", "content", "--unit", "mm"}}) {
        std::vector<std::string> args = {"field", "readings", fld, "--location",
                                         loc,     "--import", r};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(run(args).status, kExitUsage) << options[1];
    }
    EXPECT_EQ(read_file(fld), before);

    // A reading past the weather is reported; the one before it is entered.
    write("late.csv", "date,value\n2022-07-01,22\n2022-08-01,22\n");
    const CliRun late =
        run({"field", "readings", fld, "--location", loc, "--import", dir.file("late.csv").string(),
             "--kind", "content", "--unit", "percent"});
    ASSERT_EQ(late.status, kExitOk) << late.err;
    EXPECT_TRUE(contains(late.out, "Entered 1 soil reading from late.csv.\nLine 3: 2022-08-01 "
                                   "is skipped: no weather."))
        << late.out;
    const auto skill = lines(run({"field", "skill", fld, "--location", loc}).out);
    ASSERT_GE(skill.size(), 3u);
    EXPECT_TRUE(skill[skill.size() - 3].starts_with("n=1, RMSE=")) << skill[skill.size() - 3];
    EXPECT_EQ(skill.back(), "Two readings or more show how the balance drifts from your probes.");
}

} // namespace
} // namespace tw::cli
