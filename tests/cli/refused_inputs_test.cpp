// Inputs the commands must refuse, or read, without leaving anything wrong behind: probe readings
// beyond the root zone, a crafted field file, an answers file with a byte-order mark, a slow
// pivot's start-by date, the earlier release's databases half migrated or already current, and
// report targets that are no plain writable file or sit on a failing disk.
#include "platform/csv.h"
#include "platform/files.h"
#include "platform/io_faults.h"
#include "platform/text_format.h"
#include "refdata/release_migration.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::contains;
using test::lines;
using test::run_cli;

/// The demo season in millimetres: the Greeley location, North (with its consultation) and Zero.
class RefusedInputs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path source = TILLWISE_SOURCE_DIR;
        const std::vector<std::string> field = {
            "--location", file("G.loc"), "--crop",     "CORN",     "--soil",
            "Loam",       "--planting",  "2022-05-10", "--system", "9"};
        std::vector<std::string> north = {"field",
                                          "new",
                                          file("N.fld"),
                                          "--name",
                                          "North",
                                          "--answers",
                                          (source / "data/examples/corn_preseason.ini").string()};
        north.insert(north.end(), field.begin(), field.end());
        std::vector<std::string> zero = {"field", "new", file("N0.fld"), "--name", "Zero"};
        zero.insert(zero.end(), field.begin(), field.end());
        for (const std::vector<std::string> &line : std::vector<std::vector<std::string>>{
                 {"db", "init"},
                 {"prefs", "set", "depth_unit=mm"},
                 {"location", "new", file("G.loc"), "--name", "Greeley", "--start", "2022-05-01",
                  "--station", "Greeley"},
                 {"location", "import", file("G.loc"), "--format", "jvu-new",
                  (source / "data/demo/greeley-2022.txt").string()},
                 north,
                 zero,
             }) {
            ASSERT_EQ(run(line).status, 0) << line[0] << " " << line[1];
        }
    }

    std::string file(const std::string &name) const { return dir_.file(name).string(); }

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir_.path().string()});
        return run_cli(args);
    }

    void write(const std::string &name, const std::string &text)
    {
        ASSERT_TRUE(write_file_atomic(dir_.file(name),
                                      std::vector<std::uint8_t>(text.begin(), text.end())));
    }

    /// A column of field export by date.
    std::map<std::string, std::string> exported(const std::string &fld, std::size_t column)
    {
        std::map<std::string, std::string> by_date;
        const auto out =
            lines(run({"field", "export", file(fld), "--location", file("G.loc")}).out);
        for (std::size_t i = 1; i < out.size() && !out[i].starts_with("#"); ++i) {
            const auto cells = split_csv_line(out[i]).value();
            by_date[cells.at(1)] = cells.at(column);
        }
        return by_date;
    }

    test::ScopedWorkDir dir_;
    test::ScopedSettings settings_;
};

constexpr std::size_t kTawColumn = 10;

TEST_F(RefusedInputs, ReadingsBeyondTheRootZoneAreRefusedAndChangeNothing)
{
    const std::string taw = exported("N.fld", kTawColumn).at("2022-06-01");
    const std::string limit = strprintf("%g", std::strtod(taw.c_str(), nullptr));
    const std::string before = test::read_text(file("N.fld"));
    const struct
    {
        const char *value;
        bool fits;
    } cases[] = {
        {"999", false}, {"-10", false}, {"-0.01", false}, {"0", true}, {taw.c_str(), true},
    };
    for (const auto &c : cases) {
        write("r.csv", std::string("date,value\n2022-05-20,1\n2022-06-01,") + c.value + "\n");
        const CliRun r = run({"field", "readings", file("N.fld"), "--location", file("G.loc"),
                              "--import", file("r.csv"), "--kind", "deficit", "--unit", "mm"});
        if (c.fits) {
            EXPECT_EQ(r.status, 0) << c.value << ": " << r.err;
            ASSERT_TRUE(write_file_atomic(file("N.fld"),
                                          std::vector<std::uint8_t>(before.begin(), before.end())));
            continue;
        }
        EXPECT_NE(r.status, 0) << c.value;
        EXPECT_TRUE(contains(r.err, "Line 3: 2022-06-01: a deficit of " + std::string(c.value) +
                                        " mm is outside what the root zone holds that day, 0 to " +
                                        limit + " mm."))
            << r.err;
        EXPECT_EQ(test::read_text(file("N.fld")), before) << "the good line was entered";
    }

    // A typed soil moisture far beyond the soil, and one wetter than field capacity.
    for (const char *moisture : {"1e30", "-5", "0.99"}) {
        const CliRun r = run({"field", "set-day", file("N.fld"), "--location", file("G.loc"),
                              "--date", "2022-06-01", "--soil-moisture", moisture});
        EXPECT_NE(r.status, 0) << moisture;
        EXPECT_TRUE(contains(r.err, "2022-06-01: a deficit of")) << r.err;
        EXPECT_EQ(test::read_text(file("N.fld")), before) << moisture;
    }
}

TEST_F(RefusedInputs, StartByIsNeverBeforePlanting)
{
    // The season's weather up to mid-July, so that an irrigation is due in the forecast.
    const std::string weather =
        test::read_text(fs::path(TILLWISE_SOURCE_DIR) / "data/demo/greeley-2022.txt");
    std::size_t end = 0;
    for (int line = 0; line < 195; ++line)
        end = weather.find('\n', end) + 1;
    write("mid.txt", weather.substr(0, end));
    ASSERT_EQ(run({"location", "new", file("H.loc"), "--name", "Mid", "--start", "2022-05-01",
                   "--station", "Greeley"})
                  .status,
              0);
    ASSERT_EQ(
        run({"location", "import", file("H.loc"), "--format", "jvu-new", file("mid.txt")}).status,
        0);
    // 40 days per mm is the slowest capacity taken: any amount due lies months back.
    ASSERT_EQ(run({"field", "new", file("M.fld"), "--location", file("H.loc"), "--name", "Mid",
                   "--crop", "CORN", "--soil", "Loam", "--planting", "2022-05-10", "--system", "9",
                   "--days-per-unit", "40"})
                  .status,
              0);
    const auto csv = lines(run({"summary", file("H.loc"), file("M.fld"), "--csv"}).out);
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_TRUE(csv[1].ends_with(",2022-05-10")) << csv[1];
}

