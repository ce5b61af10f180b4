// The reference data from the command line: the three databases and the preferences.
#include "cli/refdata_commands.h"

#include "cli/cli.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "platform/work_dir.h"
#include "refdata/complete_crops.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"
#include "refdata/soil_form.h"
#include "refdata/station_form.h"
#include "refdata/units.h"

#include <array>
#include <charconv>
#include <cmath>
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

int db_init(Context &ctx)
{
    const bool complete = ctx.args.size() == 1 && ctx.args[0] == "--complete-crops";
    if (!ctx.args.empty() && !complete) {
        ctx.err << "usage: tillwise-cli db init [--complete-crops]\n";
        return kExitUsage;
    }
    return create_missing_databases(ctx.out, complete) ? kExitOk : kExitFailure;
}

int db_list(Context &ctx)
{
    const OptionSpec specs[] = {{"csv", false}};
    const auto options = Options::parse(ctx.args, specs, ctx.err);
    if (!options)
        return kExitUsage;
    const auto &names = options->positionals();
    const auto kind = names.size() == 1 ? kind_named(names[0]) : std::nullopt;
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

// The unit code fields, in file order, with the Dimension whose display unit each holds.
constexpr std::array<std::pair<std::string_view, std::int32_t>, 8> kUnitFields = {{
    {"depth_unit", Depth},
    {"height_unit", Height},
    {"soil_moisture_unit", Soil_Moisture},
    {"radiation_unit", Radiation},
    {"pressure_unit", Pressure},
    {"temperature_unit", Temperature},
    {"wind_unit", Wind_Speed},
    {"latent_heat_unit", Latent_Heat},
}};

std::int32_t unit_dimension(std::string_view field_name)
{
    for (const auto &[name, dimension] : kUnitFields) {
        if (name == field_name)
            return dimension;
    }
    return 0;
}

// A field's value as a person reads it: the code and its name for a unit or a switch, the
// shortest text that reads back to the same float for a coefficient.
std::string value_text(const CustomSettings &settings, const CustomSettingsField &field)
{
    const double value = custom_settings_value(settings, field);
    if (field.is_float) {
        char buffer[32];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
        return std::string(buffer, result.ptr);
    }
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string meaning_text(const CustomSettings &settings, const CustomSettingsField &field)
{
    if (field.is_float)
        return {};
    const auto code = static_cast<std::int32_t>(custom_settings_value(settings, field));
    if (const std::int32_t dimension = unit_dimension(field.name)) {
        for (const UnitChoice &u : unit_choices(dimension)) {
            if (u.code == code)
                return std::string(u.label);
        }
    }
    for (const SwitchChoice &s : switch_choices(field.name)) {
        if (s.code == code)
            return std::string(s.text);
    }
    return "(not a known value)";
}

int prefs_show(Context &ctx)
{
    if (!ctx.args.empty()) {
        ctx.err << "usage: tillwise-cli prefs show\n";
        return kExitUsage;
    }
    const CustomSettings &settings = custom_settings();
    std::vector<std::vector<std::string>> rows;
    for (const CustomSettingsField &f : custom_settings_fields())
        rows.push_back({std::string(f.name), value_text(settings, f), meaning_text(settings, f)});
    print_table(ctx.out, {"Field", "Value", "Meaning"}, rows, false);
    return kExitOk;
}

std::optional<std::int32_t> whole_number(std::string_view text)
{
    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool same_text(std::string_view a, std::string_view b)
{
    return to_upper_ascii(a) == to_upper_ascii(b);
}

// A unit by its code, its label (the degree sign may be left out), or its choice text.
std::optional<std::int32_t> unit_code(std::int32_t dimension, std::string_view text)
{
    const auto number = whole_number(text);
    for (const UnitChoice &u : unit_choices(dimension)) {
        std::string_view bare = u.label;
        if (bare.starts_with("\u00B0"))
            bare.remove_prefix(std::string_view("\u00B0").size());
        if ((number && *number == u.code) || same_text(text, u.label) || same_text(text, bare) ||
            (!u.choice_text.empty() && same_text(text, u.choice_text)))
            return u.code;
    }
    return std::nullopt;
}

std::optional<std::int32_t> switch_code(std::string_view field_name, std::string_view text)
{
    const auto number = whole_number(text);
    for (const SwitchChoice &s : switch_choices(field_name)) {
        if ((number && *number == s.code) || same_text(text, s.text))
            return s.code;
    }
    return std::nullopt;
}

std::string accepted_values(const CustomSettingsField &field)
{
    std::string list;
    auto add = [&](std::int32_t code, std::string_view text) {
        list += (list.empty() ? "" : ", ") + std::to_string(code) + " (" + std::string(text) + ")";
    };
    if (const std::int32_t dimension = unit_dimension(field.name)) {
        for (const UnitChoice &u : unit_choices(dimension))
            add(u.code, u.label);
    } else {
        for (const SwitchChoice &s : switch_choices(field.name))
            add(s.code, s.text);
    }
    return list;
}

// The value to store for KEY=VALUE, or nothing after telling err why it is refused.
std::optional<double> parse_value(const CustomSettingsField &field, std::string_view text,
                                  std::ostream &err)
{
    if (field.is_float) {
        float value = 0.0f;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && ptr == text.data() + text.size() && std::isfinite(value))
            return value;
        err << field.name << " takes a number, not \"" << text << "\".\n";
        return std::nullopt;
    }
    const std::int32_t dimension = unit_dimension(field.name);
    const auto code = dimension ? unit_code(dimension, text) : switch_code(field.name, text);
    if (code)
        return *code;
    err << field.name << " takes one of " << accepted_values(field) << ", not \"" << text
        << "\".\n";
    return std::nullopt;
}

const CustomSettingsField *field_named(std::string_view name)
{
    for (const CustomSettingsField &f : custom_settings_fields()) {
        if (f.name == name)
            return &f;
    }
    return nullptr;
}

int prefs_set(Context &ctx)
{
    if (ctx.args.empty()) {
        ctx.err << "usage: tillwise-cli prefs set KEY=VALUE...\n";
        return kExitUsage;
    }
    // Every assignment is checked before any is made, so a refused one leaves custom.con as it
    // was.
    CustomSettings settings = custom_settings();
    std::vector<const CustomSettingsField *> changed;
    for (const std::string &arg : ctx.args) {
        const auto eq = arg.find('=');
        if (eq == std::string::npos) {
            ctx.err << "Expected KEY=VALUE, not \"" << arg << "\".\n";
            return kExitUsage;
        }
        const std::string key = arg.substr(0, eq);
        const CustomSettingsField *field = field_named(key);
        if (!field) {
            ctx.err << "Unknown preference \"" << key
                    << "\". tillwise-cli prefs show lists their names.\n";
            return kExitUsage;
        }
        const auto value = parse_value(*field, std::string_view(arg).substr(eq + 1), ctx.err);
        if (!value)
            return kExitUsage;
        set_custom_settings_value(settings, *field, *value);
        changed.push_back(field);
    }
    custom_settings() = settings;
    if (!save_custom_settings())
        return kExitFailure;
    for (const CustomSettingsField *f : changed) {
        const std::string meaning = meaning_text(settings, *f);
        ctx.out << f->name << " = " << value_text(settings, *f)
                << (meaning.empty() ? "" : " (" + meaning + ")") << "\n";
    }
    ctx.out << "Saved " << work_file("custom.con").string() << ".\n";
    return kExitOk;
}

const Registration db_init_registration(
    {"db", "init", "db init [--complete-crops]",
     "Creates whichever of soil.db, crop.db and station.db is missing, with the defaults (crop.db "
     "with every shipped crop when asked).",
     &db_init});
const Registration
    db_list_registration({"db", "list", "db list soils|crops|stations [--csv]",
                          "Lists a database in the display units of the preferences.", &db_list});
const Registration prefs_show_registration({"prefs", "show", "prefs show",
                                            "Shows every field of custom.con with its value.",
                                            &prefs_show});
const Registration prefs_set_registration(
    {"prefs", "set", "prefs set KEY=VALUE...",
     "Sets preferences by their field names (unit fields also by label, e.g. depth_unit=mm) and "
     "saves custom.con.",
     &prefs_set});

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
