// The leaching report and the field's nitrogen table from the command line.
#include "cli/leaching_commands.h"

#include "cli/cli.h"
#include "cli/command_support.h"
#include "leaching/leaching_analysis.h"
#include "leaching/leaching_report.h"
#include "leaching/nitrogen_table.h"

#include <algorithm>
#include <ostream>

namespace tw::cli {
namespace {

void print_notice(std::ostream &out, const ConsultationNotice &notice)
{
    out << notice.caption << "\n"
        << notice.text << "\n"
        << notice.date_label << " " << notice.date << "\n\n";
}

/// The shown lines of a group under its frame's title, values in one column.
void print_group(std::ostream &out, const ReportGroup &group, std::size_t label_width)
{
    out << group.title << "\n";
    for (const ReportLine &line : group.lines) {
        if (line.hidden)
            continue;
        out << "  " << line.label << std::string(label_width - line.label.size() + 1, ' ')
            << line.value;
        if (!line.grade.empty())
            out << "  " << line.grade;
        out << "\n";
    }
    out << "\n";
}

void print_report(std::ostream &out, const LeachingSummary &summary, const WaterStress &stress)
{
    const ReportGroup groups[] = {irrigation_group(summary), fertility_group(summary),
                                  water_stress_group(stress)};
    std::size_t width = 0;
    for (const ReportGroup &group : groups) {
        for (const ReportLine &line : group.lines)
            width = std::max(width, line.label.size());
    }
    out << kLeachingReportCaption << "\n\n";
    print_group(out, groups[0], width);
    print_group(out, groups[1], width);
    out << kRecommendationsTitle << "\n" << advice_paragraph(summary, stress) << "\n";
    print_group(out, groups[2], width);
    out << water_stress_sentence(stress);
}

} // namespace

void print_leaching_run(std::ostream &out, const LeachingRun &run)
{
    if (run.midseason)
        print_notice(out, leaching_consultation_notice(run.consultation_date));
    print_report(out, run.summary, run.stress);
}

namespace {

int leaching_report(Context &ctx)
{
    const auto open = open_field_file(ctx.options, ctx.err);
    if (!open)
        return kExitFailure;
    const auto run = leaching_summary_command(*open->field);
    if (!run)
        return kExitFailure;
    print_leaching_run(ctx.out, *run);
    return kExitOk;
}

void declare_nitrogen(CLI::App &command)
{
    add_field_arguments(command);
    add_csv_flag(command);
}

int field_nitrogen(Context &ctx)
{
    const auto open = open_field_file(ctx.options, ctx.err);
    if (!open)
        return kExitFailure;
    print_table(ctx.out, nitrogen_text_table(*open->field), ctx.options.has("csv"));
    return kExitOk;
}

const Registration leaching_registration(
    {"leaching", "",
     "Shows the field's leaching analysis: water, nitrogen, their grades and the advice.",
     &add_field_arguments, &leaching_report});
const Registration nitrogen_registration({"field", "nitrogen",
                                          "Shows the field's daily nitrogen table.",
                                          &declare_nitrogen, &field_nitrogen});

} // namespace
} // namespace tw::cli
