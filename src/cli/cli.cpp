#include "cli/cli.h"

#include "cli/command_line.h"
#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/text_table.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <ostream>

namespace tw::cli {
namespace {

std::vector<Command> &command_table()
{
    static std::vector<Command> table;
    return table;
}

std::vector<Command> sorted_commands()
{
    std::vector<Command> commands = command_table();
    std::sort(commands.begin(), commands.end(), [](const Command &a, const Command &b) {
        return std::tie(a.group, a.name) < std::tie(b.group, b.name);
    });
    return commands;
}

const Command *find_command(std::string_view group, std::string_view name)
{
    for (const Command &c : command_table()) {
        if (c.group == group && c.name == name)
            return &c;
    }
    return nullptr;
}

constexpr std::pair<std::string_view, std::string_view> kGroups[] = {
    {"db", "The reference databases: soil.db, crop.db and station.db."},
    {"field", "Fields: their details, days, tables and reports."},
    {"location", "Locations: their station, season and daily weather."},
    {"prefs", "The preferences of custom.con."},
};

std::string group_summary(std::string_view group)
{
    for (const auto &[name, summary] : kGroups) {
        if (name == group)
            return std::string(summary);
    }
    return {};
}

constexpr const char *kProgramSummary =
    "Tillwise's locations, fields and reference files without the desktop program.\n"
    "The working directory (--workdir, default: the current one) holds the reference files:\n"
    "soil.db, crop.db, station.db, custom.con and the fertility knowledge files.\n"
    "Depths, temperatures and other values are read and shown in the units of custom.con\n"
    "(tillwise-cli prefs show); CSV exports are in internal units (mm, \u00B0C).";

/// The help of CLI11 with this program's usage line; the program's own help lists the commands
/// with their groups in its footer instead of the groups alone.
class HelpFormatter : public CLI::Formatter
{
public:
    std::string make_usage(const CLI::App *app, std::string) const override
    {
        return "usage: " + usage_of(*app) + "\n";
    }
    std::string make_subcommands(const CLI::App *app, CLI::AppFormatMode mode) const override
    {
        return app->get_parent() ? CLI::Formatter::make_subcommands(app, mode) : std::string();
    }
};

std::string commands_footer(const CLI::App &program)
{
    std::string text = "Commands (tillwise-cli help COMMAND, or COMMAND --help, lists a command's "
                       "options):\n";
    for (const CLI::App *command : leaf_commands(program)) {
        text += "  " + usage_of(*command).substr(program.get_name().size() + 1) + "\n      " +
                command->get_description() + "\n";
    }
    text += "\nExit status: 0 when the command did its work, 1 when it could not (the reason is "
            "on\nstandard error), 2 for a command line it does not take.";
    return text;
}

bool has_commands(const CLI::App &app)
{
    return !app.get_subcommands([](const CLI::App *) { return true; }).empty();
}

/// The command the parser reached: the program, a group or a command.
const CLI::App &reached(const CLI::App &app)
{
    const auto parsed = app.get_subcommands();
    return parsed.empty() ? app : reached(*parsed.front());
}

std::string without_period(std::string text)
{
    while (!text.empty() && (text.back() == '.' || text.back() == '\n'))
        text.pop_back();
    return text;
}

/// One line that says what is wrong with the command line, and the usage of the command. A word
/// the command does not take is named first: the parser would otherwise ask for a required option
/// that the mistyped word may have been meant as.
void tell_usage_error(std::ostream &err, const CLI::App &program, const CLI::ParseError &e)
{
    const CLI::App &at = reached(program);
    std::string reason = without_period(e.what());
    if (const auto extra = program.remaining(true); !extra.empty()) {
        reason = has_commands(at)                 ? "unknown command " + extra.front()
                 : extra.front().starts_with("-") ? "unknown option " + extra.front()
                                                  : "unexpected argument " + extra.front();
    }
    err << command_path(at) << ": " << reason << ".\n"
        << "usage: " << usage_of(at) << " (" << command_path(at) << " --help tells more)\n";
}

CLI::Validator one_of(std::initializer_list<std::string_view> values, std::string what)
{
    std::vector<std::string> allowed(values.begin(), values.end());
    return CLI::Validator(
        [allowed, what](std::string &value) {
            return std::find(allowed.begin(), allowed.end(), value) == allowed.end()
                       ? what + ", not \"" + value + "\""
                       : std::string();
        },
        "");
}

/// "help [COMMAND...]" asks for what "COMMAND --help" shows, wherever the global options stand.
std::vector<std::string> help_as_option(std::vector<std::string> args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &word = args[i];
        if (word == "--workdir" || word == "--answer" || word == "--release") {
            ++i;
            continue;
        }
        if (word.starts_with("-"))
            continue;
        if (word == "help") {
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            args.push_back("--help");
        }
        break;
    }
    return args;
}

} // namespace

