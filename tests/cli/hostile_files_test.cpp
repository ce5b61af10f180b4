// What other programs and damaged files can do to the commands: reference files found by fuzzing,
// a FIFO named as a document, and a second process saving the same field at the same time.
#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <iostream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::contains;
using test::run_cli;

class HostileFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path source = TILLWISE_SOURCE_DIR;
        ASSERT_EQ(run({"db", "init"}).status, 0);
        ASSERT_EQ(run({"prefs", "set", "depth_unit=mm"}).status, 0);
        ASSERT_EQ(run({"location", "new", file("G.loc"), "--name", "Greeley", "--start",
                       "2022-05-01", "--station", "Greeley"})
                      .status,
                  0);
        ASSERT_EQ(run({"location", "import", file("G.loc"), "--format", "jvu-new",
                       (source / "data/demo/greeley-2022.txt").string()})
                      .status,
                  0);
    }

    std::string file(const std::string &name) const { return dir_.file(name).string(); }

    test::CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir_.path().string()});
        return run_cli(args);
    }

    int new_field(const std::string &name)
    {
        return run({"field", "new", file(name), "--location", file("G.loc"), "--name", "North",
                    "--crop", "CORN", "--soil", "Loam", "--planting", "2022-05-10"})
            .status;
    }

    test::ScopedWorkDir dir_;
    test::ScopedSettings settings_;
};

TEST_F(HostileFiles, DamagedReferenceFilesGiveAMessageAndAFailure)
{
    // A crop whose maximum harvests count once made the perennial expansion run without end.
    fs::copy_file(test::data_file("crop_max_harvests_hang.db"), dir_.file("crop.db"),
                  fs::copy_options::overwrite_existing);
    const test::CliRun field =
        run({"field", "new", file("X.fld"), "--location", file("G.loc"), "--name", "X", "--crop",
             "CORN", "--soil", "Loam", "--planting", "2022-05-10"});
    EXPECT_NE(field.status, 0);
    EXPECT_TRUE(contains(field.err, "more than the 10 harvests a field holds")) << field.err;
    EXPECT_FALSE(fs::exists(dir_.file("X.fld")));

    // An elevation of 2.2e32 m, once cast to int for the list (undefined behaviour).
    fs::copy_file(test::data_file("station_elevation_ubsan.db"), dir_.file("station.db"),
                  fs::copy_options::overwrite_existing);
    const test::CliRun stations = run({"db", "list", "stations", "--csv"});
    EXPECT_EQ(stations.status, 0) << stations.err;
    EXPECT_TRUE(contains(stations.out, "2147483647")) << stations.out;
}

TEST_F(HostileFiles, AFifoNamedAsADocumentIsRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo(file("f.loc").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(file("f.fld").c_str(), 0600), 0);
    const test::CliRun location = run({"location", "show", file("f.loc")});
    EXPECT_NE(location.status, 0);
    EXPECT_TRUE(contains(location.err, "not a regular file")) << location.err;
    const test::CliRun field =
        run({"field", "schedule", file("f.fld"), "--location", file("G.loc")});
    EXPECT_NE(field.status, 0);
    EXPECT_TRUE(contains(field.err, "not a regular file")) << field.err;
}

// Two processes enter different days of one field at once: each update is either in the file or
// refused with a message and a failure status; none is lost while its process says it saved.
TEST_F(HostileFiles, ConcurrentDayEntriesLoseNoUpdateSilently)
{
    ASSERT_EQ(new_field("N.fld"), 0);
    constexpr int kRounds = 200;
    int saved = 0, refused = 0, lost = 0;
    const char *dates[] = {"2022-06-01", "2022-06-02"};
    for (int round = 0; round < kRounds; ++round) {
        const std::string amount = std::to_string(round % 90 + 5);
        pid_t children[2];
        for (int k = 0; k < 2; ++k) {
            children[k] = ::fork();
            ASSERT_GE(children[k], 0);
            if (children[k] == 0) {
                const test::CliRun r =
                    run({"field", "set-day", file("N.fld"), "--location", file("G.loc"), "--date",
                         dates[k], "--irrigation", amount});
                const bool told = r.status == 0 || contains(r.err, "changed by another program");
                ::_exit(r.status == 0 ? 0 : told ? 1 : 2);
            }
        }
        int status[2];
        for (int k = 0; k < 2; ++k) {
            int raw = 0;
            ASSERT_EQ(::waitpid(children[k], &raw, 0), children[k]);
            ASSERT_TRUE(WIFEXITED(raw));
            status[k] = WEXITSTATUS(raw);
            ASSERT_NE(status[k], 2) << "a refusal without its message";
        }
        const test::CliRun exported =
            run({"field", "export", file("N.fld"), "--location", file("G.loc")});
        for (int k = 0; k < 2; ++k) {
            if (status[k] != 0) {
                ++refused;
                continue;
            }
            ++saved;
            const std::string row = std::string(",") + dates[k] + ",";
            const auto at = exported.out.find(row);
            ASSERT_NE(at, std::string::npos);
            const std::string line = exported.out.substr(at, exported.out.find('\n', at) - at);
            // The gross irrigation is the sixth value after the date.
            std::size_t pos = 0;
            for (int comma = 0; comma < 6; ++comma)
                pos = line.find(',', pos + 1);
            lost += std::stoi(line.substr(pos + 1)) != std::stoi(amount);
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(saved + refused, 2 * kRounds);
    std::cout << "concurrent day entries: " << saved << " saved, " << refused << " refused, "
              << lost << " lost in " << kRounds << " rounds\n";
}

} // namespace
} // namespace tw
