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

// A command line is checked against the command's declarations before the command runs: what
// the old hand-written parser took still reads the same, and what it refused is still refused.
TEST(Cli, OptionsTakeValuesFlagsAndNumbers)
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    const std::string loc = dir.file("g.loc").string();
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return run_cli(args);
    };
    ASSERT_EQ(run({"db", "init"}).status, kExitOk);
    // A value with a space, --name=value, a negative number, and the last of a repeated option.
    const CliRun created = run({"location", "new", loc, "--name", "Far away", "--start=2022-05-01",
                                "--latitude", "-10", "--latitude", "40", "--days=150"});
    ASSERT_EQ(created.status, kExitOk) << created.err;
    EXPECT_EQ(created.out,
              "Created " + loc +
                  ": Far away2022 - (Location: Far away), 150 days from 2022-05-01.\n");
    EXPECT_EQ(run({"location", "show", loc, "--csv"}).out.substr(0, 10), "     Date,");

    const struct
    {
        std::vector<std::string> args;
        std::string reason; ///< the first line of standard error
    } refused[] = {
        {{"location", "edit", loc, "--days", "1x"},
         "Option --days needs a whole number, not \"1x\"."},
        {{"location", "edit", loc, "--colour", "red"},
         "tillwise-cli location edit: unknown option --colour."},
        {{"location", "edit", loc, "--days"},
         "tillwise-cli location edit: --days: 1 required N missing."},
        {{"location", "show", loc, "--csv=1"},
         "tillwise-cli location show: csv was given a disallowed flag override."},
        {{"location", "show"}, "tillwise-cli location show: FILE.loc is required."},
        {{"location", "show", loc, loc},
         "tillwise-cli location show: unexpected argument " + loc + "."},
        {{"location", "frobnicate"}, "tillwise-cli location: unknown command frobnicate."},
        {{"field", "new", "n.fld", "--location", loc, "--name", "n", "--planting", "2022-05-10"},
         "tillwise-cli field new: --crop is required."},
        // A mistyped option is named rather than the required option it may have been meant as.
        {{"field", "new", "n.fld", "--location", loc, "--nmae", "n", "--crop", "CORN", "--planting",
          "2022-05-10"},
         "tillwise-cli field new: unknown option --nmae."},
        {{"help", "field", "old"}, "tillwise-cli field: unknown command old."},
    };
    for (const auto &r : refused) {
        const CliRun result = run(r.args);
        EXPECT_EQ(result.status, kExitUsage) << r.reason;
        const auto err = test::lines(result.err);
        EXPECT_EQ(err.at(0), r.reason);
        EXPECT_EQ(err.size(), 1u + (result.err.find("\nusage: ") != std::string::npos));
        EXPECT_EQ(result.out, "");
    }
}

// Every command answers --help with its usage and options, as `help COMMAND` does; the program's
// help lists every command.
TEST(Cli, EveryCommandExplainsItself)
{
    const CliRun program = run_cli({"--help"});
    ASSERT_EQ(program.status, kExitOk);
    EXPECT_EQ(run_cli({"help"}).out, program.out);
    std::vector<std::vector<std::string>> commands;
    for (const std::string &line : test::lines(program.out)) {
        if (!line.starts_with("  ") || line.starts_with("   ") || line.starts_with("  -"))
            continue;
        std::istringstream words(line);
        std::vector<std::string> command;
        for (std::string word; words >> word && word.front() != '[' && word != "FILE.fld" &&
                               word.find_first_of(".=") == std::string::npos;)
            command.push_back(word);
        commands.push_back(command);
    }
    ASSERT_EQ(commands.size(), 28u) << program.out;
    for (std::vector<std::string> command : commands) {
        std::vector<std::string> help_args = {"help"};
        help_args.insert(help_args.end(), command.begin(), command.end());
        std::string path = "usage: tillwise-cli";
        for (const std::string &word : command)
            path += " " + word;
        command.push_back("--help");
        const CliRun help = run_cli(command);
        EXPECT_EQ(help.status, kExitOk) << path;
        EXPECT_TRUE(test::contains(help.out, path)) << help.out;
        EXPECT_EQ(run_cli(help_args).out, help.out) << path;
    }

    const CliRun field_new = run_cli({"field", "new", "--help"});
    for (const char *part :
         {"usage: tillwise-cli field new [OPTIONS] FILE.fld", "--crop NAME REQUIRED",
          "--efficiency PERCENT", "in percent (default: the system's)", "--location L.loc"})
        EXPECT_TRUE(test::contains(field_new.out, part)) << part << "\n" << field_new.out;
    // Options whose values are checked by the command itself still show their forms.
    const std::vector<std::pair<std::vector<std::string>, std::vector<const char *>>> listed = {
        {{"field", "next"}, {"--location L.loc", "--csv"}},
        {{"field", "edit"}, {"--learn on|off"}},
        {{"field", "readings"}, {"--taken morning|evening", "(default: evening)"}},
        {{"location", "import"},
         {"--preset NAME", "--save-preset NAME", "--replace", "--forecast", "auto|ENTRY"}},
        {{"location", "source"}, {"--url TEMPLATE", "--forecast-url TEMPLATE"}},
        {{"location", "update"}, {"--through YYYY-MM-DD", "(default: yesterday)"}},
    };
    for (auto [command, parts] : listed) {
        command.push_back("--help");
        const CliRun help = run_cli(command);
        for (const char *part : parts)
            EXPECT_TRUE(test::contains(help.out, part)) << part << "\n" << help.out;
    }
}

TEST(Cli, TheManualPageHasEveryCommandAndOption)
{
    std::ostringstream page;
    write_manual_page(page);
    for (const char *part :
         {".TH TILLWISE-CLI 1", ".SS tillwise\\-cli field new [OPTIONS] FILE.fld",
          "\\fB\\-\\-crop\\fR \\fINAME\\fR", ".SS tillwise\\-cli location import",
          "\\fB\\-\\-workdir\\fR \\fIDIR\\fR", ".SS tillwise\\-cli field next",
          ".SS tillwise\\-cli location source", ".SS tillwise\\-cli location update",
          ".SH EXIT STATUS"})
        EXPECT_TRUE(test::contains(page.str(), part)) << part;
    for (const std::string &line : test::lines(page.str()))
        EXPECT_FALSE(line.starts_with(".") && line.size() > 1 && line[1] == ' ') << line;
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
