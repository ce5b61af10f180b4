#include "field/field_doc.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "refdata/database.h"
#include "refdata/units.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace tw::cli {
namespace {

using test::CliRun;
using test::contains;
using test::lines;

// A season from 1 May 2022 with ten weeks of typed ETr and a shower every eleventh day.
struct FieldCli : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    std::string loc = dir.file("greeley.loc").string();
    std::string fld = dir.file("north.fld").string();

    void SetUp() override
    {
        CLocationDoc location;
        location.name = "Greeley";
        location.et_method = EtrDirect;
        location.start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
        for (int i = 0; i < 70; ++i) {
            WeatherDay &w = location.day(i);
            w.has_data = 1;
            w.t_max = 24.0f + 6.0f * std::sin(i / 9.0f);
            w.t_min = w.t_max - 15.0f;
            w.alternate_etr = w.etr = w.etr_used = 4.0f + 0.05f * i;
            w.rain = i % 11 == 3 ? 6.0f : 0.0f;
        }
        ASSERT_TRUE(save_location_file(location, loc).saved);
    }

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return test::run_cli(args);
    }

    CliRun create(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {
            "field", "new",    fld,    "--location", loc,          "--name",   "north", "--crop",
            "corn",  "--soil", "Loam", "--planting", "2022-05-10", "--system", "9"};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }

    std::vector<std::string> exported()
    {
        return lines(run({"field", "export", fld, "--location", loc}).out);
    }
};

TEST_F(FieldCli, NewFieldIsSavedAndScheduled)
{
    const CliRun created = create();
    ASSERT_EQ(created.status, kExitOk) << created.err;
    EXPECT_TRUE(contains(created.out, "Saved " + fld));
    EXPECT_TRUE(contains(created.err, "Unable to open the nutrient file: north22.FRT"));
    EXPECT_TRUE(file_exists(fld));

    const CliRun schedule = run({"field", "schedule", fld, "--location", loc, "--csv"});
    ASSERT_EQ(schedule.status, kExitOk) << schedule.err;
    const auto out = lines(schedule.out);
    EXPECT_EQ(out[0], "     Date,GDD(\u00b0F),Growth Stage    ,Root Depth(in),Crop ET(in),"
                      "Eff. Irrig(in),Rain(in),Current Deficit(in),Critical Deficit(in),"
                      "Irrigation needed(in)");
    EXPECT_TRUE(out[1].starts_with("05/10/22,21,Planting,2.0,0.03,,,")) << out[1];
    EXPECT_EQ(out[206], "12/01/22,0,No Data,,,,,,,"); // a blanked day: only date, GDD and stage
    EXPECT_EQ(out[207], "");
    EXPECT_EQ(out[208], "Field,Crop,Growth Stage,Soil Moisture(in),Next Irrigation,"
                        "Irrigation Amount(in),Available Nitrogen,start_by");
    EXPECT_TRUE(out[209].starts_with("north,CORN,"));
}

TEST_F(FieldCli, AnotherLocationThanTheRememberedOneIsNamedAndTheRunGoesOn)
{
    ASSERT_EQ(create().status, kExitOk);
    const std::string other = dir.file("other.loc").string();
    ASSERT_TRUE(std::filesystem::copy_file(loc, other));

    const CliRun same = run({"field", "schedule", fld, "--location", loc});
    ASSERT_EQ(same.status, kExitOk) << same.err;
    EXPECT_FALSE(contains(same.err, "remembers"));

    const CliRun schedule = run({"field", "schedule", fld, "--location", other});
    ASSERT_EQ(schedule.status, kExitOk) << schedule.err;
    EXPECT_TRUE(contains(schedule.err, "Warning: this field remembers the location "
                                       "\"greeley.loc\" (first day 05/01/22), not \"other.loc\" "
                                       "(first day 05/01/22); going on with other.loc."))
        << schedule.err;
    EXPECT_EQ(schedule.out, same.out);
}

