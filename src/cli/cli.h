#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CLI {
class App;
} // namespace CLI

namespace tw {
struct TextTable;
}

// tillwise-cli: the program's documents headless. Every command registers itself with a group, a
// name ("db init") and the declarations of its options; the dispatcher reads the command line
// against them (so every command has --help), takes the global options, installs the console
// message port and loads the preferences of the working directory before it runs the command.
namespace tw::cli {

/// What a command was given, after the command line was checked against its declarations: the
/// options named without their "--" (the last of a repeated one wins) and the positional
/// arguments in the order they were declared.
class Options
{
public:
    explicit Options(const CLI::App &command);

    bool has(std::string_view name) const;
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<std::string> &positionals() const { return positionals_; }

    /// The option as a number; nothing when absent. A malformed number is reported and sets
    /// `failed`.
    std::optional<float> number(std::string_view name, std::ostream &err, bool &failed) const;
    std::optional<int> integer(std::string_view name, std::ostream &err, bool &failed) const;

private:
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> positionals_;
};

struct Context
{
    const Options &options;
    std::ostream &out;
    std::ostream &err;
};

using Handler = int (*)(Context &);
/// Declares a command's arguments and options, with the units and defaults its --help shows.
using Declare = void (*)(CLI::App &);

struct Command
{
    std::string_view group;
    std::string_view name; ///< empty for a command that is its group ("summary")
    std::string_view summary;
    Declare declare;
    Handler handler;
};

/// A file-scope `static const Registration` adds a command to the table.
class Registration
{
public:
    explicit Registration(const Command &command);
};

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

/// Runs one command line (without the program name); returns the exit status.
int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

/// The whole command line as a manual page (roff), from the same declarations as --help.
void write_manual_page(std::ostream &out);

// The declarations of a command's arguments and options, for its `Declare` function. They keep
// the parser's header out of the commands' files.

enum class Need { Optional, Required };

/// A positional argument; `name` is how the usage line shows it ("FILE.fld").
void add_argument(CLI::App &command, const std::string &name, const std::string &what,
                  Need need = Need::Required);
/// A positional argument given one or more times ("KEY=VALUE...").
void add_arguments(CLI::App &command, const std::string &name, const std::string &what);
/// An option that takes a value; `value_name` shows its form or unit ("YYYY-MM-DD", "PERCENT").
/// A repeated option keeps its last value.
void add_value(CLI::App &command, const std::string &name, const std::string &value_name,
               const std::string &what, Need need = Need::Optional);
/// An option without a value.
void add_flag(CLI::App &command, const std::string &name, const std::string &what);
/// --csv: the table as CSV for a program rather than aligned for a person.
void add_csv_flag(CLI::App &command);

/// Prints a table: aligned columns for a person, or CSV (quoted where needed) for a program.
void print_table(std::ostream &out, const std::vector<std::string> &headers,
                 const std::vector<std::vector<std::string>> &rows, bool csv);
void print_table(std::ostream &out, const TextTable &table, bool csv);

} // namespace tw::cli