Registration::Registration(const Command &command)
{
    command_table().push_back(command);
}

std::unique_ptr<CLI::App> build_command_line(GlobalOptions &globals)
{
    auto program = std::make_unique<CLI::App>(kProgramSummary, "tillwise-cli");
    program->formatter(std::make_shared<HelpFormatter>());
    // Scripts put the global options before the command, and some after it: both are taken.
    program->fallthrough();
    program->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    program->add_option("--workdir", globals.workdir)
        ->type_name("DIR")
        ->description("the folder of the reference files (default: the current one)");
    program->add_option("--answer", globals.answer)
        ->type_name("yes|no")
        ->check(one_of({"yes", "no"}, "takes yes or no"))
        ->description("the answer to every question a command asks, such as whether to replace "
                      "a file (default: yes)");
    program->add_option("--release", globals.release)
        ->type_name("1|2")
        ->check(one_of({"1", "2"}, "takes 1 (the earlier release) or 2"))
        ->description("the release whose files to work on: 1 for Tillwise 1 (default: 2)");
    for (const Command &c : sorted_commands()) {
        CLI::App *command = nullptr;
        if (c.name.empty()) {
            command = program->add_subcommand(std::string(c.group), std::string(c.summary));
        } else {
            const auto named = program->get_subcommands(
                [&](const CLI::App *sub) { return sub->get_name() == c.group; });
            CLI::App *group = named.empty() ? nullptr : named.front();
            if (!group)
                group = program->add_subcommand(std::string(c.group), group_summary(c.group));
            command = group->add_subcommand(std::string(c.name), std::string(c.summary));
        }
        command->footer("The global options (--workdir DIR, --answer yes|no, --release 1|2) go "
                        "before or after the command: tillwise-cli --help.");
        if (c.declare)
            c.declare(*command);
    }
    program->footer(commands_footer(*program));
    return program;
}

std::string command_path(const CLI::App &command)
{
    const CLI::App *parent = command.get_parent();
    return parent ? command_path(*parent) + " " + command.get_name() : command.get_name();
}

std::string usage_of(const CLI::App &command)
{
    std::string usage = command_path(command);
    const auto options = command.get_options([](const CLI::Option *o) {
        return o->nonpositional() && o->get_lnames() != std::vector<std::string>{"help"};
    });
    if (!options.empty())
        usage += " [OPTIONS]";
    if (has_commands(command))
        usage += " COMMAND";
    for (const CLI::Option *o : command.get_options()) {
        if (o->nonpositional())
            continue;
        const std::string shown = o->get_name() + (o->get_expected_max() > 1 ? "..." : "");
        usage += " " + (o->get_required() ? shown : "[" + shown + "]");
    }
    return usage;
}

std::vector<const CLI::App *> leaf_commands(const CLI::App &program)
{
    std::vector<const CLI::App *> leaves;
    for (const CLI::App *app : program.get_subcommands([](const CLI::App *) { return true; })) {
        if (!has_commands(*app)) {
            leaves.push_back(app);
            continue;
        }
        for (const CLI::App *command : app->get_subcommands([](const CLI::App *) { return true; }))
            leaves.push_back(command);
    }
    return leaves;
}

int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    GlobalOptions globals;
    const std::unique_ptr<CLI::App> program = build_command_line(globals);
    if (args.empty()) {
        err << program->help();
        return kExitUsage;
    }
    // CLI11 takes the arguments last first.
    const std::vector<std::string> words = help_as_option(args);
    std::vector<std::string> reversed(words.rbegin(), words.rend());
    try {
        program->parse(reversed);
    } catch (const CLI::CallForHelp &e) {
        // The help of a command that does not exist would be its group's.
        if (!program->remaining(true).empty()) {
            tell_usage_error(err, *program, e);
            return kExitUsage;
        }
        out << program->help();
        return kExitOk;
    } catch (const CLI::ParseError &e) {
        tell_usage_error(err, *program, e);
        return kExitUsage;
    }
    const CLI::App &chosen = reached(*program);
    if (has_commands(chosen)) {
        err << chosen.help();
        return kExitUsage;
    }
    const CLI::App *parent = chosen.get_parent();
    const Command *command = parent == program.get()
                                 ? find_command(chosen.get_name(), "")
                                 : find_command(parent->get_name(), chosen.get_name());
    const std::filesystem::path workdir = globals.workdir;
    if (!workdir.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(workdir, ec)) {
            err << "The working directory " << workdir.string() << " does not exist.\n";
            return kExitFailure;
        }
    }

    ConsoleMessagePort port(err, globals.answer == "yes");
    MessagePort *previous_port = set_messages(&port);
    const std::filesystem::path previous_dir = work_dir();
    const Edition &previous_edition = edition();
    set_edition(*edition_of_release(globals.release[0] - '0'));
    set_work_dir(workdir);
    load_custom_settings();

    const Options options(chosen);
    Context context{options, out, err};
    const int status = command->handler(context);

    set_work_dir(previous_dir);
    set_edition(previous_edition);
    set_messages(previous_port);
    return status;
}

