// Measured soil water from the command line: probe readings entered as the days' overrides, and
// how well the balance predicted each reading from the one before.
#include "cli/cli.h"
#include "cli/command_support.h"

#include "field/forecast_skill.h"
#include "field/soil_readings.h"
#include "platform/dates.h"

#include <ostream>

namespace tw::cli {
namespace {

/// The unit of --kind and --unit (the kind's first unit when --unit is left out); nothing after
/// saying what is wrong.
const ReadingUnit *unit_option(const Options &options, std::ostream &err)
{
    const auto kind = reading_kind_named(options.value("kind").value_or(""));
    if (!kind) {
        err << "Option --kind takes deficit or content.\n";
        return nullptr;
    }
    const auto units = reading_units(*kind);
    const std::string name = options.value("unit").value_or(std::string(units[0].name));
    if (const ReadingUnit *unit = reading_unit_named(*kind, name))
        return unit;
    err << "A " << *options.value("kind") << " reading is in";
    for (const ReadingUnit &u : units)
        err << " " << u.name;
    err << ", not \"" << name << "\".\n";
    return nullptr;
}

void declare_readings(CLI::App &command)
{
    add_field_arguments(command);
    add_value(command, "--import", "R.csv", "the readings: a CSV file with the header date,value",
              Need::Required);
    add_value(command, "--kind", "deficit|content",
              "what the readings measure: the soil-water deficit or the water content",
              Need::Required);
    add_value(command, "--unit", "mm|in|cm|fraction|percent",
              "the readings' unit: mm, in or cm for a deficit, fraction or percent for a content "
              "(default: mm for a deficit, fraction for a content)");
    add_value(command, "--taken", "morning|evening",
              "when the readings were taken: a morning reading, before the day's rain and "
              "irrigation, is the end of the day before (default: evening)");
}

int field_readings(Context &ctx)
{
    const Options *options = &ctx.options;
    const auto file = options->value("import");
    const ReadingUnit *unit = unit_option(*options, ctx.err);
    if (!unit)
        return kExitUsage;
    const auto taken = reading_time_named(options->value("taken").value_or("evening"));
    if (!taken) {
        ctx.err << "Option --taken takes morning or evening.\n";
        return kExitUsage;
    }
    auto open = open_field_file(*options, ctx.err);
    if (!open)
        return kExitFailure;
    const ReadingsImport result = import_soil_readings(*open->field, *file, *unit, {*taken, {}});
    if (result.error) {
        ctx.err << *result.error << "\n";
        return kExitFailure;
    }
    ctx.out << result.entered.report(std::filesystem::path(*file).filename().string()) << "\n";
    if (result.entered.entered > 0 && !save_field(*open->field, open->path, ctx.out, ctx.err))
        return kExitFailure;
    return kExitOk;
}

std::string optional_g9(const std::optional<double> &value)
{
    return value ? g9(*value) : std::string();
}

void print_skill_csv(std::ostream &out, const ForecastSkill &skill)
{
    std::vector<std::vector<std::string>> rows;
    for (const SkillRow &row : skill.rows) {
        rows.push_back({iso_date(row.date), g9(row.measured), g9(row.predicted), g9(row.error),
                        std::to_string(row.days_since_previous), g9(row.corrected), g9(row.rate)});
    }
    print_table(out,
                {"date", "measured_deficit", "predicted_deficit", "error", "days_since_previous",
                 "corrected_deficit", "rate"},
                rows, true);
    out << "#skill,n=" << skill.rows.size() << ",rmse=" << optional_g9(skill.rmse)
        << ",bias=" << optional_g9(skill.bias) << ",mae=" << optional_g9(skill.mae) << "\n";
    const ErrorStatistics &c = skill.corrected;
    out << "#skill_corrected,n=" << c.n << ",rmse=" << optional_g9(c.rmse)
        << ",bias=" << optional_g9(c.bias) << ",mae=" << optional_g9(c.mae)
        << ",rate=" << g9(skill.rate) << "\n";
    for (const LeadSkill &lead : skill.leads) {
        out << "#lead,days=" << lead.days << ",n=" << lead.errors.n
            << ",rmse=" << optional_g9(lead.errors.rmse) << "\n";
    }
}

void declare_skill(CLI::App &command)
{
    add_field_arguments(command);
    add_flag(command, "--csv",
             "CSV in mm for a program, then the #skill, #skill_corrected and #lead lines");
}

int field_skill(Context &ctx)
{
    const Options *options = &ctx.options;
    auto open = open_field_file(*options, ctx.err);
    if (!open)
        return kExitFailure;
    const ForecastSkill skill = forecast_skill(*open->field);
    if (options->has("csv")) {
        print_skill_csv(ctx.out, skill);
        return kExitOk;
    }
    print_table(ctx.out, skill_table_titles(), skill_table_rows(skill), false);
    ctx.out << skill_summary_text(skill) << "\n"
            << corrected_summary_text(skill) << "\n"
            << skill_in_words(skill) << "\n";
    return kExitOk;
}

const Registration readings_registration(
    {"field", "readings",
     "Enters soil-water readings (a CSV file with the header date,value) as the days' "
     "soil-moisture overrides and reruns the season; days that cannot take one are skipped. The "
     "unit defaults to mm for a deficit and fraction for a content. A reading taken in the "
     "morning, before the day's rain and irrigation, is the end of the day before (the default "
     "is evening).",
     &declare_readings, &field_readings});
const Registration skill_registration(
    {"field", "skill",
     "Compares every soil-moisture override with the deficit the balance predicted for its day "
     "from the previous one, and with that prediction corrected by the drift fitted on the "
     "readings before (CSV in mm, then the #skill and #skill_corrected lines and a #lead line "
     "for 3, 7 and 14 days ahead).",
     &declare_skill, &field_skill});

} // namespace
} // namespace tw::cli
