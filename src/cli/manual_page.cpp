// The manual page of tillwise-cli, written from the declarations that --help shows, so that the
// two never disagree.
#include "cli/cli.h"
#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace tw::cli {
namespace {

/// Text as roff shows it literally: backslashes escaped, hyphens as minus signs (so that options
/// can be searched for and copied), and no line that roff would take for a request.
std::string roff(const std::string &text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else
            escaped += c;
        if (c == '\n')
            escaped += "\\&";
    }
    return (escaped.starts_with('.') || escaped.starts_with('\'')) ? "\\&" + escaped : escaped;
}

void write_options(std::ostream &out, const CLI::App &command)
{
    for (const CLI::Option *o : command.get_options()) {
        if (o->get_lnames() == std::vector<std::string>{"help"})
            continue;
        const std::string name =
            o->nonpositional() ? "--" + o->get_lnames().front() : o->get_name();
        out << ".TP\n\\fB" << roff(name) << "\\fR";
        if (o->nonpositional() && o->get_expected_max() > 0)
            out << " \\fI" << roff(o->get_type_name()) << "\\fR";
        out << "\n" << roff(o->get_description());
        if (o->get_required() && o->nonpositional())
            out << " (required)";
        out << "\n";
    }
}

} // namespace

void write_manual_page(std::ostream &out)
{
    GlobalOptions globals;
    const auto program = build_command_line(globals);
    out << ".TH TILLWISE-CLI 1 \"\" \"Tillwise\" \"User Commands\"\n"
        << ".SH NAME\ntillwise\\-cli \\- irrigation scheduling and fertilizer consultation from "
           "the command line\n"
        << ".SH SYNOPSIS\n.B tillwise\\-cli\n[\\fIGLOBAL OPTIONS\\fR] \\fICOMMAND\\fR "
           "[\\fIARGUMENTS\\fR] [\\fIOPTIONS\\fR]\n"
        << ".SH DESCRIPTION\n"
        << roff(program->get_description()) << "\n"
        << ".PP\nEvery command explains itself: \\fBtillwise\\-cli \\fICOMMAND\\fB "
           "\\-\\-help\\fR.\n"
        << ".SH GLOBAL OPTIONS\n";
    write_options(out, *program);
    out << ".SH COMMANDS\n";
    for (const CLI::App *command : leaf_commands(*program)) {
        out << ".SS " << roff(usage_of(*command)) << "\n"
            << roff(command->get_description()) << "\n";
        write_options(out, *command);
    }
    out << ".SH EXIT STATUS\n"
        << ".TP\n0\nThe command did its work.\n"
        << ".TP\n1\nThe command could not do its work; standard error says why.\n"
        << ".TP\n2\nThe command line was refused: an unknown command or option, a missing "
           "argument or a value the option does not take.\n"
        << ".SH FILES\n"
        << "In the working directory: soil.db, crop.db and station.db (the reference "
           "databases), custom.con (the preferences), METHOD_2.KB, INPUT.KB, REC.KB, N_FERT.LIB, "
           "P_FERT.LIB and K_FERT.LIB (the fertilizer consultation's knowledge files and "
           "materials); \\fBtillwise\\-cli db init\\fR writes those missing.\n";
}

} // namespace tw::cli