TEST_F(FieldCli, ExportGivesEveryMemberAndTheDecision)
{
    ASSERT_EQ(create().status, kExitOk);
    const auto out = exported();
    ASSERT_EQ(out.size(), 1u + 206u + 1u);
    EXPECT_EQ(out[0], "day,date,kind,stage,cum_gdd,root_depth,crop_et,gross_irrigation,"
                      "effective_irrigation,deep_percolation,taw,allowable_depletion,deficit,"
                      "critical,soil_moisture,category,irrigation_needed,rain,override,n_applied,"
                      "drainage,lower_deficit,n_uptake,nitrate_available,nitrate_leached");
    // Day 0: the soil starts at field capacity (the soil's proposal), crop ET is 0.15 x ETr.
    EXPECT_EQ(out[1], "0,2022-05-10,1,0,11.5488262,50,0.667499959,0,0,0,10.46,5.23000002,0,"
                      "5.23000002,0,0,0,0,0,0,0,0,0,0,0");
    // Never irrigated, the field needs water on its last actual day already.
    EXPECT_EQ(out.back(), "#summary,last_actual=60,last_forecast=60,next_irrigation=2022-07-09,"
                          "asap=1,amount_mm=187.253006");
}

TEST_F(FieldCli, SetDayEntersIrrigationAndReruns)
{
    ASSERT_EQ(create().status, kExitOk);
    const CliRun entered = run({"field", "set-day", fld, "--location", loc, "--date", "2022-05-30",
                                "--irrigation", "1.0", "--n-applied", "30"});
    ASSERT_EQ(entered.status, kExitOk) << entered.err;
    EXPECT_TRUE(contains(entered.out, "05/30/22"));
    const auto out = exported();
    EXPECT_TRUE(contains(out[21], ",25.3999996,17.7799988,")) << out[21]; // 1 in at 70 %
    EXPECT_TRUE(contains(out[21], ",0,30,")) << out[21];

    const struct
    {
        std::vector<std::string> options;
        int status;
        std::string error;
    } refused[] = {
        {{"--date", "2022-05-10"}, kExitUsage, "the planting day is set with field edit"},
        {{"--date", "2022-08-30"}, kExitFailure, "is a forecast day"},
        {{"--date", "2022-05-30", "--stage", "Harvest"}, kExitUsage, "can be one of"},
        {{"--date", "2022-05-30", "--soil-moisture", "4", "--no-override"}, kExitUsage, "not both"},
    };
    for (const auto &r : refused) {
        std::vector<std::string> args = {"field", "set-day", fld, "--location", loc};
        args.insert(args.end(), r.options.begin(), r.options.end());
        const CliRun result = run(args);
        EXPECT_EQ(result.status, r.status) << r.error;
        EXPECT_TRUE(contains(result.err, r.error)) << result.err;
    }
}

TEST_F(FieldCli, EditChangesTheSystemAndEfficiency)
{
    ASSERT_EQ(create().status, kExitOk);
    const CliRun edited = run({"field", "edit", fld, "--location", loc, "--system-name",
                               "surface drip", "--efficiency", "64", "--n-available", "40"});
    ASSERT_EQ(edited.status, kExitOk) << edited.err;
    CLocationDoc location;
    ASSERT_EQ(load_location_file(loc, location), LocationRead::Complete);
    test::ScopedMessages quiet;
    auto field = open_field(location, std::filesystem::path(fld));
    ASSERT_TRUE(field);
    EXPECT_EQ(field->saved.system_index, 14);
    EXPECT_EQ(field->saved.efficiency, 64.0f);
    EXPECT_EQ(field->saved.nitrogen.soil_nitrogen, 40.0f);
}

// A consultation can leave more available nitrogen than the dialog's box accepts; an edit that
// does not touch it keeps it to the last bit.
TEST_F(FieldCli, EditKeepsANitrogenAboveTheBoxLimit)
{
    ASSERT_EQ(create().status, kExitOk);
    CLocationDoc location;
    ASSERT_EQ(load_location_file(loc, location), LocationRead::Complete);
    test::ScopedMessages quiet;
    auto field = open_field(location, std::filesystem::path(fld));
    ASSERT_TRUE(field);
    field->saved.nitrogen.soil_nitrogen = 331.4f;
    ASSERT_TRUE(save_field_file(*field, fld).saved);

    const CliRun edited = run({"field", "edit", fld, "--location", loc, "--days-per-unit", "3"});
    ASSERT_EQ(edited.status, kExitOk) << edited.err;
    auto reread = open_field(location, std::filesystem::path(fld));
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->saved.nitrogen.soil_nitrogen, 331.4f);
}

