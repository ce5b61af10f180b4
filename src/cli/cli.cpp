#include "cli/cli.h"

#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/text_table.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"

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

void print_usage(std::ostream &out)
{
    out << "usage: tillwise-cli [--workdir DIR] [--answer yes|no] [--release 1] COMMAND [ARGS]\n\n"
           "The working directory (default: the current one) holds the reference files:\n"
           "soil.db, crop.db, station.db, custom.con and the fertility knowledge files.\n"
           "--release 1 works on the files of the earlier release, Tillwise 1.\n\n"
           "Commands:\n";
    std::vector<Command> commands = command_table();
    std::sort(commands.begin(), commands.end(), [](const Command &a, const Command &b) {
        return std::tie(a.group, a.name) < std::tie(b.group, b.name);
    });
    for (const Command &c : commands)
        out << "  " << c.usage << "\n      " << c.summary << "\n";
}

const Command *find_command(std::string_view group, std::string_view name)
{
    for (const Command &c : command_table()) {
        if (c.group == group && c.name == name)
            return &c;
    }
    return nullptr;
}

struct GlobalOptions
{
    std::filesystem::path workdir;
    bool answer_yes = true;
    const Edition *edition = &current_release();
    std::vector<std::string> rest;
};

std::optional<GlobalOptions> take_global_options(const std::vector<std::string> &args,
                                                 std::ostream &err)
{
    GlobalOptions g;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        std::string option = a, value;
        if (const auto eq = a.find('='); a.starts_with("--") && eq != std::string::npos) {
            option = a.substr(0, eq);
            value = a.substr(eq + 1);
        } else if (a == "--workdir" || a == "--answer" || a == "--release") {
            if (i + 1 == args.size()) {
                err << "Option " << a << " needs a value.\n";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (option == "--workdir") {
            g.workdir = value;
        } else if (option == "--answer") {
            if (value != "yes" && value != "no") {
                err << "Option --answer takes yes or no.\n";
                return std::nullopt;
            }
            g.answer_yes = value == "yes";
        } else if (option == "--release") {
            const Edition *chosen =
                value == "1" || value == "2" ? edition_of_release(value[0] - '0') : nullptr;
            if (!chosen) {
                err << "Option --release takes 1 (the earlier release) or 2.\n";
                return std::nullopt;
            }
            g.edition = chosen;
        } else {
            g.rest.push_back(a);
        }
    }
    return g;
}

} // namespace

Registration::Registration(const Command &command)
{
    command_table().push_back(command);
}

int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const auto global = take_global_options(args, err);
    if (!global)
        return kExitUsage;
    const std::vector<std::string> &rest = global->rest;
    if (rest.empty() || rest[0] == "help" || rest[0] == "--help" || rest[0] == "-h") {
        print_usage(rest.empty() ? err : out);
        return rest.empty() ? kExitUsage : kExitOk;
    }
    const Command *command = rest.size() > 1 ? find_command(rest[0], rest[1]) : nullptr;
    std::size_t consumed = 2;
    if (!command) {
        command = find_command(rest[0], "");
        consumed = 1;
    }
    if (!command) {
        err << "Unknown command: " << rest[0] << (rest.size() > 1 ? " " + rest[1] : "")
            << "\nRun tillwise-cli help for the list of commands.\n";
        return kExitUsage;
    }
    if (!global->workdir.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(global->workdir, ec)) {
            err << "The working directory " << global->workdir.string() << " does not exist.\n";
            return kExitFailure;
        }
    }

    ConsoleMessagePort port(err, global->answer_yes);
    MessagePort *previous_port = set_messages(&port);
    const std::filesystem::path previous_dir = work_dir();
    const Edition &previous_edition = edition();
    set_edition(*global->edition);
    set_work_dir(global->workdir);
    load_custom_settings();

    Context context{{rest.begin() + static_cast<std::ptrdiff_t>(consumed), rest.end()}, out, err};
    const int status = command->handler(context);

    set_work_dir(previous_dir);
    set_edition(previous_edition);
    set_messages(previous_port);
    return status;
}

std::optional<Options> Options::parse(const std::vector<std::string> &args,
                                      std::span<const OptionSpec> specs, std::ostream &err)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (!a.starts_with("--") || a.size() == 2) {
            options.positionals_.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        std::optional<std::string> inline_value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            inline_value = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto known = std::find_if(specs.begin(), specs.end(),
                                        [&](const OptionSpec &s) { return s.name == name; });
        if (known == specs.end()) {
            err << "Unknown option --" << name << ".\n";
            return std::nullopt;
        }
        if (!known->takes_value) {
            if (inline_value) {
                err << "Option --" << name << " takes no value.\n";
                return std::nullopt;
            }
            options.values_.emplace_back(name, "");
            continue;
        }
        if (!inline_value) {
            if (i + 1 == args.size()) {
                err << "Option --" << name << " needs a value.\n";
                return std::nullopt;
            }
            inline_value = args[++i];
        }
        options.values_.emplace_back(name, *inline_value);
    }
    return options;
}

bool Options::has(std::string_view name) const
{
    return std::any_of(values_.begin(), values_.end(),
                       [&](const auto &v) { return v.first == name; });
}

std::optional<std::string> Options::value(std::string_view name) const
{
    // The last occurrence wins, as in most command-line programs.
    for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
        if (it->first == name)
            return it->second;
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
