#pragma once

#include "cli/cli.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tw::test {

/// One command line run in-process, with what it wrote.
struct CliRun
{
    int status;
    std::string out;
    std::string err;
};

inline CliRun run_cli(const std::vector<std::string> &args)
{
    std::ostringstream out, err;
    const int status = cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

inline bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

/// The text's lines, without their newlines.
inline std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

/// A scratch working directory that the demo fills: its Greeley 2022 location and corn field.
struct DemoFolderCli : ::testing::Test
{
    ScopedWorkDir dir;
    ScopedSettings settings;
    std::string loc = dir.file("Greeley2022.loc").string();
    std::string fld = dir.file("lirf-corn.fld").string();

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--workdir", dir.path().string()});
        return run_cli(args);
    }
};

} // namespace tw::test