TEST_F(FieldCli, NewFieldRefusals)
{
    const struct
    {
        std::vector<std::string> extra;
        std::string error;
    } cases[] = {
        {{"--crop", "wheat"}, "No crop is named \"wheat\"; choose one of:\n  CORN (MIDSEASON)"},
        {{"--name", "much too long a name"}, "A Field name holds at most 12 characters."},
        {{"--name", "../north"}, "cannot name a file"},
        {{"--planting", "2023-01-01"}, "Field Plant Date must be within bounds"},
        {{"--system", "16"}, "Option --system takes 0 to 15."},
        {{"--perennial"}, "--perennial applies to a crop of several harvests"},
    };
    for (const auto &c : cases) {
        const CliRun result = create(c.extra);
        EXPECT_NE(result.status, kExitOk) << c.error;
        EXPECT_TRUE(contains(result.err, c.error)) << result.err;
        EXPECT_FALSE(file_exists(fld));
    }
    const CliRun no_soil = run({"field", "new", fld, "--location", loc, "--name", "north", "--crop",
                                "corn", "--planting", "2022-05-10"});
    EXPECT_EQ(no_soil.status, kExitFailure);
    EXPECT_TRUE(contains(no_soil.err, "Please select a valid soil")) << no_soil.err;
    EXPECT_FALSE(file_exists(fld));
    EXPECT_FALSE(file_exists(dir.file("north22.FRT")));

    ASSERT_EQ(create().status, kExitOk);
    const auto before = read_file(fld);
    const CliRun kept =
        run({"--answer", "no", "field", "new", fld, "--location", loc, "--name", "other", "--crop",
             "CORN (MIDSEASON)", "--soil", "Sand", "--planting", "2022-05-02"});
    EXPECT_EQ(kept.status, kExitFailure);
    EXPECT_EQ(read_file(fld), before);
}

TEST_F(FieldCli, SummaryListsTheFieldsOfTheLocation)
{
    ASSERT_EQ(create().status, kExitOk);
    const std::string south = dir.file("south.fld").string();
    ASSERT_EQ(run({"field", "new", south, "--location", loc, "--name", "south", "--crop", "CORN",
                   "--soil", "Sand", "--planting", "2022-05-01"})
                  .status,
              kExitOk);
    const CliRun summary = run({"summary", loc, fld, south, "--csv"});
    ASSERT_EQ(summary.status, kExitOk) << summary.err;
    const auto out = lines(summary.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_TRUE(out[1].starts_with("north,CORN,"));
    EXPECT_TRUE(out[2].starts_with("south,CORN,"));

    const CliRun missing = run({"summary", loc, fld, dir.file("none.fld").string()});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(lines(missing.out).size(), 2u);
}

/// A CSV line's cells (the names and texts here hold no commas).
std::vector<std::string> cells(const std::string &line)
{
    std::vector<std::string> result;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, ','))
        result.push_back(cell);
    if (!line.empty() && line.back() == ',')
        result.emplace_back();
    return result;
}

