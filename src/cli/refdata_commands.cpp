// The reference data from the command line: the three databases and the preferences.
#include "cli/refdata_commands.h"

#include "cli/cli.h"
#include "fertility/default_files.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "platform/work_dir.h"
#include "refdata/complete_crops.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"
#include "refdata/preference_text.h"
#include "refdata/soil_form.h"
#include "refdata/station_form.h"
#include "refdata/units.h"

#include <optional>
#include <ostream>

namespace tw::cli {
namespace {

struct Table
{
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

std::string in_units(std::string_view name, std::int32_t dimension)
{
    return std::string(name) + " (" + sed_SetUnits(dimension) + ")";
}

std::string shown(const char *format, std::int32_t dimension, float value)
{
    return strprintf(format, static_cast<double>(convert_to(dimension, value)));
}

// The soils dialog's list.
Table soil_table(const std::vector<SoilRecord> &soils)
{
    const auto headings = soil_list_headings();
    Table t{{headings.begin(), headings.end()}, {}};
    for (const SoilRecord &s : soils) {
        const auto row = soil_list_row(s);
        t.rows.emplace_back(row.begin(), row.end());
    }
    return t;
}

std::string reference_crop_name(std::int32_t type)
{
    switch (type) {
    case -1: return "(none chosen)";
    case 0: return "None";
    case 1: return "Short (Grass)";
    case 2: return "Tall (Alfalfa)";
    default: return std::to_string(type);
    }
}

Table station_table(const std::vector<StationRecord> &stations)
{
    Table t{{"Station", in_units("Elevation", Height), "Latitude (Deg. N)",
             in_units("Pressure", Pressure), in_units("Min Temp", Temperature),
             in_units("Max Temp", Temperature), "Ct (1/" + sed_SetUnits(Inv_Temperature) + ")",
             in_units("Tx", Temperature), in_units("Anemometer Height", Height), "Reference Crop",
             "Kzero", "DeltaT"},
            {}};
    for (const StationRecord &s : stations) {
        t.rows.push_back(
            {s.name, std::to_string(shown_elevation(s.elevation)),
             strprintf("%.2f", static_cast<double>(s.latitude)),
             shown("%.2f", Pressure, s.pressure), shown("%.1f", Temperature, s.warm_month_tmin),
             shown("%.1f", Temperature, s.warm_month_tmax), shown("%.5f", Inv_Temperature, s.jh_ct),
             shown("%.2f", Temperature, s.jh_tx), shown("%.2f", Height, s.anemometer_height),
             reference_crop_name(s.reference_type),
             strprintf("%.3f", static_cast<double>(s.k_zero)),
             strprintf("%.3f", static_cast<double>(s.delta_t))});
    }
    return t;
}

Table crop_table(const std::vector<CropRecord> &crops)
{
    Table t{{"Crop Name", "Hybrid Type", "Maximum Harvests/Season",
             in_units("Planting Depth", Depth), in_units("Maximum Depth", Depth),
             in_units("Min Temperature", Temperature), in_units("Max Temperature", Temperature),
             "Average Yield", "Yield Units", "Growth Stages"},
            {}};
    for (const CropRecord &c : crops) {
        t.rows.push_back(
            {c.name, c.hybrid, std::to_string(c.max_harvests),
             shown("%.2f", Depth, c.planting_depth), shown("%.2f", Depth, c.max_root_depth),
             shown("%.1f", Temperature, c.gdd_min_temp), shown("%.1f", Temperature, c.gdd_max_temp),
             std::to_string(c.average_yield), c.yield_units, std::to_string(c.stage_count)});
    }
    return t;
}

std::optional<std::int32_t> kind_named(std::string_view name)
{
    if (name == "soils")
        return DbSoils;
    if (name == "crops")
        return DbCrops;
    if (name == "stations")
        return DbStations;
    return std::nullopt;
}

void declare_init(CLI::App &command)
{
    add_flag(command, "--complete-crops",
             "a missing crop.db gets every shipped crop instead of Corn alone");
}

// The databases are reported as before; the preferences and the knowledge files, which the
// commands that follow would otherwise each report missing, are written quietly.
int db_init(Context &ctx)
{
    const bool databases = create_missing_databases(ctx.out, ctx.options.has("complete-crops"));
    const std::vector<std::string> failed = create_missing_files(preference_and_knowledge_files());
    for (const std::string &name : failed)
        ctx.err << "Could not write " << work_file(name).string() << ".\n";
    return databases && failed.empty() ? kExitOk : kExitFailure;
}

void declare_list(CLI::App &command)
{
    add_argument(command, "DATABASE", "soils, crops or stations");
    add_csv_flag(command);
}

int db_list(Context &ctx)
{
    const Options *options = &ctx.options;
    const auto kind = kind_named(options->positionals()[0]);
    if (!kind) {
        ctx.err << "usage: tillwise-cli db list soils|crops|stations [--csv]\n";
        return kExitUsage;
    }
    auto stream = db_Open(*kind);
    if (!stream)
        return kExitFailure;
    const std::int32_t count = db_GetSize(*kind, *stream);
    const DbRecords records = db_Read(*kind, *stream, count);
    Table table;
    if (const auto *soils = std::get_if<std::vector<SoilRecord>>(&records))
        table = soil_table(*soils);
    else if (const auto *crops = std::get_if<std::vector<CropRecord>>(&records))
        table = crop_table(*crops);
    else if (const auto *stations = std::get_if<std::vector<StationRecord>>(&records))
        table = station_table(*stations);
    print_table(ctx.out, table.headers, table.rows, options->has("csv"));
    return kExitOk;
}

int prefs_show(Context &ctx)
{
    const CustomSettings &settings = custom_settings();
    std::vector<std::vector<std::string>> rows;
    for (const CustomSettingsField &f : custom_settings_fields()) {
        rows.push_back({std::string(f.name), preference_value_text(settings, f),
                        preference_meaning(settings, f)});
    }
    print_table(ctx.out, {"Field", "Value", "Meaning"}, rows, false);
    return kExitOk;
}

void declare_set(CLI::App &command)
{
    add_arguments(command, "KEY=VALUE",
                  "a preference by its field name as prefs show lists it; a unit also by its "
                  "label (depth_unit=mm), a method by its text");
}

int prefs_set(Context &ctx)
{
    // Every assignment is checked before any is made, so a refused one leaves custom.con as it
    // was.
    CustomSettings settings = custom_settings();
    std::vector<const CustomSettingsField *> changed;
    for (const std::string &arg : ctx.options.positionals()) {
        const PreferenceAssignment a = parse_preference_assignment(arg);
        if (!a.problem.empty()) {
            ctx.err << a.problem
                    << (a.unknown_key ? " tillwise-cli prefs show lists their names." : "") << "\n";
            return kExitUsage;
        }
        set_custom_settings_value(settings, *a.field, a.value);
        changed.push_back(a.field);
    }
    custom_settings() = settings;
    if (!save_custom_settings())
        return kExitFailure;
    for (const CustomSettingsField *f : changed) {
        const std::string meaning = preference_meaning(settings, *f);
        ctx.out << f->name << " = " << preference_value_text(settings, *f)
                << (meaning.empty() ? "" : " (" + meaning + ")") << "\n";
    }
    ctx.out << "Saved " << work_file("custom.con").string() << ".\n";
    return kExitOk;
}

const Registration db_init_registration(
    {"db", "init",
     "Creates whichever of soil.db, crop.db and station.db is missing, with the defaults (crop.db "
     "with every shipped crop when asked), and the missing custom.con and fertility knowledge "
     "files with theirs.",
     &declare_init, &db_init});
const Registration db_list_registration({"db", "list",
                                         "Lists a database in the display units of the "
                                         "preferences.",
                                         &declare_list, &db_list});
const Registration prefs_show_registration({"prefs", "show",
                                            "Shows every field of custom.con with its value.",
                                            nullptr, &prefs_show});
const Registration prefs_set_registration(
    {"prefs", "set",
     "Sets preferences by their field names (unit fields also by label, e.g. depth_unit=mm) and "
     "saves custom.con.",
     &declare_set, &prefs_set});

} // namespace

bool create_missing_databases(std::ostream &out, bool complete_crops)
{
    bool ok = true;
    bool created = false;
    for (const std::int32_t kind : {DbSoils, DbCrops, DbStations}) {
        const std::string_view name = db_file_name(kind);
        // db_Open re-creates exactly the files it cannot read.
        const bool readable = read_file(work_file(name), 0).has_value();
        if (!readable && kind == DbCrops && complete_crops && !write_complete_crop_db()) {
            ok = false;
            continue;
        }
        auto stream = db_Open(kind);
        if (!stream) {
            ok = false;
            continue;
        }
        if (!readable) {
            const std::int32_t count = db_GetSize(kind, *stream);
            out << "Created " << name << " (" << count << (count == 1 ? " record, " : " records, ")
                << stream->size() << " bytes).\n";
            created = true;
        }
    }
    if (ok && !created)
        out << "Nothing to create: soil.db, crop.db and station.db are there.\n";
    return ok;
}

} // namespace tw::cli
