// Every save path under a failing disk: the n-th write, fsync, rename or read of the file layer
// fails, for every n the command makes, and the folder must hold the old files byte for byte (or,
// for a command that reports success, the new ones), never a temporary file, and never a nutrient
// file without its schedule.
#include "platform/io_faults.h"
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::run_cli;
using Folder = std::map<std::string, std::string>;

Folder snapshot(const fs::path &dir)
{
    Folder files;
    for (const auto &entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] = test::read_text(entry.path());
    return files;
}

void restore(const fs::path &dir, const Folder &files)
{
    for (const auto &entry : fs::directory_iterator(dir)) {
        if (!files.count(entry.path().filename().string()))
            fs::remove(entry.path());
    }
    for (const auto &[name, bytes] : files)
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc) << bytes;
}

struct Scenario
{
    const char *name;
    std::vector<std::string> removed; ///< made missing first, so the command re-creates them
    std::vector<std::string> args;    ///< after --workdir DIR; "@NAME" is a file of the folder
};

std::vector<std::string> command(const fs::path &dir, const Scenario &s)
{
    std::vector<std::string> line = {"--workdir", dir.string()};
    for (const std::string &a : s.args)
        line.push_back(a.starts_with("@") ? (dir / a.substr(1)).string() : a);
    return line;
}

class SaveFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path source = TILLWISE_SOURCE_DIR;
        const std::string d = dir_.path().string() + "/";
        for (const std::vector<std::string> &line : std::vector<std::vector<std::string>>{
                 {"db", "init"},
                 {"location", "new", d + "G.loc", "--name", "Greeley", "--start", "2022-05-01",
                  "--station", "Greeley"},
                 {"location", "import", d + "G.loc", "--format", "jvu-new",
                  (source / "data/demo/greeley-2022.txt").string()},
                 {"field", "new", d + "N0.fld", "--location", d + "G.loc", "--name", "Zero",
                  "--crop", "CORN", "--soil", "Loam", "--planting", "2022-05-10"},
             }) {
            std::vector<std::string> args = {"--workdir", dir_.path().string()};
            args.insert(args.end(), line.begin(), line.end());
            ASSERT_EQ(run_cli(args).status, 0) << line[0] << " " << line[1];
        }
        fs::copy_file(source / "data/examples/corn_preseason.ini", dir_.file("answers.ini"));
    }

    /// Runs the scenario with each of its file operations failing in turn: the folder must then
    /// hold its files as before or as after a run that succeeded, whole, and nothing else.
    void expect_old_or_new_files(const Scenario &s, const Folder &made)
    {
        const fs::path dir = dir_.path();
        restore(dir, made);
        for (const std::string &name : s.removed)
            fs::remove(dir / name);
        const Folder before = snapshot(dir);
        ASSERT_EQ(run_cli(command(dir, s)).status, 0) << s.name;
        const Folder after = snapshot(dir);
        int failures = 0;
        for (int n = 1;; ++n) {
            restore(dir, before);
            io_faults::fail_nth(n);
            const int status = run_cli(command(dir, s)).status;
            const bool fired = io_faults::fired();
            io_faults::fail_nth(0);
            if (!fired)
                break;
            failures += status != 0;
            const Folder now = snapshot(dir);
            for (const auto &[name, bytes] : now) {
                SCOPED_TRACE(std::string(s.name) + ", operation " + std::to_string(n) + ", " +
                             name);
                ASSERT_TRUE(before.count(name) || after.count(name)) << "left behind";
                if (status == 0) {
                    EXPECT_EQ(bytes, after.at(name)) << "a failure reported as success";
                    continue;
                }
                const bool old = before.count(name) && before.at(name) == bytes;
                const bool made_new = after.count(name) && after.at(name) == bytes;
                EXPECT_TRUE(old || made_new) << "neither the old nor the new file";
            }
            EXPECT_EQ(now.count("Zero22.FRT"), now.count("Zero22.LCH")) << s.name << " " << n;
            if (s.removed.empty() && status != 0) {
                EXPECT_EQ(now, before) << s.name << ", operation " << n;
            }
        }
        EXPECT_GT(failures, 0) << s.name << ": no failed operation was reported";
    }

    test::ScopedWorkDir dir_;
    test::ScopedSettings settings_;
};

TEST_F(SaveFaults, EverySavePathKeepsTheOldFilesWhicheverOperationFails)
{
    const Scenario scenarios[] = {
        {"location", {}, {"location", "set-day", "@G.loc", "--date", "2022-05-03", "--rain", "7"}},
        {"field",
         {},
         {"field", "set-day", "@N0.fld", "--location", "@G.loc", "--date", "2022-06-01",
          "--irrigation", "9"}},
        {"preferences", {}, {"prefs", "set", "depth_unit=mm"}},
        {"databases", {"soil.db", "crop.db", "station.db"}, {"db", "init"}},
        // The consultation re-creates its libraries and knowledge files, then saves the nutrient
        // and schedule pair and the field.
        {"consultation",
         {"N_FERT.LIB", "P_FERT.LIB", "K_FERT.LIB", "METHOD_2.KB", "INPUT.KB", "REC.KB"},
         {"fertility", "@N0.fld", "--location", "@G.loc", "--answers", "@answers.ini"}},
    };
    const Folder made = snapshot(dir_.path());
    for (const Scenario &s : scenarios)
        expect_old_or_new_files(s, made);
}

// Both databases of the earlier release move forward together or not at all: a failure leaves
// neither a migrated file nor a backup behind.
TEST_F(SaveFaults, TheMigrationChangesBothDatabasesOrNeither)
{
    for (const char *name : {"crop.db", "station.db", "soil.db"})
        fs::remove(dir_.file(name));
    ASSERT_EQ(run_cli({"--release", "1", "--workdir", dir_.path().string(), "db", "init"}).status,
              0);
    expect_old_or_new_files({"migration", {}, {"db", "migrate", "--from-release", "1"}},
                            snapshot(dir_.path()));
}

} // namespace
} // namespace tw
