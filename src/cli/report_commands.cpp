// The printed reports of a field and a location as PDF files, for an adviser who prints many
// fields at once. They draw with the windows' printers, so they need the desktop build.
#include "cli/cli.h"
#include "cli/command_support.h"

#include <optional>
#include <ostream>
#include <string>

#ifdef TILLWISE_WITH_GUI
#include "field/ui/field_report.h"
#include "location/ui/weather_printer.h"

#include <QApplication>
#include <QtGlobal>
#endif

namespace tw::cli {
namespace {

#ifdef TILLWISE_WITH_GUI

/// Runs `write` under a Qt application of the offscreen platform unless one is running.
template<typename Write>
bool with_qt(Write write)
{
    if (QApplication::instance())
        return write();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tillwise-cli";
    static char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tillwise"));
    return write();
}

bool written(Context &ctx, bool ok, const std::string &path, const std::string &error)
{
    if (!ok) {
        ctx.err << "Could not write the report: " << error << ".\n";
        return false;
    }
    ctx.out << "Wrote " << path << "\n";
    return true;
}

int field_report(Context &ctx)
{
    const auto pdf = ctx.options.value("pdf");
    auto open = open_field_file(ctx.options, ctx.err);
    if (!open)
        return kExitFailure;
    std::string error;
    const bool ok = with_qt([&] { return write_field_report_pdf(*open->field, *pdf, error); });
    return written(ctx, ok, *pdf, error) ? kExitOk : kExitFailure;
}

int location_report(Context &ctx)
{
    const auto pdf = ctx.options.value("pdf");
    auto location = read_location(ctx.options.positionals()[0], ctx.err);
    if (!location)
        return kExitFailure;
    std::string error;
    const bool ok = with_qt([&] { return write_location_report_pdf(*location, *pdf, error); });
    return written(ctx, ok, *pdf, error) ? kExitOk : kExitFailure;
}

#else

int needs_gui(Context &ctx)
{
    ctx.err << "The PDF reports need the desktop build of Tillwise (configured with "
               "-DTILLWISE_GUI=ON).\n";
    return kExitFailure;
}

int field_report(Context &ctx)
{
    return needs_gui(ctx);
}

int location_report(Context &ctx)
{
    return needs_gui(ctx);
}

#endif

void add_pdf_option(CLI::App &command)
{
    add_value(command, "--pdf", "OUT.pdf", "the PDF file to write", Need::Required);
}

void declare_field_report(CLI::App &command)
{
    add_field_arguments(command);
    add_pdf_option(command);
}

void declare_location_report(CLI::App &command)
{
    add_argument(command, "L.loc", "the location file");
    add_pdf_option(command);
}

const Registration field_report_registration(
    {"field", "report",
     "Writes the field's printed report (the irrigation table and the water-balance chart) as "
     "PDF.",
     &declare_field_report, &field_report});
const Registration location_report_registration(
    {"location", "report", "Writes the location's printed weather report as PDF.",
     &declare_location_report, &location_report});

} // namespace
} // namespace tw::cli
