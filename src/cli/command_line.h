#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace CLI {
class App;
} // namespace CLI

// The command line as the parser holds it: the program with its global options, the groups and
// the registered commands, each with its declarations. The dispatcher parses with it; the manual
// page is written from it.
namespace tw::cli {

struct GlobalOptions
{
    std::filesystem::path workdir;
    std::string answer = "yes";
    std::string release = "2";
};

/// The program's command line, binding the global options to `globals`.
std::unique_ptr<CLI::App> build_command_line(GlobalOptions &globals);

/// "tillwise-cli field new": the words that call the command.
std::string command_path(const CLI::App &command);

/// "tillwise-cli field new [OPTIONS] FILE.fld": the path, then the arguments it takes.
std::string usage_of(const CLI::App &command);

/// The leaf commands in the order the help lists them, with their paths below the program.
std::vector<const CLI::App *> leaf_commands(const CLI::App &program);

} // namespace tw::cli