TEST_F(RefusedInputs, AFieldFileWithAStageEndBeyondAnySeasonIsRefused)
{
    fs::copy_file(test::data_file("fld_full_cover_int_min.fld"), dir_.file("X.fld"));
    const CliRun r = run({"field", "export", file("X.fld"), "--location", file("G.loc")});
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(r.err.empty());
}

TEST_F(RefusedInputs, AnAnswersFileWithAByteOrderMarkReadsLikeAnyOther)
{
    const CliRun r = run({"fertility", file("N0.fld"), "--location", file("G.loc"), "--answers",
                          test::data_file("answers_bom.ini").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(file_exists(dir_.file("Zero22.FRT")));
}

/// A folder of the earlier release's databases, made by its own db init.
class Release1Folder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(
            run_cli({"--workdir", dir_.path().string(), "--release", "1", "db", "init"}).status, 0);
        crops_ = test::read_text(dir_.file("crop.db"));
        stations_ = test::read_text(dir_.file("station.db"));
    }

    CliRun migrate()
    {
        return run_cli({"db", "migrate", "--from-release", "1", dir_.path().string()});
    }

    test::ScopedWorkDir dir_;
    test::ScopedSettings settings_;
    std::string crops_;
    std::string stations_;
};

TEST_F(Release1Folder, AnInterruptedMigrationIsFinishedByTheNextRun)
{
    const CliRun whole = migrate();
    ASSERT_EQ(whole.status, 0) << whole.err;
    const std::string new_crops = test::read_text(dir_.file("crop.db"));
    const std::string new_stations = test::read_text(dir_.file("station.db"));
    const auto put = [&](const char *name, const std::string &text) {
        ASSERT_TRUE(write_file_atomic(dir_.file(name),
                                      std::vector<std::uint8_t>(text.begin(), text.end())));
    };
    // Killed after the backups (both files still old), and between the two renames.
    for (const bool crop_done : {false, true}) {
        put("crop.db", crop_done ? new_crops : crops_);
        put("station.db", stations_);
        const CliRun rerun = migrate();
        EXPECT_EQ(rerun.status, 0) << rerun.err;
        EXPECT_EQ(contains(rerun.out, "crop.db was migrated before"), crop_done) << rerun.out;
        EXPECT_EQ(test::read_text(dir_.file("crop.db")), new_crops);
        EXPECT_EQ(test::read_text(dir_.file("station.db")), new_stations);
        EXPECT_EQ(test::read_text(dir_.file("crop.db.release1")), crops_);
        EXPECT_EQ(test::read_text(dir_.file("station.db.release1")), stations_);
    }
    const CliRun done = migrate();
    EXPECT_NE(done.status, 0);
    EXPECT_TRUE(contains(done.err, "Nothing to migrate")) << done.err;
    EXPECT_TRUE(contains(done.err, "Nothing was changed.")) << done.err;
}

TEST_F(Release1Folder, AFullDiskMigratesNeitherAndSaysSoTruthfully)
{
    for (int n = 1;; ++n) {
        io_faults::fail_nth(n);
        const CliRun r = migrate();
        const bool fired = io_faults::fired();
        io_faults::fail_nth(0);
        if (!fired) {
            EXPECT_EQ(r.status, 0) << r.err;
            break;
        }
        ASSERT_NE(r.status, 0) << n;
        EXPECT_TRUE(contains(r.err, "Nothing was changed.")) << n << r.err;
        EXPECT_EQ(test::read_text(dir_.file("crop.db")), crops_) << n;
        EXPECT_EQ(test::read_text(dir_.file("station.db")), stations_) << n;
        EXPECT_FALSE(fs::exists(dir_.file("crop.db.release1"))) << n;
        EXPECT_FALSE(fs::exists(dir_.file("station.db.release1"))) << n;
    }
}

TEST_F(Release1Folder, ACurrentStationFileOfAWholeNumberOfOldRecordsIsLeftAlone)
{
    ASSERT_EQ(migrate().status, 0);
    for (const char *name : {"crop.db", "crop.db.release1", "station.db.release1"})
        fs::remove(dir_.file(name));
    // 13 current records are 884 bytes, as many as 17 of the earlier layout.
    fs::resize_file(dir_.file("station.db"), 884);
    const std::string current = test::read_text(dir_.file("station.db"));
    const CliRun r = migrate();
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(contains(r.out, "station.db is in the current layout already; it was left alone."))
        << r.out;
    EXPECT_TRUE(contains(r.err, "Nothing was changed.")) << r.err;
    EXPECT_EQ(test::read_text(dir_.file("station.db")), current);
    EXPECT_FALSE(fs::exists(dir_.file("station.db.release1")));

    // Bytes that read as neither layout are no station database at all.
    std::string junk = current;
    junk[4] = '\x01';
    ASSERT_TRUE(write_file_atomic(dir_.file("station.db"),
                                  std::vector<std::uint8_t>(junk.begin(), junk.end())));
    const CliRun refused = migrate();
    EXPECT_NE(refused.status, 0);
    EXPECT_TRUE(contains(refused.err, "its records do not read as names and values"))
        << refused.err;
}

} // namespace
} // namespace tw
