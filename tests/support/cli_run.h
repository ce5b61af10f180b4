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

} // namespace tw::test
