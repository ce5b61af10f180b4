#include "cli/cli.h"

#include "support/cli_run.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tw::cli {
namespace {

using test::CliRun;
using test::run_cli;

TEST(Cli, UnknownCommandsAndOptionsAreUsageErrors)
{
    EXPECT_EQ(run_cli({}).status, kExitUsage);
    EXPECT_EQ(run_cli({"frobnicate"}).status, kExitUsage);
    EXPECT_EQ(run_cli({"--workdir"}).status, kExitUsage);
    EXPECT_EQ(run_cli({"--answer", "maybe", "demo"}).status, kExitUsage);
    const CliRun help = run_cli({"help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("demo"), std::string::npos);
}

TEST(Cli, AMissingWorkingDirectoryIsRefused)
{
    const CliRun r = run_cli({"--workdir", "/no/such/dir", "demo"});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_NE(r.err.find("/no/such/dir"), std::string::npos);
}

TEST(Cli, OptionsParseValuesFlagsAndNumbers)
{
    const OptionSpec specs[] = {{"name", true}, {"csv", false}, {"days", true}};
    std::ostringstream err;
    const auto o = Options::parse({"F.loc", "--name", "A B", "--csv", "--days=150"}, specs, err);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->positionals(), std::vector<std::string>{"F.loc"});
    EXPECT_EQ(o->value("name"), "A B");
    EXPECT_TRUE(o->has("csv"));
    bool failed = false;
    EXPECT_EQ(o->integer("days", err, failed), 150);
    EXPECT_FALSE(o->number("missing", err, failed).has_value());
    EXPECT_FALSE(failed);

    const auto bad = Options::parse({"--days", "1x"}, specs, err);
    ASSERT_TRUE(bad);
    EXPECT_FALSE(bad->integer("days", err, failed).has_value());
    EXPECT_TRUE(failed);
    EXPECT_FALSE(Options::parse({"--colour"}, specs, err));
    EXPECT_FALSE(Options::parse({"--name"}, specs, err));
    EXPECT_FALSE(Options::parse({"--csv=1"}, specs, err));
}

TEST(Cli, TablesAlignForPeopleAndQuoteForPrograms)
{
    std::ostringstream text, csv;
    print_table(text, {"Name", "SM_FC (in/ft)"}, {{"Loam", "4.110"}, {"Sandy Loam", "2.860"}},
                false);
    EXPECT_EQ(text.str(), "Name        SM_FC (in/ft)\nLoam        4.110\nSandy Loam  2.860\n");
    print_table(csv, {"a", "b"}, {{"x,y", "say \"hi\""}}, true);
    EXPECT_EQ(csv.str(), "a,b\n\"x,y\",\"say \"\"hi\"\"\"\n");
}

} // namespace
} // namespace tw::cli
