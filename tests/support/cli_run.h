#pragma once

#include "cli/cli.h"

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

} // namespace tw::test
