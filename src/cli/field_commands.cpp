// Fields from the command line: create, edit, enter a day, show the schedule, export the days, and
// the morning summary of a location's fields.
#include "cli/field_commands.h"

#include "cli/cli.h"
#include "cli/command_support.h"
#include "cli/fertility_commands.h"
#include "field/daily_entry_form.h"
#include "field/field_details_form.h"
#include "field/field_doc.h"
#include "field/field_summary.h"
#include "field/irrigation_systems.h"
#include "field/irrigation_table.h"
#include "field/next_irrigation.h"
#include "field/season_run.h"
#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/database.h"
#include "refdata/units.h"

#include <algorithm>
#include <ostream>

namespace tw::cli {
namespace {

/// The record whose list entry ("NAME (TYPE)") or, failing that, whose name alone matches.
template<typename Record, typename Kind>
std::optional<std::size_t> find_entry(const std::vector<Record> &records, std::string_view text,
                                      Kind kind, std::string_view what, std::ostream &err)
{
    const std::string wanted = to_upper_ascii(text);
    std::vector<std::size_t> by_name;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (to_upper_ascii(list_entry(records[i].name, kind(records[i]))) == wanted)
            return i;
        if (to_upper_ascii(records[i].name) == wanted)
            by_name.push_back(i);
    }
    if (by_name.size() == 1)
        return by_name[0];
    err << (by_name.empty() ? "No " : "More than one ") << what << " is named \"" << text
        << "\"; choose one of:\n";
    for (const Record &r : records)
        err << "  " << list_entry(r.name, kind(r)) << "\n";
    return std::nullopt;
}

/// --system N or --system-name TEXT; nothing when neither was given, failed when one is wrong.
std::optional<std::int32_t> system_option(const Options &options, std::ostream &err, bool &failed)
{
    if (options.has("system") && options.has("system-name")) {
        err << "Give --system or --system-name, not both.\n";
        failed = true;
        return std::nullopt;
    }
    if (const auto name = options.value("system-name")) {
        if (const auto index = irrigation_system_index(*name))
            return index;
        err << "No irrigation system is named \"" << *name << "\"; the systems are:\n";
        for (const IrrigationSystem &s : irrigation_systems())
            err << "  " << s.name << "\n";
        failed = true;
        return std::nullopt;
    }
    const auto index = options.integer("system", err, failed);
    if (index && !irrigation_system(*index)) {
        err << "Option --system takes 0 to " << irrigation_systems().size() - 1 << ".\n";
        failed = true;
        return std::nullopt;
    }
    return index;
}

/// The options the field details dialog of a new and an existing field share.
bool apply_details_options(const Options &options, FieldDetailsForm &form, std::ostream &err)
{
    bool failed = false;
    const auto system = system_option(options, err, failed);
    const auto efficiency = options.number("efficiency", err, failed);
    const auto moisture = options.number("initial-moisture", err, failed);
    const auto nitrogen = options.number("n-available", err, failed);
    const auto capacity = options.value("days-per-unit");
    const auto days_per_unit =
        capacity == "none" ? std::nullopt : options.number("days-per-unit", err, failed);
    if (failed)
        return false;
    if (capacity)
        form.values.days_per_unit = days_per_unit;
    if (system)
        form.choose_system(*system);
    if (efficiency) {
        form.type_system_text();
        form.values.efficiency = *efficiency;
    }
    if (moisture)
        form.values.initial_moisture = *moisture;
    if (nitrogen)
        form.values.n_available = *nitrogen;
    return true;
}

/// The date of a required date option.
std::optional<int> date_option(const Options &options, std::string_view name, std::ostream &err)
{
    const auto text = options.value(name).value_or("");
    const auto day = parse_iso_date(text);
    if (!day)
        err << "Option --" << name << " needs a date as YYYY-MM-DD, not \"" << text << "\".\n";
    return day;
}

/// A summary line for a program: the start-by date moves to the end as an ISO date, so that
/// the columns scripts read before keep their places.
std::vector<std::string> csv_summary_cells(std::vector<std::string> cells,
                                           std::string_view start_by)
{
    cells.erase(cells.begin() + kStartByColumn);
    cells.emplace_back(start_by);
    return cells;
}

void print_field_summaries(std::ostream &out, const std::vector<const CFieldDoc *> &fields,
                           bool csv)
{
    std::vector<std::vector<std::string>> rows;
    for (const CFieldDoc *field : fields) {
        std::vector<std::string> cells = as_vector(field_summary_row(*field));
        if (csv) {
            const auto start = next_irrigation(*field).start_by;
            cells = csv_summary_cells(std::move(cells), start ? iso_date(*start) : std::string());
        }
        rows.push_back(std::move(cells));
    }
    const std::vector<std::string> headers = as_vector(field_summary_headers());
    print_table(out, csv ? csv_summary_cells(headers, "start_by") : headers, rows, csv);
}

void print_field_summary(std::ostream &out, const CFieldDoc &field, bool csv)
{
    print_field_summaries(out, {&field}, csv);
}

/// The options of the field details dialog that a new and an existing field share.
void add_details_options(CLI::App &command)
{
    add_value(command, "--system", "0..15",
              "the irrigation system by its place in the list of systems (not with "
              "--system-name)");
    add_value(command, "--system-name", "TEXT",
              "the irrigation system by name, e.g. \"Sprinker:HP Center Pivot\"");
    add_value(command, "--efficiency", "PERCENT",
              "the irrigation efficiency in percent (default: the system's)");
    add_value(command, "--initial-moisture", "X",
              "the soil moisture at planting, as custom.con shows soil moisture (default: the "
              "soil's field capacity)");
    add_value(command, "--days-per-unit", "DAYS",
              "the system's capacity: the days it takes to apply one depth unit of custom.con "
              "to the whole field, or none (default: none)");
}

void declare_new(CLI::App &command)
{
    add_argument(command, "FILE.fld", "the field file to create");
    add_location_option(command);
    add_value(command, "--name", "N", "the field's name, at most 12 characters", Need::Required);
    add_value(command, "--crop", "NAME",
              "the crop as tillwise-cli db list crops shows it, by name (CORN) or with its hybrid "
              "(\"CORN (MIDSEASON)\")",
              Need::Required);
    // A missing soil is refused by the field's own check, as the dialog refuses it.
    add_value(command, "--soil", "NAME",
              "the soil as tillwise-cli db list soils shows it, e.g. Loam (required)");
    add_value(command, "--planting", "YYYY-MM-DD",
              "the planting date, within the location's season", Need::Required);
    add_details_options(command);
    add_flag(command, "--perennial", "a crop of several harvests a season kept from year to year");
    add_value(command, "--answers", "ANSWERS.ini",
              "the answers of a pre-season fertilizer consultation to run before the season");
}

int field_new(Context &ctx)
{
    const Options *options = &ctx.options;
    const auto planting = date_option(*options, "planting", ctx.err);
    if (!planting)
        return kExitUsage;
    auto location = location_option(*options, ctx.err);
    if (!location)
        return kExitFailure;
    const std::vector<CropRecord> crops = load_crops();
    const std::vector<SoilRecord> soils = load_soils();
    const auto crop = find_entry(
        crops, *options->value("crop"), [](const CropRecord &c) { return c.hybrid; }, "crop",
        ctx.err);
    std::optional<std::size_t> soil;
    if (const auto name = options->value("soil")) {
        soil = find_entry(
            soils, *name, [](const SoilRecord &s) { return s.type; }, "soil", ctx.err);
        if (!soil)
            return kExitFailure;
    }
    if (!crop)
        return kExitFailure;
    if (options->has("perennial") && crops[*crop].max_harvests <= 1) {
        ctx.err << "--perennial applies to a crop of several harvests a season; "
                << crops[*crop].name << " has one.\n";
        return kExitUsage;
    }
    std::optional<ConsultationAnswers> answers;
    if (const auto file = options->value("answers")) {
        answers = read_answers(*file, ctx.err);
        if (!answers)
            return kExitUsage;
    }
    const std::filesystem::path path = options->positionals()[0];
    if (file_exists(path) &&
        !messages().ask_yes_no(path.string() + " already exists.\nDo you want to replace it?"))
        return kExitFailure;

    bool consulted = true;
    std::function<void(CFieldDoc &)> consultation;
    if (answers) {
        consultation = [&](CFieldDoc &f) {
            consulted = consult_with_answers(f, *answers, ctx.out, ctx.err);
        };
    }
    bool options_ok = true;
    auto field = new_field(
        *location,
        [&](CFieldDoc &f) {
            FieldDetailsForm form(f, crops, soils);
            form.choose_crop(*crop);
            if (soil)
                form.choose_soil(*soil);
            form.values.perennial = options->has("perennial");
            form.values.name = *options->value("name");
            form.values.planting_date = *planting;
            options_ok = apply_details_options(*options, form, ctx.err);
            return options_ok && form.accept();
        },
        consultation);
    if (!field)
        return options_ok ? kExitFailure : kExitUsage;
    if (!consulted)
        return kExitFailure;
    if (!save_field(*field, path, ctx.out, ctx.err))
        return kExitFailure;
    print_field_summary(ctx.out, *field, false);
    return kExitOk;
}

void declare_edit(CLI::App &command)
{
    add_field_arguments(command);
    add_details_options(command);
    add_value(command, "--n-available", "LB/ACRE",
              "the nitrogen available in the soil, in lb/acre");
    add_value(command, "--learn", "on|off",
              "on: the days after the last soil-moisture reading take the drift the balance "
              "showed between the readings (default: as the field has it)");
}

/// --learn on|off into the form; false after saying what is wrong.
bool apply_learn_option(const Options &options, FieldDetailsForm &form, std::ostream &err)
{
    const auto learn = options.value("learn");
    if (!learn)
        return true;
    if (*learn != "on" && *learn != "off") {
        err << "Option --learn takes on or off.\n";
        return false;
    }
    form.values.learn_from_readings = *learn == "on";
    return true;
}

int field_edit(Context &ctx)
{
    const Options *options = &ctx.options;
    auto open = open_field_file(*options, ctx.err);
    if (!open)
        return kExitFailure;
    FieldDetailsForm form(*open->field);
    if (!apply_details_options(*options, form, ctx.err) ||
        !apply_learn_option(*options, form, ctx.err))
        return kExitUsage;
    if (!form.accept() || !save_field(*open->field, open->path, ctx.out, ctx.err))
        return kExitFailure;
    print_field_summary(ctx.out, *open->field, false);
    return kExitOk;
}

void declare_set_day(CLI::App &command)
{
    add_field_arguments(command);
    add_value(command, "--date", "YYYY-MM-DD", "the day to enter, after the planting day",
              Need::Required);
    add_value(command, "--irrigation", "DEPTH",
              "the gross irrigation, in the depth unit of custom.con");
    add_value(command, "--rain", "DEPTH", "the rain, in the depth unit of custom.con");
    add_value(command, "--n-applied", "LB/ACRE", "the nitrogen applied, in whole lb/acre");
    add_value(command, "--soil-moisture", "X",
              "a measured soil moisture that overrides the balance, as custom.con shows soil "
              "moisture");
    add_flag(command, "--no-override", "removes the day's soil-moisture override");
    add_value(command, "--stage", "NAME", "the day's growth stage, one the crop has");
}

/// The entries the options make on the day's form; false after saying what is wrong.
bool apply_day_options(const Options &options, DailyEntryForm &form, std::ostream &err)
{
    bool failed = false;
    const auto irrigation = options.number("irrigation", err, failed);
    const auto rain = options.number("rain", err, failed);
    const auto nitrogen = options.integer("n-applied", err, failed);
    const auto moisture = options.number("soil-moisture", err, failed);
    if (failed)
        return false;
    if (moisture && options.has("no-override")) {
        err << "Give --soil-moisture or --no-override, not both.\n";
        return false;
    }
    if (irrigation)
        form.irrigation = *irrigation;
    if (rain)
        form.rain = *rain;
    if (nitrogen)
        form.set_nitrogen_applied(*nitrogen);
    if (moisture) {
        form.sm_override = true;
        form.soil_moisture = *moisture;
    } else if (options.has("no-override")) {
        form.sm_override = false;
    }
    if (const auto stage = options.value("stage")) {
        const auto &choices = form.stage_choices();
        const auto it = std::find_if(choices.begin(), choices.end(), [&](const std::string &c) {
            return to_upper_ascii(c) == to_upper_ascii(*stage);
        });
        if (it == choices.end()) {
            err << "The day's growth stage can be one of:\n";
            for (const std::string &c : choices)
                err << "  " << c << "\n";
            return false;
        }
        form.stage = *it;
    }
    return true;
}

int field_set_day(Context &ctx)
{
    const Options *options = &ctx.options;
    const auto date = date_option(*options, "date", ctx.err);
    if (!date)
        return kExitUsage;
    auto open = open_field_file(*options, ctx.err);
    if (!open)
        return kExitFailure;
    CFieldDoc &field = *open->field;
    const int d = *date - field.saved.planting_date.day();
    if (d < 1 || d >= field.day_count()) {
        ctx.err << "The field's days that can be entered run from " << iso_date(field.date_of(1))
                << " to " << iso_date(field.date_of(field.day_count() - 1))
                << " (the planting day is set with field edit).\n";
        return kExitUsage;
    }
    auto form = DailyEntryForm::open(field, d);
    if (!form) {
        ctx.err << iso_date(*date) << " has no computed growth stage or is a forecast day: "
                << "enter its weather first.\n";
        return kExitFailure;
    }
    if (!apply_day_options(*options, *form, ctx.err))
        return kExitUsage;
    if (const auto refused = form->soil_moisture_message()) {
        ctx.err << *refused << "\n";
        return kExitFailure;
    }
    form->accept();
    if (!save_field(field, open->path, ctx.out, ctx.err))
        return kExitFailure;
    print_schedule(ctx.out, field, d, d, false);
    print_field_summary(ctx.out, field, false);
    return kExitOk;
}

void declare_schedule(CLI::App &command)
{
    add_field_arguments(command);
    add_csv_flag(command);
}

int field_schedule(Context &ctx)
{
    const Options *options = &ctx.options;
    auto open = open_field_file(*options, ctx.err);
    if (!open)
        return kExitFailure;
    const bool csv = options->has("csv");
    print_schedule(ctx.out, *open->field, 0, open->field->day_count() - 1, csv);
    ctx.out << "\n";
    print_field_summary(ctx.out, *open->field, csv);
    return kExitOk;
}

std::vector<std::string> export_row(const CFieldDoc &field, int d)
{
    const FieldDay &t = field.season.days[static_cast<std::size_t>(d)];
    return {std::to_string(d),
            iso_date(field.date_of(d)),
            std::to_string(t.kind),
            std::to_string(t.stage),
            g9(t.cum_gdd),
            g9(t.root_depth),
            g9(t.crop_et),
            g9(t.gross_irrigation),
            g9(t.effective_irrigation),
            g9(t.deep_percolation),
            g9(t.taw),
            g9(t.allowable_depletion),
            g9(t.deficit),
            g9(t.critical),
            g9(t.soil_moisture),
            std::to_string(t.category),
            g9(t.irrigation_needed),
            g9(t.rain),
            std::to_string(t.sm_override),
            g9(t.n_applied),
            g9(t.drainage),
            g9(t.lower_deficit),
            g9(t.n_uptake),
            g9(t.nitrate_available),
            g9(t.nitrate_leached)};
}

int field_export(Context &ctx)
{
    auto open = open_field_file(ctx.options, ctx.err);
    if (!open)
        return kExitFailure;
    const CFieldDoc &field = *open->field;
    std::vector<std::vector<std::string>> rows;
    for (int d = 0; d < field.day_count(); ++d)
        rows.push_back(export_row(field, d));
    print_table(ctx.out,
                {"day",
                 "date",
                 "kind",
                 "stage",
                 "cum_gdd",
                 "root_depth",
                 "crop_et",
                 "gross_irrigation",
                 "effective_irrigation",
                 "deep_percolation",
                 "taw",
                 "allowable_depletion",
                 "deficit",
                 "critical",
                 "soil_moisture",
                 "category",
                 "irrigation_needed",
                 "rain",
                 "override",
                 "n_applied",
                 "drainage",
                 "lower_deficit",
                 "n_uptake",
                 "nitrate_available",
                 "nitrate_leached"},
                rows, true);
    const NextIrrigation next = next_irrigation(field);
    ctx.out << "#summary,last_actual=" << field.season.last_actual_day
            << ",last_forecast=" << field.season.last_forecast_day
            << ",next_irrigation=" << (next.due() ? iso_date(*next.date) : "none")
            << ",asap=" << (next.due_now ? 1 : 0) << ",amount_mm=" << g9(next.gross_amount) << "\n";
    return kExitOk;
}

/// The next irrigation as one line a person reads, or as a header and one row for a program.
void print_next_irrigation(std::ostream &out, const NextIrrigation &next, bool csv)
{
    if (!csv) {
        out << next_irrigation_line(next);
        if (const std::string_view advice = advice_message(next.advice); !advice.empty())
            out << " " << advice;
        out << "\n";
        return;
    }
    const auto date = [](const std::optional<int> &day) {
        return day ? iso_date(*day) : std::string();
    };
    print_table(
        out, {"next_irrigation", "due_now", "gross_amount", "start_by", "reason", "advice"},
        {{date(next.date), next.due_now ? "1" : "0", g9(next.gross_amount), date(next.start_by),
          std::string(reason_key(next.reason)), std::to_string(next.advice)}},
        true);
}

int field_next(Context &ctx)
{
    auto open = open_field_file(ctx.options, ctx.err);
    if (!open)
        return kExitFailure;
    print_next_irrigation(ctx.out, next_irrigation(*open->field), ctx.options.has("csv"));
    return kExitOk;
}

void declare_summary(CLI::App &command)
{
    add_argument(command, "L.loc", "the location");
    add_arguments(command, "FILE.fld", "the location's fields to list");
    add_csv_flag(command);
}

int location_summary(Context &ctx)
{
    const Options *options = &ctx.options;
    const auto &files = options->positionals();
    auto location = read_location(files[0], ctx.err);
    if (!location)
        return kExitFailure;
    std::vector<std::unique_ptr<CFieldDoc>> fields;
    bool all_opened = true;
    for (std::size_t i = 1; i < files.size(); ++i) {
        if (auto field = open_field(*location, std::filesystem::path(files[i]),
                                    warn_of_other_location(ctx.err)))
            fields.push_back(std::move(field));
        else
            all_opened = false;
    }
    if (fields.size() > kMaxSummaryFields)
        ctx.err << "The summary lists the first " << kMaxSummaryFields << " fields.\n";
    print_summary(ctx.out, *location, options->has("csv"));
    return all_opened ? kExitOk : kExitFailure;
}

const Registration new_registration(
    {"field", "new",
     "Creates a field of the location and runs its season; with --answers, its fertilizer "
     "consultation first.",
     &declare_new, &field_new});
const Registration edit_registration(
    {"field", "edit",
     "Changes the field's details and reruns its season. --days-per-unit is the system's "
     "capacity: the days it takes to apply one depth unit to the whole field. With --learn on, "
     "the days after the last soil-moisture reading take the drift the balance showed between "
     "the readings (field skill).",
     &declare_edit, &field_edit});
const Registration set_day_registration(
    {"field", "set-day",
     "Enters one day's irrigation, rain, nitrogen, soil moisture or growth stage.",
     &declare_set_day, &field_set_day});
const Registration schedule_registration({"field", "schedule",
                                          "Shows the irrigation table and the field's summary.",
                                          &declare_schedule, &field_schedule});
const Registration export_registration(
    {"field", "export",
     "Writes every day of the field as CSV in internal units, then a #summary line (asap=1 when "
     "the irrigation is due on the last actual day).",
     &add_field_arguments, &field_export});
const Registration next_registration(
    {"field", "next",
     "Says when to irrigate next and how much. With --csv: next_irrigation and start_by as ISO "
     "dates (empty when none is due), due_now 1 on the last actual day, gross_amount in internal "
     "units, the reason (due, none_forecast, post_harvest, stopped, no_weather) and the advice "
     "category of the last actual day.",
     &declare_schedule, &field_next});
const Registration summary_registration({"summary", "",
                                         "Shows the location's summary of those fields.",
                                         &declare_summary, &location_summary});

} // namespace

void print_schedule(std::ostream &out, const CFieldDoc &field, int first, int last, bool csv)
{
    print_table(out, irrigation_text_table(field, first, last), csv);
}

std::string next_irrigation_line(const NextIrrigation &next)
{
    switch (next.reason) {
    case NextReason::Due: {
        std::string line =
            "Next irrigation: " + iso_date(*next.date) + (next.due_now ? " (ASAP)" : "") +
            strprintf(", %.1f %s", static_cast<double>(convert_to(Depth, next.gross_amount)),
                      sed_SetUnits(Depth).c_str());
        if (next.start_by)
            line += "; start by " + iso_date(*next.start_by);
        return line + ".";
    }
    case NextReason::Stopped:
    case NextReason::PostHarvest: return "No irrigation is forecast before irrigating stops.";
    case NextReason::NoneForecast: return "No irrigation is forecast within the weather record.";
    case NextReason::NoWeather: return "No weather after planting: nothing is forecast yet.";
    }
    return {};
}

void print_summary(std::ostream &out, const CLocationDoc &location, bool csv)
{
    print_field_summaries(out, summary_fields(location), csv);
}

} // namespace tw::cli