void add_argument(CLI::App &command, const std::string &name, const std::string &what, Need need)
{
    command.add_option(name)->description(what)->required(need == Need::Required);
}

void add_arguments(CLI::App &command, const std::string &name, const std::string &what)
{
    command.add_option(name)
        ->description(what)
        ->required()
        ->expected(1, CLI::detail::expected_max_vector_size)
        ->allow_extra_args();
}

void add_value(CLI::App &command, const std::string &name, const std::string &value_name,
               const std::string &what, Need need)
{
    command.add_option(name)
        ->type_name(value_name)
        ->description(what)
        ->required(need == Need::Required);
}

void add_flag(CLI::App &command, const std::string &name, const std::string &what)
{
    command.add_flag(name)->description(what)->disable_flag_override();
}

void add_csv_flag(CLI::App &command)
{
    add_flag(command, "--csv",
             "CSV (quoted where needed) for a program instead of aligned columns");
}

Options::Options(const CLI::App &command)
{
    for (const CLI::Option *o : command.get_options()) {
        if (!o->nonpositional()) {
            positionals_.insert(positionals_.end(), o->results().begin(), o->results().end());
            continue;
        }
        if (o->count() == 0 || o->get_lnames().empty())
            continue;
        values_.emplace_back(o->get_lnames().front(),
                             o->get_expected_max() == 0 ? std::string() : o->results().back());
    }
}

bool Options::has(std::string_view name) const
{
    return std::any_of(values_.begin(), values_.end(),
                       [&](const auto &v) { return v.first == name; });
}

std::optional<std::string> Options::value(std::string_view name) const
{
    for (const auto &[option, value] : values_) {
        if (option == name)
            return value;
    }
    return std::nullopt;
}

std::optional<float> Options::number(std::string_view name, std::ostream &err, bool &failed) const
{
    const auto text = value(name);
    if (!text)
        return std::nullopt;
    float parsed = 0.0f;
    const char *first = text->data();
    const char *last = first + text->size();
    const auto [ptr, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc() || ptr != last || !std::isfinite(parsed)) {
        err << "Option --" << name << " needs a number, not \"" << *text << "\".\n";
        failed = true;
        return std::nullopt;
    }
    return parsed;
}

std::optional<int> Options::integer(std::string_view name, std::ostream &err, bool &failed) const
{
    const auto text = value(name);
    if (!text)
        return std::nullopt;
    int parsed = 0;
    const char *first = text->data();
    const char *last = first + text->size();
    const auto [ptr, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc() || ptr != last) {
        err << "Option --" << name << " needs a whole number, not \"" << *text << "\".\n";
        failed = true;
        return std::nullopt;
    }
    return parsed;
}

namespace {

// Display width of UTF-8 text: one column per code point.
std::size_t display_width(const std::string &text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

void print_table(std::ostream &out, const std::vector<std::string> &headers,
                 const std::vector<std::vector<std::string>> &rows, bool csv)
{
    if (csv) {
        out << csv_text({headers, rows});
        return;
    }
    std::vector<std::size_t> widths(headers.size());
    for (std::size_t i = 0; i < headers.size(); ++i)
        widths[i] = display_width(headers[i]);
    for (const auto &row : rows) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], display_width(row[i]));
    }
    auto line = [&](const std::vector<std::string> &cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i)
                text += "  ";
            text += cells[i];
            if (i < widths.size() && i + 1 < cells.size())
                text.append(widths[i] - std::min(widths[i], display_width(cells[i])), ' ');
        }
        // A row whose last cells are empty would otherwise end in the padding before them.
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << '\n';
    };
    line(headers);
    for (const auto &row : rows)
        line(row);
}

} // namespace tw::cli

namespace tw::cli {

void print_table(std::ostream &out, const TextTable &table, bool csv)
{
    print_table(out, table.headers, table.rows, csv);
}

} // namespace tw::cli
