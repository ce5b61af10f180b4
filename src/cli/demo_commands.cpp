// The demo: what ./run demo shows on the bundled data. It creates the reference files, a Greeley
// location with the 2022 weather of the Limited Irrigation Research Farm, and a corn field whose
// fertilizer is planned by a pre-season consultation and whose irrigation follows the program's
// advice, then shows today's decision (and, over the whole season, the leaching report).
#include "cli/cli.h"
#include "cli/fertility_commands.h"
#include "cli/field_commands.h"
#include "cli/leaching_commands.h"
#include "cli/refdata_commands.h"

#include "field/daily_entry_form.h"
#include "field/field_details_form.h"
#include "field/field_doc.h"
#include "field/irrigation_systems.h"
#include "field/next_irrigation.h"
#include "leaching/leaching_analysis.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "location/location_info_form.h"
#include "location/weather_import.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"
#include "refdata/units.h"

#include <algorithm>
#include <ostream>

namespace tw::cli {
namespace {

constexpr const char *kWeatherFile = "greeley-2022.txt";
/// Without --full-season the weather stops here, so that a forecast is live.
constexpr const char *kLiveUntil = "LIRF1,2022-07-16";
constexpr int kDaysShownBefore = 5;
constexpr int kDaysShownAfter = 8;

/// The source tree's copy of the bundled data while it is there, else the one installed beside
/// the program (bin/../share/tillwise), wherever the installation was put.
std::filesystem::path bundled(const std::filesystem::path &source, const char *installed)
{
    std::error_code ec;
    if (std::filesystem::is_directory(source, ec))
        return source;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return program.parent_path().parent_path() / TILLWISE_INSTALLED_DATA_DIR / installed;
}

std::filesystem::path default_data_dir()
{
    return bundled(TILLWISE_DEMO_DATA_DIR, "demo");
}

std::filesystem::path default_answers_file()
{
    return bundled(TILLWISE_EXAMPLES_DIR, "examples") / "corn_preseason.ini";
}

/// The weather lines to import: the whole file, or the lines before kLiveUntil.
std::optional<std::string> weather_text(const std::filesystem::path &file, bool full_season,
                                        std::ostream &err)
{
    const auto bytes = read_file(file);
    if (!bytes) {
        err << "Cannot read the demo weather " << file.string() << ".\n";
        return std::nullopt;
    }
    std::string text(bytes->begin(), bytes->end());
    if (const auto end = text.find(kLiveUntil); !full_season && end != std::string::npos)
        text.resize(end);
    return text;
}

std::unique_ptr<CLocationDoc> greeley(std::ostream &out, std::ostream &err)
{
    const std::vector<StationRecord> stations = load_stations();
    const auto station = std::find_if(stations.begin(), stations.end(),
                                      [](const StationRecord &s) { return s.name == "Greeley"; });
    if (station == stations.end()) {
        err << "station.db has no Greeley station.\n";
        return nullptr;
    }
    auto location = std::make_unique<CLocationDoc>();
    LocationInfoForm form(*location, SheetMode::New);
    form.set_name("Greeley");
    form.values.start_date = serial_from_civil(2022, 5, 1);
    form.choose_station(*station);
    if (!form.accept(*location))
        return nullptr;
    out << "Location " << location->name << ": station " << station->name << ", "
        << location->day_count() << " days from " << iso_date(location->start_date.day()) << ".\n";
    return location;
}

std::unique_ptr<CFieldDoc> corn_field(CLocationDoc &location, ConsultationAnswers &answers,
                                      bool &consulted, std::ostream &out, std::ostream &err)
{
    const std::vector<CropRecord> crops = load_crops();
    std::vector<SoilRecord> soils = load_soils();
    const auto soil = std::find_if(soils.begin(), soils.end(),
                                   [](const SoilRecord &s) { return s.name == "Sandy Loam"; });
    if (crops.empty() || soil == soils.end()) {
        err << "crop.db or soil.db lacks the demo's corn or sandy loam.\n";
        return nullptr;
    }
    const auto soil_entry = static_cast<std::size_t>(soil - soils.begin());
    return new_field(
        location,
        [&](CFieldDoc &f) {
            FieldDetailsForm form(f, crops, std::move(soils));
            form.choose_crop(0);
            form.choose_soil(soil_entry);
            form.choose_system(*irrigation_system_index("Surface Drip"));
            form.values.name = "LIRF corn";
            form.values.planting_date = serial_from_civil(2022, 5, 10);
            return form.accept();
        },
        [&](CFieldDoc &f) { consulted = consult_with_answers(f, answers, out, err); });
}

/// The irrigations of a grower following the advice, as the demo lists them.
std::vector<std::string> follow_the_advice(CFieldDoc &field)
{
    std::vector<std::string> applied;
    for (const int d : irrigate_as_advised(field)) {
        const float gross = field.season.days[static_cast<std::size_t>(d)].gross_irrigation;
        applied.push_back(strprintf("%s %.1f %s", iso_date(field.date_of(d)).c_str(),
                                    static_cast<double>(convert_to(Depth, gross)),
                                    sed_SetUnits(Depth).c_str()));
    }
    return applied;
}

void tell_the_decision(std::ostream &out, const CFieldDoc &field)
{
    out << "Last day of weather: " << iso_date(field.date_of(field.season.last_actual_day))
        << ".\n";
    out << next_irrigation_line(next_irrigation(field)) << "\n";
}

/// Over the whole season the leaching report closes the demo; mid-season a corn field's report
/// waits for a midseason consultation, so the demo says how to see it.
void tell_the_leaching(std::ostream &out, const CFieldDoc &field, bool full_season)
{
    if (!full_season) {
        out << "The leaching report comes with the whole season: ./run demo --full-season\n";
        return;
    }
    if (const auto run = leaching_summary_command(field)) {
        out << "\n";
        print_leaching_run(out, *run);
    }
}

/// What the demo reads: the season's weather and the consultation's answers.
struct DemoInputs
{
    std::string weather;
    ConsultationAnswers answers;
    bool full_season = false;
};

std::optional<DemoInputs> read_inputs(const Options &options, std::ostream &err)
{
    const std::filesystem::path data = options.value("data").value_or(default_data_dir());
    const bool full_season = options.has("full-season");
    auto weather = weather_text(data / kWeatherFile, full_season, err);
    auto answers = read_answers(options.value("answers").value_or(default_answers_file()), err);
    if (!weather || !answers)
        return std::nullopt;
    return DemoInputs{std::move(*weather), std::move(*answers), full_season};
}

bool create_reference_files(std::ostream &out)
{
    out << "Working directory: " << work_dir().string() << "\n";
    if (!save_custom_settings())
        return false;
    out << "Created custom.con (" << kCustomSettingsSize << " bytes, the default preferences).\n";
    return create_missing_databases(out);
}

bool save_demo_files(CLocationDoc &location, CFieldDoc &field, std::ostream &out, std::ostream &err)
{
    const auto loc_path = work_file(location.base_name + ".loc");
    const auto fld_path = work_file("lirf-corn.fld");
    SaveOutcome outcome = save_location_file(location, loc_path);
    if (outcome.saved)
        outcome = save_field_file(field, fld_path);
    if (!outcome.saved) {
        err << "Cannot save the demo files. " << outcome.message << "\n";
        return false;
    }
    out << "Saved " << loc_path.filename().string() << " and " << fld_path.filename().string()
        << ".\n\n";
    return true;
}

/// The season as the grower lives it: the field planned and irrigated as advised, then saved.
int run_season(DemoInputs &inputs, std::ostream &out, std::ostream &err)
{
    auto location = greeley(out, err);
    if (!location)
        return kExitFailure;
    const int imported = import_weather_text(*location, WeatherFormat::JvuNew, inputs.weather);
    out << "Imported " << imported << " days of weather from " << kWeatherFile
        << (inputs.full_season ? "" : " (through 15 July)") << ".\n";

    bool consulted = false;
    auto field = corn_field(*location, inputs.answers, consulted, out, err);
    if (!field || !consulted)
        return kExitFailure;
    out << "Field " << field->saved.name << ": " << field->saved.crop.name << " on "
        << field->saved.soil.name << ", " << field->saved.system_name << ", planted "
        << iso_date(field->saved.planting_date.day()) << ".\n";
    const auto applied = follow_the_advice(*field);
    out << "Irrigations applied as advised (" << applied.size() << "):";
    for (const std::string &a : applied)
        out << " " << a << ";";
    out << "\n";
    if (!save_demo_files(*location, *field, out, err))
        return kExitFailure;

    print_summary(out, *location, false);
    out << "\n";
    const int a = field->season.last_actual_day;
    print_schedule(out, *field, a - kDaysShownBefore, a + kDaysShownAfter, false);
    out << "\n";
    tell_the_decision(out, *field);
    tell_the_leaching(out, *field, inputs.full_season);
    return kExitOk;
}

int run_demo(Context &ctx)
{
    auto inputs = read_inputs(ctx.options, ctx.err);
    if (!inputs || !create_reference_files(ctx.out))
        return kExitFailure;
    return run_season(*inputs, ctx.out, ctx.err);
}

void declare_demo(CLI::App &command)
{
    add_value(command, "--data", "DIR",
              "the folder of the demo's weather, greeley-2022.txt (default: the bundled one)");
    add_value(command, "--answers", "FILE.ini",
              "the answers of the pre-season consultation (default: the bundled "
              "corn_preseason.ini)");
    add_flag(command, "--full-season",
             "imports the whole season's weather, not only that until mid-July, and closes with "
             "the leaching report");
}

const Registration demo_registration(
    {"demo", "",
     "Runs the demonstration in the working directory: a Greeley location with the 2022 weather "
     "through mid-July (or the whole season) and a corn field with a pre-season fertilizer "
     "consultation (the example answers unless told others) following the irrigation advice.",
     &declare_demo, &run_demo});

} // namespace
} // namespace tw::cli
