#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {
struct TextTable;
}

// tillwise-cli: the program's documents headless. Every command registers itself with a group and
// a name ("db init"); the dispatcher takes the global options, installs the console message port
// and loads the preferences of the working directory before it runs the command.
namespace tw::cli {

struct Context
{
    std::vector<std::string> args; ///< the command's own arguments (after group and name)
    std::ostream &out;
    std::ostream &err;
};

using Handler = int (*)(Context &);

struct Command
{
    std::string_view group;
    std::string_view name; ///< empty for a command that is its group ("summary")
    std::string_view usage;
    std::string_view summary;
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

struct OptionSpec
{
    std::string_view name; ///< without the leading "--"
    bool takes_value;
};

/// The options of one command: "--name value", "--name=value" and "--flag"; the rest are
/// positional. Unknown options and missing values are refused with a message.
class Options
{
public:
    static std::optional<Options> parse(const std::vector<std::string> &args,
                                        std::span<const OptionSpec> specs, std::ostream &err);

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

/// Prints a table: aligned columns for a person, or CSV (quoted where needed) for a program.
void print_table(std::ostream &out, const std::vector<std::string> &headers,
                 const std::vector<std::vector<std::string>> &rows, bool csv);
void print_table(std::ostream &out, const TextTable &table, bool csv);

} // namespace tw::cli
