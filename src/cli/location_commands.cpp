// Locations from the command line: create and edit them by the rules of the location sheet,
// import weather, type one day, and show or export the days. Values are in the display units of
// custom.con, as in the dialogs.
#include "cli/cli.h"

#include "location/csv_header_match.h"
#include "location/csv_import_form.h"
#include "location/csv_presets.h"
#include "location/csv_weather.h"
#include "location/day_entry.h"
#include "location/forecast_days.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "location/location_info_form.h"
#include "location/weather_import.h"
#include "location/weather_source.h"
#include "location/weather_table.h"
#include "location/weather_update.h"
#include "platform/curl_http.h"
#include "platform/dates.h"
#include "platform/edition.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "refdata/database.h"
#include "refdata/units.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <ostream>

namespace tw::cli {
namespace {

using std::filesystem::path;

template<typename T>
struct Named
{
    std::string_view name;
    T value;
};

constexpr Named<std::int32_t> kEtMethods[] = {{"kimberly", KimberlyPenman},
                                              {"standardized", StandardizedPenman},
                                              {"jensen-haise", JensenHaise},
                                              {"hargreaves", Hargreaves},
                                              {"etr", EtrDirect}};
constexpr Named<std::int32_t> kReferenceTypes[] = {{"none", 0}, {"short", 1}, {"tall", 2}};
constexpr Named<WeatherFormat> kFormats[] = {{"jvu-new", WeatherFormat::JvuNew},
                                             {"jvu-old", WeatherFormat::JvuOld},
                                             {"usda", WeatherFormat::Usda},
                                             {"usda-no-rh", WeatherFormat::UsdaNoRh},
                                             {"kansas", WeatherFormat::KansasState}};
// Tillwise 1 had one JVU import, of the old line format, and no station-network import.
constexpr Named<WeatherFormat> kRelease1Formats[] = {{"jvu", WeatherFormat::JvuOld},
                                                     {"usda", WeatherFormat::Usda},
                                                     {"usda-no-rh", WeatherFormat::UsdaNoRh},
                                                     {"kansas", WeatherFormat::KansasState}};

// The option's value looked up in a table of names; a name not in it is reported.
template<typename T, std::size_t N>
std::optional<T> named_option(const Options &o, std::string_view option, const Named<T> (&table)[N],
                              std::ostream &err, bool &failed)
{
    const auto text = o.value(option);
    if (!text)
        return std::nullopt;
    for (const Named<T> &entry : table) {
        if (entry.name == *text)
            return entry.value;
    }
    err << "Option --" << option << " takes one of:";
    for (const Named<T> &entry : table)
        err << ' ' << entry.name;
    err << ".\n";
    failed = true;
    return std::nullopt;
}

// The options of the location sheet that both `new` and `edit` take; values in the units of
// custom.con, as the sheet shows them.
void add_sheet_options(CLI::App &command)
{
    add_value(command, "--days", "N", "the season's length in days, 100 to 365 (default: 214)");
    add_value(command, "--et-method", "kimberly|standardized|jensen-haise|hargreaves|etr",
              "the reference ET equation, or etr for typed values (default: kimberly)");
    add_value(command, "--station", "NAME",
              "copies the station page from station.db (not with the station's values below)");
    add_value(command, "--latitude", "DEG", "the latitude in degrees north");
    add_value(command, "--elevation", "HEIGHT",
              "the elevation in the height unit of custom.con; sets the pressure");
    add_value(command, "--anemometer-height", "HEIGHT",
              "the anemometer's height in the height unit of custom.con (default: 2 m)");
    add_value(command, "--tmin-warm", "TEMP",
              "the warmest month's mean minimum temperature, for Jensen-Haise");
    add_value(command, "--tmax-warm", "TEMP",
              "the warmest month's mean maximum temperature, for Jensen-Haise");
    add_value(command, "--reference", "none|short|tall",
              "the reference crop of the station's data (default: tall)");
    add_value(command, "--delta-t", "D", "DeltaT, only with --reference none");
    add_value(command, "--k-zero", "K", "Kzero, only with --reference none");
}

bool copy_station(const std::string &name, LocationInfoForm &form, std::ostream &err)
{
    const std::vector<StationRecord> stations = load_stations();
    const auto station = std::find_if(stations.begin(), stations.end(),
                                      [&](const StationRecord &s) { return s.name == name; });
    if (station == stations.end()) {
        err << "station.db has no station named \"" << name << "\".\n";
        return false;
    }
    form.choose_station(*station);
    return true;
}

// Fills the sheet as a user would: the equation first, then the station page, leaving the
// elevation or temperature fields last so that the derived values follow them.
bool fill_sheet(const Options &o, LocationInfoForm &form, std::ostream &err)
{
    bool failed = false;
    const auto days = o.integer("days", err, failed);
    const auto method = named_option(o, "et-method", kEtMethods, err, failed);
    const auto reference = named_option(o, "reference", kReferenceTypes, err, failed);
    const auto latitude = o.number("latitude", err, failed);
    const auto elevation = o.number("elevation", err, failed);
    const auto anemometer = o.number("anemometer-height", err, failed);
    const auto tmin = o.number("tmin-warm", err, failed);
    const auto tmax = o.number("tmax-warm", err, failed);
    const auto delta_t = o.number("delta-t", err, failed);
    const auto k_zero = o.number("k-zero", err, failed);
    if (failed)
        return false;
    const auto offered = et_choices();
    if (method && std::none_of(offered.begin(), offered.end(),
                               [&](const EtChoice &c) { return c.method == *method; })) {
        err << "This release has no such ET equation; --et-method takes another.\n";
        return false;
    }
    if (o.has("station") &&
        (latitude || elevation || anemometer || tmin || tmax || reference || delta_t || k_zero)) {
        err << "Give either --station or the station's values, not both.\n";
        return false;
    }
    LocationInfo &v = form.values;
    v.et_method = method.value_or(v.et_method);
    v.season_length = days.value_or(v.season_length);
    if (const auto station = o.value("station"); station && !copy_station(*station, form, err))
        return false;
    v.latitude = latitude.value_or(v.latitude);
    v.anemometer_height = anemometer.value_or(v.anemometer_height);
    v.warm_month_tmin = tmin.value_or(v.warm_month_tmin);
    v.warm_month_tmax = tmax.value_or(v.warm_month_tmax);
    v.reference_type = reference.value_or(v.reference_type);
    if ((delta_t || k_zero) && !form.delta_t_and_k_zero_enabled()) {
        err << "DeltaT and Kzero are entered only with --reference none.\n";
        return false;
    }
    v.delta_t = delta_t.value_or(v.delta_t);
    v.k_zero = k_zero.value_or(v.k_zero);
    if (elevation) {
        v.elevation = *elevation;
        form.elevation_left();
    } else if (tmin || tmax) {
        form.warm_month_temperature_left();
    }
    return true;
}

bool save(Context &ctx, CLocationDoc &location, const path &file)
{
    const SaveOutcome outcome = save_location_file(location, file);
    if (!outcome.saved)
        ctx.err << outcome.message << "\n";
    return outcome.saved;
}

enum class Opened { Whole, Damaged, Not };

// A file whose header could not be read is shown as far as it was read, but never saved over:
// that would drop whatever the reader could not take in.
Opened open(Context &ctx, const path &file, CLocationDoc &location)
{
    std::string detail;
    switch (load_location_file(file, location, &detail)) {
    case LocationRead::Complete:
    case LocationRead::DaysCut: return Opened::Whole;
    case LocationRead::Failed:
        ctx.err << file.string() << ": " << detail << "\n";
        return Opened::Damaged;
    case LocationRead::Unreadable: break;
    }
    ctx.err << "Cannot open " << file.string() << ": " << detail << "\n";
    return Opened::Not;
}

bool open_for_change(Context &ctx, const path &file, CLocationDoc &location)
{
    const Opened opened = open(ctx, file, location);
    if (opened == Opened::Damaged)
        ctx.err << file.string() << " is left as it is.\n";
    return opened == Opened::Whole;
}

std::optional<int> iso_date_option(const Options &o, std::string_view option)
{
    const auto text = o.value(option);
    return text ? parse_iso_date(*text) : std::nullopt;
}

void declare_new(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file to create");
    add_value(command, "--name", "N", "the location's name", Need::Required);
    add_value(command, "--start", "YYYY-MM-DD", "the season's first day", Need::Required);
    add_sheet_options(command);
}

int location_new(Context &ctx)
{
    const Options *o = &ctx.options;
    const path file = o->positionals()[0];
    const auto name = o->value("name");
    const auto start = iso_date_option(*o, "start");
    if (!start) {
        ctx.err << "location new needs --name and --start YYYY-MM-DD.\n";
        return kExitUsage;
    }
    // A typing slip must not replace a season of weather.
    if (file_exists(file)) {
        ctx.err << file.string() << " already exists; use location edit to change it.\n";
        return kExitFailure;
    }
    CLocationDoc location;
    LocationInfoForm form(location, SheetMode::New);
    form.set_name(*name);
    form.values.start_date = *start;
    if (!fill_sheet(*o, form, ctx.err))
        return kExitUsage;
    if (!form.accept(location) || !save(ctx, location, file))
        return kExitFailure;
    ctx.out << "Created " << file.string() << ": " << location.title() << ", "
            << location.day_count() << " days from " << iso_date(location.start_date.day())
            << ".\n";
    return kExitOk;
}

void declare_edit(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file");
    add_sheet_options(command);
}

int location_edit(Context &ctx)
{
    const Options *o = &ctx.options;
    const path file = o->positionals()[0];
    CLocationDoc location;
    if (!open_for_change(ctx, file, location))
        return kExitFailure;
    LocationInfoForm form(location, SheetMode::Edit);
    if (!fill_sheet(*o, form, ctx.err))
        return kExitUsage;
    if (!form.accept(location) || !save(ctx, location, file))
        return kExitFailure;
    ctx.out << "Saved " << file.string() << ": " << location.day_count() << " days.\n";
    return kExitOk;
}

void declare_import(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file");
    add_argument(command, "WEATHER", "the weather file");
    add_value(command, "--format", "jvu-new|jvu-old|usda|usda-no-rh|kansas|csv",
              "the weather file's format (with --release 1: jvu|usda|usda-no-rh|kansas)");
    add_value(command, "--map", "auto|ENTRY,...",
              "with --format csv, auto to read the columns from the header, or the column and "
              "unit of each value: date=COL, year=COL,doy=COL or year=COL,month=COL,day=COL, then "
              "any of t_max=COL[C|F], t_min=COL[C|F], rh_max=COL[fraction|percent], "
              "rh_min=COL[fraction|percent] or dewpoint=COL[C|F], solar=COL[W/m2|MJ/m2|langley], "
              "wind=COL[km/day|mi/day|m/s|mph|km/h], rain=COL[mm|in], etr=COL[mm|in]; an entry "
              "whose column name holds a comma is quoted (not with --preset)");
    add_value(command, "--preset", "NAME",
              "with --format csv, the map of a preset of csvmaps.txt, keeping the columns "
              "the header has (not with --map)");
    add_value(command, "--save-preset", "NAME",
              "with --format csv, also keep the map the import used as a preset of csvmaps.txt "
              "(letters, digits, - and _; a preset of that name is replaced)");
    add_flag(command, "--replace",
             "with --format csv, the file's days replace days that have data (default: only "
             "empty days are filled)");
    add_flag(command, "--forecast",
             "with --format csv, the file's days after the last day with data are stored as the "
             "forecast");
}

// The header lines --map auto reads to tell a humidity in fractions from one in percent.
constexpr std::size_t kAutoMapRows = 20;

// The reader of --format; nothing after telling err why. --format csv is read apart.
std::optional<std::function<int(CLocationDoc &, const path &)>> import_reader(const Options &o,
                                                                              std::ostream &err)
{
    const auto map_text = o.value("map");
    const bool earlier_release = &edition() == &release1();
    if (o.has("forecast")) {
        err << "--forecast goes with --format csv.\n";
        return std::nullopt;
    }
    bool failed = false;
    const auto format = earlier_release ? named_option(o, "format", kRelease1Formats, err, failed)
                                        : named_option(o, "format", kFormats, err, failed);
    const bool csv_options =
        map_text || o.has("preset") || o.has("save-preset") || o.has("replace");
    if (!format || csv_options) {
        const char *map_problem = earlier_release
                                      ? "Tillwise 1 has no CSV weather import: --map is "
                                        "not taken.\n"
                                      : "--map, --preset, --save-preset and --replace go with "
                                        "--format csv.\n";
        err << (failed   ? (earlier_release ? "" : "Or --format csv with --map.\n")
                : format ? map_problem
                         : "location import needs --format.\n");
        return std::nullopt;
    }
    return
        [format = *format](CLocationDoc &l, const path &f) { return import_weather(l, format, f); };
}

// The map of --map; or the one a preset or (with --map auto) the header gives, keeping the columns
// the header has, printed. Nothing after telling err why, with the exit status in `status`.
std::optional<CsvWeatherMap> csv_map_of(Context &ctx, const Options &o, std::string_view text,
                                        int &status)
{
    const auto map_text = o.value("map");
    const auto preset = o.value("preset");
    status = kExitUsage;
    if (map_text && *map_text != "auto") {
        const CsvMapParse parsed = parse_csv_weather_map(*map_text);
        if (!parsed.map)
            ctx.err << parsed.problem << "\n";
        return parsed.map;
    }
    CsvImportForm form(csv_preview(text, kAutoMapRows), std::nullopt);
    if (preset) {
        const auto map = find_csv_preset(load_csv_presets(), *preset);
        if (!map) {
            ctx.err << "No preset is named \"" << *preset << "\" in " << kCsvPresetsFile << ".\n";
            return std::nullopt;
        }
        form.choose_map(*map);
    }
    const CsvWeatherMap map = form.map();
    if (const std::string problem = csv_auto_map_problem(map); !problem.empty()) {
        ctx.err << problem << " Name the columns with --map.\n";
        status = kExitFailure;
        return std::nullopt;
    }
    ctx.out << "Map: " << csv_weather_map_text(map) << "\n";
    return map;
}

void print_import_result(Context &ctx, const path &file, int imported)
{
    if (imported == 0)
        ctx.out << "No empty day of the season was in the file; " << file.string()
                << " is unchanged.\n";
    else
        ctx.out << "Imported " << imported << (imported == 1 ? " day" : " days") << " into "
                << file.string() << ".\n";
}

// A forecast's days are stored after the last day with data; they are no days with data.
int store_forecast(Context &ctx, CLocationDoc &location, const path &file, int stored)
{
    if (stored < 0)
        return kExitFailure;
    if (stored == 0) {
        ctx.out << "No day after the last day with data was in the file; " << file.string()
                << " is unchanged.\n";
        return kExitOk;
    }
    if (!save(ctx, location, file))
        return kExitFailure;
    ctx.out << "Stored " << stored << (stored == 1 ? " day" : " days") << " of forecast in "
            << file.string() << ".\n";
    return kExitOk;
}

int location_import_csv(Context &ctx, const Options &o)
{
    const path file = o.positionals()[0];
    if (o.has("map") == o.has("preset")) {
        ctx.err << "--format csv needs --map or --preset.\n";
        return kExitUsage;
    }
    const auto preset_name = o.value("save-preset");
    if (preset_name) {
        if (const auto problem = csv_preset_name_problem(*preset_name)) {
            ctx.err << *problem << "\n";
            return kExitUsage;
        }
    }
    const auto text = read_weather_text(o.positionals()[1]);
    if (!text)
        return kExitFailure;
    int status = kExitOk;
    const auto map = csv_map_of(ctx, o, *text, status);
    if (!map)
        return status;
    // The map is kept once it read the file's header, whatever the import then finds.
    if (preset_name) {
        if (!save_csv_preset(*preset_name, *map))
            return kExitFailure;
        ctx.out << "Saved the map as the preset \"" << *preset_name << "\" in " << kCsvPresetsFile
                << ".\n";
    }
    CLocationDoc location;
    if (!open_for_change(ctx, file, location))
        return kExitFailure;
    if (o.has("forecast"))
        return store_forecast(ctx, location, file, import_csv_forecast_text(location, *map, *text));
    const auto summary = import_csv_weather_text(location, *map, *text, o.has("replace"));
    if (!summary)
        return kExitFailure;
    if (summary->imported > 0 && !save(ctx, location, file))
        return kExitFailure;
    print_import_result(ctx, file, summary->imported);
    for (const std::string &line : csv_summary_details(*summary))
        ctx.out << line << "\n";
    return kExitOk;
}

int location_import(Context &ctx)
{
    const Options *o = &ctx.options;
    if (o->value("format") == "csv" && &edition() != &release1())
        return location_import_csv(ctx, *o);
    const auto reader = import_reader(*o, ctx.err);
    if (!reader)
        return kExitUsage;
    const path file = o->positionals()[0];
    CLocationDoc location;
    if (!open_for_change(ctx, file, location))
        return kExitFailure;
    const int filled = (*reader)(location, o->positionals()[1]);
    if (filled < 0)
        return kExitFailure;
    if (filled > 0 && !save(ctx, location, file))
        return kExitFailure;
    print_import_result(ctx, file, filled);
    return kExitOk;
}

void declare_source(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file");
    add_value(command, "--url", "TEMPLATE",
              "where the days are fetched from; without it the source is shown, not set");
    add_value(command, "--station", "ID", "the station the template names (default: none)");
    add_value(command, "--preset", "NAME",
              "the columns of the fetched CSV by a preset of csvmaps.txt (not with --map)");
    add_value(command, "--map", "ENTRY,...",
              "the columns of the fetched CSV, as location import --map takes them (not with "
              "--preset)");
    add_value(command, "--forecast-url", "TEMPLATE",
              "where the forecast's days are fetched from (default: none)");
}

void print_source(Context &ctx, const path &file, const WeatherSource &s)
{
    if (s.empty()) {
        ctx.out << file.string() << " has no weather source.\n";
        return;
    }
    ctx.out << "url=" << s.url << "\nstation=" << s.station << "\n"
            << (s.map.empty() ? "preset=" + s.preset : "map=" + s.map) << "\n";
    if (!s.forecast_url.empty())
        ctx.out << "forecast_url=" << s.forecast_url << "\n";
}

int location_source(Context &ctx)
{
    const Options *o = &ctx.options;
    const path file = o->positionals()[0];
    CLocationDoc location;
    if (!open_for_change(ctx, file, location))
        return kExitFailure;
    if (!o->has("url")) {
        if (o->has("station") || o->has("preset") || o->has("map") || o->has("forecast-url")) {
            ctx.err << "location source needs --url with the other options.\n";
            return kExitUsage;
        }
        print_source(ctx, file, location.source);
        return kExitOk;
    }
    const WeatherSource source{*o->value("url"), o->value("station").value_or(""),
                               o->value("preset").value_or(""), o->value("map").value_or(""),
                               o->value("forecast-url").value_or("")};
    if (const std::string problem = weather_source_problem(source); !problem.empty()) {
        ctx.err << problem << "\n";
        return kExitUsage;
    }
    location.source = source;
    if (!save(ctx, location, file))
        return kExitFailure;
    ctx.out << "Saved " << file.string() << ": weather from " << source.url << ".\n";
    return kExitOk;
}

void declare_update(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file");
    add_value(command, "--through", "YYYY-MM-DD", "the last day to fetch (default: yesterday)");
}

int location_update(Context &ctx)
{
    const Options *o = &ctx.options;
    const auto through =
        o->has("through") ? iso_date_option(*o, "through") : std::optional<int>(today_serial() - 1);
    if (!through) {
        ctx.err << "Option --through needs a date YYYY-MM-DD.\n";
        return kExitUsage;
    }
    const path file = o->positionals()[0];
    CLocationDoc location;
    if (!open_for_change(ctx, file, location))
        return kExitFailure;
    CurlHttpPort http;
    const WeatherUpdate update = update_weather(location, http, *through);
    if (!update.ok) {
        ctx.err << file.string() << " is unchanged. " << update.problem << "\n";
        return kExitFailure;
    }
    if (!update.changed()) {
        ctx.out << weather_update_summary(update) << "; " << file.string() << " is unchanged.\n";
        return kExitOk;
    }
    if (!save(ctx, location, file))
        return kExitFailure;
    ctx.out << "Updated " << file.string() << ": " << weather_update_text(update) << "\n";
    return kExitOk;
}

void declare_set_day(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file");
    add_value(command, "--date", "YYYY-MM-DD", "the day, within the season", Need::Required);
    add_value(command, "--tmin", "TEMP", "the minimum temperature, in the unit of custom.con");
    add_value(command, "--tmax", "TEMP", "the maximum temperature, in the unit of custom.con");
    add_value(command, "--rh-min", "PERCENT", "the minimum relative humidity in whole percent");
    add_value(command, "--rh-max", "PERCENT", "the maximum relative humidity in whole percent");
    add_value(command, "--solar", "RADIATION",
              "the solar radiation, in the unit of custom.con (not with --cloud-cover)");
    add_value(command, "--cloud-cover", "0..4", "the cloud cover, from clear (0) to overcast (4)");
    add_value(command, "--wind", "WIND", "the wind run, in the unit of custom.con");
    add_value(command, "--rain", "DEPTH", "the rain, in the depth unit of custom.con");
    add_value(command, "--alternate-etr", "DEPTH",
              "a typed ETr that replaces the computed one; 0 for the computed one");
}

// The options the entry takes, over the day as the dialog would show it.
bool fill_entry(const Options &o, DayEntry &e, std::ostream &err)
{
    bool failed = false;
    const auto solar = o.number("solar", err, failed);
    const auto cloud = o.integer("cloud-cover", err, failed);
    const auto alternate = o.number("alternate-etr", err, failed);
    static constexpr std::pair<const char *, float DayEntry::*> kValues[] = {
        {"tmin", &DayEntry::t_min},
        {"tmax", &DayEntry::t_max},
        {"wind", &DayEntry::wind_run},
        {"rain", &DayEntry::rain}};
    for (const auto &[option, member] : kValues)
        e.*member = o.number(option, err, failed).value_or(e.*member);
    e.rh_min = o.integer("rh-min", err, failed).value_or(e.rh_min);
    e.rh_max = o.integer("rh-max", err, failed).value_or(e.rh_max);
    if (failed)
        return false;
    if (solar && cloud) {
        err << "Give either --solar or --cloud-cover.\n";
        return false;
    }
    if (solar) {
        e.use_cloud_cover = false;
        e.solar_radiation = *solar;
    }
    if (cloud) {
        e.use_cloud_cover = true;
        e.cloud_cover = *cloud;
    }
    if (alternate) {
        e.set_use_alternate_etr(*alternate != 0.0f);
        e.alternate_etr = *alternate;
    }
    return true;
}

int location_set_day(Context &ctx)
{
    const Options *o = &ctx.options;
    const auto date = iso_date_option(*o, "date");
    if (!date) {
        ctx.err << "location set-day needs --date YYYY-MM-DD.\n";
        return kExitUsage;
    }
    const path file = o->positionals()[0];
    CLocationDoc location;
    if (!open_for_change(ctx, file, location))
        return kExitFailure;
    const int i = *date - location.start_date.day();
    if (i < 0 || i >= location.day_count()) {
        ctx.err << *o->value("date") << " is not in the season of " << file.string() << " ("
                << iso_date(location.date_of(0)) << " to "
                << iso_date(location.date_of(location.day_count() - 1)) << ").\n";
        return kExitFailure;
    }
    DayEntry entry = day_entry_of(location, i);
    if (!fill_entry(*o, entry, ctx.err))
        return kExitUsage;
    if (!apply_day_entry(location, i, entry) || !save(ctx, location, file))
        return kExitFailure;
    ctx.out << "Saved " << iso_date(*date) << " (day " << i << "): Etr "
            << strprintf("%1.2f", static_cast<double>(convert_to(Depth, location.day(i).etr_used)))
            << " " << sed_SetUnits(Depth) << ".\n";
    return kExitOk;
}

// show and export read a file as far as it can be read; a damaged one still fails the command.
int read_only(Context &ctx, void (*print)(Context &, const Options &, const CLocationDoc &))
{
    CLocationDoc location;
    const Opened opened = open(ctx, ctx.options.positionals()[0], location);
    if (opened == Opened::Not)
        return kExitFailure;
    print(ctx, ctx.options, location);
    return opened == Opened::Whole ? kExitOk : kExitFailure;
}

void print_weather_table(Context &ctx, const Options &o, const CLocationDoc &location)
{
    print_table(ctx.out, weather_text_table(location), o.has("csv"));
}

void declare_show(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file");
    add_csv_flag(command);
}

int location_show(Context &ctx)
{
    return read_only(ctx, &print_weather_table);
}

void print_export(Context &ctx, const Options &, const CLocationDoc &location)
{
    std::vector<std::vector<std::string>> rows;
    const auto number = [](float v) { return strprintf("%.9g", static_cast<double>(v)); };
    for (int i = 0; i < location.day_count(); ++i) {
        const WeatherDay &d = location.day(i);
        rows.push_back({std::to_string(i), iso_date(location.date_of(i)),
                        std::to_string(d.has_data), number(d.t_min), number(d.t_max),
                        number(d.rh_min), number(d.rh_max), number(d.solar_radiation),
                        std::to_string(d.cloud_cover), number(d.wind_run), number(d.rain),
                        number(d.etr), number(d.alternate_etr), number(d.etr_used)});
    }
    print_table(ctx.out,
                {"day", "date", "has_data", "t_min", "t_max", "rh_min", "rh_max", "solar_radiation",
                 "cloud_cover", "wind_run", "rain", "etr", "alternate_etr", "etr_used"},
                rows, true);
}

void declare_export(CLI::App &command)
{
    add_argument(command, "FILE.loc", "the location file");
}

int location_export(Context &ctx)
{
    return read_only(ctx, &print_export);
}

const Registration new_registration({"location", "new",
                                     "Creates a location by the rules of the location sheet.",
                                     &declare_new, &location_new});
const Registration edit_registration({"location", "edit",
                                      "Edits a location's station and season; recomputes ET.",
                                      &declare_edit, &location_edit});
const Registration import_registration({"location", "import",
                                        "Imports weather into the empty days; recomputes ET.",
                                        &declare_import, &location_import});
const Registration source_registration({"location", "source",
                                        "Sets or shows where the location's days are fetched.",
                                        &declare_source, &location_source});
const Registration update_registration({"location", "update",
                                        "Fetches the days after the last day with data; "
                                        "recomputes ET.",
                                        &declare_update, &location_update});
const Registration set_day_registration({"location", "set-day",
                                         "Types one day's weather, as the day entry does.",
                                         &declare_set_day, &location_set_day});
const Registration show_registration({"location", "show", "Shows the daily weather table.",
                                      &declare_show, &location_show});
const Registration export_registration({"location", "export",
                                        "Writes every day as CSV in internal units.",
                                        &declare_export, &location_export});

} // namespace
} // namespace tw::cli