// One farm, four answers: never irrigated (due on the last day of weather), refilled two days
// before it (due later, with a pivot's capacity), a quick crop harvested in June, and a field
// planted after the weather ends.
TEST_F(FieldCli, NextAgreesWithTheSummary)
{
    CropRecord quick;
    db_InitCrop(quick, 1); // Stop Irrigating on day 30, Harvest on day 31
    quick.name = "QUICK";
    ASSERT_TRUE(db_Write(DbCrops, std::vector<CropRecord>{default_corn_record(), quick}));
    ASSERT_EQ(create().status, kExitOk);
    const auto field = [&](const std::string &name, const std::string &crop,
                           const std::string &planting, std::vector<std::string> extra = {}) {
        const std::string path = dir.file(name + ".fld").string();
        std::vector<std::string> args = {"field",  "new",        path,     "--location", loc,
                                         "--name", name,         "--crop", crop,         "--soil",
                                         "Loam",   "--planting", planting};
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(run(args).status, kExitOk) << name;
        return path;
    };
    const std::string later = field("west", "CORN", "2022-05-10", {"--days-per-unit", "2"});
    ASSERT_EQ(run({"field", "set-day", later, "--location", loc, "--date", "2022-07-07",
                   "--irrigation", "8"})
                  .status,
              kExitOk);
    const std::string harvested = field("early", "QUICK", "2022-05-01");
    const std::string unplanted = field("late", "CORN", "2022-07-20");

    const std::vector<std::string> files = {fld, later, harvested, unplanted};
    std::vector<std::string> args = {"summary", loc};
    args.insert(args.end(), files.begin(), files.end());
    args.emplace_back("--csv");
    const CliRun summary = run(args);
    ASSERT_EQ(summary.status, kExitOk) << summary.err;
    const auto rows = lines(summary.out);
    ASSERT_EQ(rows.size(), 5u);

    const std::string expected_reasons[] = {"due", "due", "post_harvest", "no_weather"};
    for (std::size_t i = 0; i < files.size(); ++i) {
        const CliRun next = run({"field", "next", files[i], "--location", loc, "--csv"});
        ASSERT_EQ(next.status, kExitOk) << next.err;
        const auto out = lines(next.out);
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[0], "next_irrigation,due_now,gross_amount,start_by,reason,advice");
        const auto n = cells(out[1]);
        const auto s = cells(rows[i + 1]);
        ASSERT_EQ(n.size(), 6u);
        ASSERT_EQ(s.size(), 8u);
        EXPECT_EQ(n[4], expected_reasons[i]) << files[i];
        std::string date;
        if (!n[0].empty()) {
            date = format_date(*parse_iso_date(n[0]), "%m/%d/%y") + (n[1] == "1" ? " (ASAP)" : "");
        }
        EXPECT_EQ(s[4], date) << files[i];
        const float amount = std::stof(n[2]);
        EXPECT_EQ(s[5], amount > 0.0f ? strprintf("%1.1f", double(convert_to(Depth, amount))) : "")
            << files[i];
        EXPECT_EQ(s[7], n[3]) << files[i];
    }
    EXPECT_EQ(cells(rows[1])[4].find("(ASAP)") != std::string::npos, true);
    EXPECT_EQ(cells(rows[2])[4].find("(ASAP)"), std::string::npos);
    EXPECT_FALSE(cells(rows[2])[7].empty()); // the capacity gives a start-by date
    EXPECT_EQ(cells(rows[3])[2], "Post-Harvest");
    EXPECT_EQ(cells(rows[3])[4], "");

    const CliRun line = run({"field", "next", fld, "--location", loc});
    EXPECT_EQ(line.out, "Next irrigation: 2022-07-09 (ASAP), 7.4 in. Irrigate Immediately: Soil "
                        "Moisture is Below Allowable Depletion\n");
    EXPECT_EQ(run({"field", "next", fld}).status, kExitFailure);
    EXPECT_EQ(run({"field", "next", "--location", loc}).status, kExitUsage);
}

TEST_F(FieldCli, DemoShowsALiveDecision)
{
    const CliRun live = run({"demo"});
    ASSERT_EQ(live.status, kExitOk) << live.err;
    EXPECT_TRUE(contains(live.out, "Imported 76 days of weather from greeley-2022.txt"));
    // The pre-season consultation comes first, so no season run misses the nutrient file.
    EXPECT_TRUE(contains(live.out, "Wrote LIRF corn22.FRT (664 bytes)"));
    EXPECT_FALSE(contains(live.err, "Unable to open the nutrient file"));
    EXPECT_TRUE(contains(live.out, "\nLIRF corn  CORN  R1: Silking   2.35               "
                                   "07/18/22                   3.5                    97\n"));
    EXPECT_TRUE(contains(live.out, "07/18/22   1199     R1: Silking"));
    EXPECT_TRUE(contains(live.out, "Next irrigation: 2022-07-18, 3.5 in."));
    EXPECT_FALSE(contains(live.out, "Leaching Analysis Results"));
    EXPECT_TRUE(file_exists(dir.file("lirf-corn.fld")));

    const CliRun season = run({"demo", "--full-season"});
    ASSERT_EQ(season.status, kExitOk) << season.err;
    EXPECT_TRUE(contains(season.out, "Last day of weather: 2022-11-29."));
    EXPECT_TRUE(contains(season.out, "\nLeaching Analysis Results\n"));
    EXPECT_EQ(run({"demo", "--data", dir.file("nowhere").string()}).status, kExitFailure);
    const CliRun no_answers = run({"demo", "--answers", dir.file("none.ini").string()});
    EXPECT_EQ(no_answers.status, kExitFailure);
}

} // namespace
} // namespace tw::cli
