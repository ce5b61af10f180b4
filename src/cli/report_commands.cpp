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

constexpr OptionSpec kFieldReportOptions[] = {{"location", true}, {"pdf", true}};
constexpr OptionSpec kLocationReportOptions[] = {{"pdf", true}};

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

/// The command's --pdf file; nothing after saying it is required.
std::optional<std::string> pdf_option(const Options &options, std::ostream &err)
{
    auto pdf = options.value("pdf");
    if (!pdf)
        err << "Option --pdf OUT.pdf is required.\n";
    return pdf;
}

int field_report(Context &ctx)
{
    const auto options = parse_command(ctx, kFieldReportOptions, 1,
                                       "field report FILE.fld --location L.loc --pdf OUT.pdf");
    const auto pdf = options ? pdf_option(*options, ctx.err) : std::nullopt;
    if (!pdf)
        return kExitUsage;
    auto open = open_field_file(*options, ctx.err);
    if (!open)
        return kExitFailure;
    std::string error;
    const bool ok = with_qt([&] { return write_field_report_pdf(*open->field, *pdf, error); });
    return written(ctx, ok, *pdf, error) ? kExitOk : kExitFailure;
}

int location_report(Context &ctx)
{
    const auto options =
        parse_command(ctx, kLocationReportOptions, 1, "location report L.loc --pdf OUT.pdf");
    const auto pdf = options ? pdf_option(*options, ctx.err) : std::nullopt;
    if (!pdf)
        return kExitUsage;
    auto location = read_location(options->positionals()[0], ctx.err);
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

const Registration field_report_registration(
    {"field", "report", "field report FILE.fld --location L.loc --pdf OUT.pdf",
     "Writes the field's printed report (the irrigation table and the water-balance chart) as "
     "PDF.",
     &field_report});
const Registration location_report_registration(
    {"location", "report", "location report L.loc --pdf OUT.pdf",
     "Writes the location's printed weather report as PDF.", &location_report});

} // namespace
} // namespace tw::cli
