// One reader of the program under libFuzzer, chosen at build time. The input is handed to the
// reader as the program hands it its file (in memory where the reader takes bytes, through the
// working folder where it opens the file itself), then whatever displays or computes from what
// was read runs over the result, in-process and without the command line, so each run is cheap
// enough for millions of them. The first corpus folder, when empty, is seeded with the file as
// the demo season has it, so every run starts from real data.
#include "fuzz_workdir.h"

#include "fertility/answers.h"
#include "fertility/consultation.h"
#include "fertility/field_facts.h"
#include "fertility/knowledge_files.h"
#include "fertility/mass_balance_table.h"
#include "fertility/nitrogen_methods.h"
#include "fertility/nutrient_file.h"
#include "fertility/schedule.h"
#include "fertility/source_library.h"
#include "field/field_doc.h"
#include "field/field_summary.h"
#include "field/growth_stages.h"
#include "field/irrigation_table.h"
#include "field/nutrient_readback.h"
#include "field/root_zone_bound.h"
#include "field/soil_readings.h"
#include "leaching/leaching_analysis.h"
#include "leaching/nitrogen_table.h"
#include "location/csv_weather.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "location/location_info_form.h"
#include "location/weather_import.h"
#include "location/weather_table.h"
#include "platform/dates.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"
#include "refdata/records.h"
#include "refdata/release_migration.h"
#include "refdata/soil_form.h"
#include "refdata/station_form.h"
#include "refdata/tip_of_day.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// The reader this harness drives, named by the harness's own source.
extern const char tillwise_fuzz_target[];

namespace {

using Bytes = std::span<const std::uint8_t>;

std::string_view as_text(Bytes bytes)
{
    return {reinterpret_cast<const char *>(bytes.data()), bytes.size()};
}

/// Messages are the readers' way of refusing; the harness only needs them not to pile up.
class SilentPort : public tw::MessagePort
{
public:
    void inform(std::string_view, std::string_view, tw::MessageIcon) override {}
    bool ask_yes_no(std::string_view, std::string_view) override { return true; }
    std::size_t choose(std::string_view, const std::vector<std::string> &,
                       std::string_view) override
    {
        return 0;
    }
    void beep() override {}
};

/// The demo season held open: the Greeley location and its two corn fields, North with its
/// consultation and Zero without, as a user has them in the windows.
struct Season
{
    std::unique_ptr<tw::CLocationDoc> location = std::make_unique<tw::CLocationDoc>();
    std::unique_ptr<tw::CFieldDoc> north;
    std::unique_ptr<tw::CFieldDoc> zero;

    Season()
    {
        tw::decode_location(tw::fuzz::original("G.loc"), *location);
        location->recompute_all();
        north = tw::open_field(*location, tw::fuzz::original("N.fld"), "N");
        zero = tw::open_field(*location, tw::fuzz::original("N0.fld"), "N0");
        if (!north || !zero)
            __builtin_trap();
    }
};

Season &season()
{
    static Season s;
    return s;
}

/// Puts the input where the reader looks for it for the run, and the demo's file back after.
class InWorkFolder
{
public:
    InWorkFolder(std::string name, Bytes bytes)
        : name_(std::move(name))
    {
        tw::fuzz::put(name_, bytes);
    }
    ~InWorkFolder() { tw::fuzz::restore(name_); }
    InWorkFolder(const InWorkFolder &) = delete;
    InWorkFolder &operator=(const InWorkFolder &) = delete;

private:
    std::string name_;
};

// --- locations and weather --------------------------------------------------------------------

void show_location(const tw::CLocationDoc &location)
{
    (void)tw::weather_text_table(location);
    (void)tw::summary_text_table(location);
}

void fuzz_location(Bytes bytes)
{
    tw::CLocationDoc location;
    if (tw::decode_location(bytes, location) == tw::LocationRead::Failed)
        return;
    show_location(location);
    (void)tw::encode_location(location);
}

/// A location with no weather yet, which every import fills from its start.
std::unique_ptr<tw::CLocationDoc> empty_location()
{
    auto location = std::make_unique<tw::CLocationDoc>();
    tw::decode_location(tw::fuzz::original("E.loc"), *location);
    return location;
}

/// The rows of the days an import filled, as the weather table shows them.
void show_filled_days(const tw::CLocationDoc &location)
{
    for (int i = 0; i < location.day_count(); ++i) {
        if (location.day(i).has_data)
            (void)tw::weather_row_texts(location, i);
    }
}

std::function<void(Bytes)> weather(tw::WeatherFormat format)
{
    return [format](Bytes bytes) {
        auto location = empty_location();
        if (tw::import_weather_text(*location, format, as_text(bytes)) > 0)
            show_filled_days(*location);
    };
}

void fuzz_csv_weather(Bytes bytes)
{
    static const tw::CsvWeatherMap map =
        tw::parse_csv_weather_map("date=Date,t_max=TMax[F],t_min=TMin[F],rh_max=RhMax[percent],"
                                  "rh_min=RhMin[percent],solar=Rs[W/m2],wind=Wind[m/s],"
                                  "rain=Rain[in]")
            .map.value();
    auto location = empty_location();
    (void)tw::csv_preview(as_text(bytes), 5);
    const auto summary = tw::import_csv_weather_text(*location, map, as_text(bytes), false);
    if (summary && summary->imported > 0)
        show_filled_days(*location);
}

/// A map's text on the first line, the station file it reads after it: the map as a user types
/// it, over a file small enough to keep the runs fast.
void fuzz_csv_weather_map(Bytes bytes)
{
    const std::string_view text = as_text(bytes);
    const std::size_t newline = std::min(text.find('\n'), text.size());
    const tw::CsvMapParse parsed = tw::parse_csv_weather_map(text.substr(0, newline));
    if (!parsed.map)
        return;
    (void)tw::csv_weather_map_text(*parsed.map);
    if (!tw::csv_map_problem(*parsed.map).empty())
        return;
    const std::string_view file = newline < text.size() ? text.substr(newline + 1) : "";
    auto location = empty_location();
    // Both ways an import treats the days it meets: kept, and replaced.
    const bool replace = !file.empty() && file.back() == '\n';
    if (tw::imported_days(tw::import_csv_weather_text(*location, *parsed.map, file, replace)) > 0)
        show_filled_days(*location);
}

// --- fields ---------------------------------------------------------------------------------

void show_field(const tw::CFieldDoc &field)
{
    (void)tw::irrigation_text_table(field);
    (void)tw::nitrogen_text_table(field);
    (void)tw::field_summary_row(field);
}

void fuzz_field(Bytes bytes)
{
    const auto field = tw::open_field(*season().location, bytes, "F");
    if (!field)
        return;
    show_field(*field);
    (void)field->serialize();
}

/// Probe readings, read as each kind's first unit and entered into a copy of the demo's field
/// when every one fits its day's root zone.
void fuzz_readings_csv(Bytes bytes)
{
    for (const tw::ReadingKind kind : {tw::ReadingKind::Deficit, tw::ReadingKind::Content}) {
        const tw::ParsedReadings parsed =
            tw::parse_soil_readings(as_text(bytes), tw::reading_units(kind)[0]);
        if (parsed.error || parsed.readings.empty())
            continue;
        const auto field = tw::open_field(*season().location, tw::fuzz::original("N.fld"), "N");
        if (!field || tw::reading_beyond_root_zone(*field, parsed.readings, kind))
            continue;
        const tw::EnteredReadings entered = tw::enter_soil_readings(*field, parsed.readings, kind);
        if (entered.entered > 0)
            (void)tw::irrigation_text_table(*field);
    }
}

// --- the reference databases ------------------------------------------------------------------

template<typename Record>
std::vector<Record> read_db(std::int32_t kind, Bytes bytes)
{
    InWorkFolder file(std::string(tw::db_file_name(kind)), bytes);
    auto stream = tw::db_Open(kind);
    if (!stream)
        return {};
    const std::int32_t count = tw::db_GetSize(kind, *stream);
    auto records = tw::db_Read(kind, *stream, count);
    auto *read = std::get_if<std::vector<Record>>(&records);
    return read ? std::move(*read) : std::vector<Record>{};
}

void fuzz_soils(Bytes bytes)
{
    for (const tw::SoilRecord &soil : read_db<tw::SoilRecord>(tw::DbSoils, bytes)) {
        (void)tw::soil_list_row(soil);
        tw::SoilValues values = tw::soil_values_of(soil);
        tw::assist_awhc(values);
        (void)tw::check_soil_values(values);
    }
}

void fuzz_crops(Bytes bytes)
{
    for (const tw::CropRecord &crop : read_db<tw::CropRecord>(tw::DbCrops, bytes)) {
        tw::HarvestTable cycles{};
        tw::derive_harvest_cycles(crop, cycles);
        tw::CropRecord expanded = crop;
        if (tw::expand_perennial(expanded, true))
            continue;
        for (const tw::GrowthStage &stage : expanded.stages)
            (void)tw::stage_flag_text(stage.flag);
    }
}

void fuzz_stations(Bytes bytes)
{
    const tw::CLocationDoc &location = *season().location;
    for (const tw::StationRecord &station : read_db<tw::StationRecord>(tw::DbStations, bytes)) {
        tw::StationValues values = tw::station_values_of(station);
        tw::station_elevation_left(values);
        tw::station_temperature_left(values);
        (void)tw::check_station_values(values);
        tw::LocationInfoForm form(location, tw::SheetMode::New);
        form.choose_station(station);
        form.elevation_left();
        form.warm_month_temperature_left();
    }
}

/// The earlier release's crop.db and station.db of the demo folder: its current records in the
/// earlier layouts, after a two-byte length of the crop file.
std::vector<std::uint8_t> release1_pair_seed()
{
    std::vector<std::uint8_t> crops;
    const auto &current_crops = tw::fuzz::original("crop.db");
    for (std::size_t at = 0; at + tw::kCropRecordSize <= current_crops.size();
         at += tw::kCropRecordSize) {
        const auto record = tw::decode_crop(
            std::span(current_crops).subspan(at, tw::kCropRecordSize), tw::CropLayout::Current);
        const auto image = tw::encode_crop(record, tw::CropLayout::Release1);
        crops.insert(crops.end(), image.begin(), image.end());
    }
    std::vector<std::uint8_t> seed = {static_cast<std::uint8_t>(crops.size() & 0xff),
                                      static_cast<std::uint8_t>(crops.size() >> 8)};
    seed.insert(seed.end(), crops.begin(), crops.end());
    const auto &current_stations = tw::fuzz::original("station.db");
    for (std::size_t at = 0; at + tw::kStationRecordSize <= current_stations.size();
         at += tw::kStationRecordSize) {
        const auto record =
            tw::decode_station(std::span(current_stations).subspan(at, tw::kStationRecordSize),
                               tw::StationLayout::Current);
        const auto image = tw::encode_station(record, tw::StationLayout::Release1);
        seed.insert(seed.end(), image.begin(), image.end());
    }
    return seed;
}

/// The pair migrated in a folder of its own. Whatever the files hold, a migration that says it
/// changed nothing has changed nothing, and one that succeeded finds nothing to do when run again.
void fuzz_release1_pair(Bytes bytes)
{
    if (bytes.size() < 2)
        return;
    const std::size_t crop_bytes =
        std::min<std::size_t>(bytes[0] | (bytes[1] << 8), bytes.size() - 2);
    const auto crops = bytes.subspan(2, crop_bytes);
    const auto stations = bytes.subspan(2 + crop_bytes);
    static const std::filesystem::path dir = tw::fuzz::workdir() / "release1";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directory(dir);
    std::ofstream(dir / "crop.db", std::ios::binary)
        .write(reinterpret_cast<const char *>(crops.data()),
               static_cast<std::streamsize>(crops.size()));
    std::ofstream(dir / "station.db", std::ios::binary)
        .write(reinterpret_cast<const char *>(stations.data()),
               static_cast<std::streamsize>(stations.size()));
    const tw::MigrationResult first = tw::migrate_release1_databases(dir);
    const bool unchanged =
        tw::fuzz::slurp(dir / "crop.db") == std::vector(crops.begin(), crops.end()) &&
        tw::fuzz::slurp(dir / "station.db") == std::vector(stations.begin(), stations.end());
    if (!first.changed && (!unchanged || std::filesystem::exists(dir / "crop.db.release1") ||
                           std::filesystem::exists(dir / "station.db.release1")))
        __builtin_trap();
    if (first.ok && tw::migrate_release1_databases(dir).changed)
        __builtin_trap();
}

/// The answers file's parser alone, for the inputs that never reach a consultation.
void fuzz_answers_ini(Bytes bytes)
{
    std::string reason;
    (void)tw::parse_answers(as_text(bytes), reason);
}

// --- preferences ----------------------------------------------------------------------------

/// A week is enough to take every ET equation and display unit through the coefficients.
constexpr int kSettingsDays = 7;

void fuzz_custom_settings(Bytes bytes)
{
    const tw::CustomSettings kept = tw::custom_settings();
    tw::custom_settings() = tw::decode_custom_settings(bytes);
    tw::CLocationDoc &location = *season().location;
    const tw::CFieldDoc &field = *season().north;
    for (int i = 0; i < kSettingsDays; ++i) {
        location.compute_day(i, true);
        (void)tw::weather_row_texts(location, i);
        (void)tw::irrigation_row(field, i, tw::TableFill::Full);
        (void)tw::nitrogen_row(field, i);
    }
    (void)tw::field_summary_row(field);
    tw::custom_settings() = kept;
    for (int i = 0; i < kSettingsDays; ++i)
        location.compute_day(i, true);
}

// --- the consultation's knowledge and libraries -----------------------------------------------

/// The demo's answers, read once; each consultation answers from its own copy.
const tw::ConsultationAnswers &demo_answers()
{
    static const tw::ConsultationAnswers answers = [] {
        std::string reason;
        auto parsed = tw::parse_answers(as_text(tw::fuzz::original("answers.ini")), reason);
        if (!parsed)
            __builtin_trap();
        return *parsed;
    }();
    return answers;
}

/// The consultation of the field without one, answered as a user would, up to its schedule; the
/// files it would write are encoded but not written. Nothing when a page refuses an answer.
std::optional<tw::FertilityInputs> consult(tw::ConsultationAnswers answers)
{
    tw::FertilizerConsultation c(tw::fertility_inputs(), tw::field_facts(*season().zero),
                                 tw::parse_iso_date("2022-05-01").value_or(0));
    std::string reason;
    if (!tw::answer_consultation(c, answers, reason))
        return std::nullopt;
    (void)c.breakdown_texts();
    (void)c.table();
    (void)tw::encode_nutrient_block(c.block());
    return c.inputs();
}

void fuzz_answers(Bytes bytes)
{
    std::string reason;
    if (auto answers = tw::parse_answers(as_text(bytes), reason))
        consult(std::move(*answers));
}

/// What the demo's answers gave the methods, as the knowledge files meet it.
const tw::FertilityInputs &demo_inputs()
{
    static const tw::FertilityInputs inputs = [] {
        const auto answered = consult(demo_answers());
        if (!answered)
            __builtin_trap();
        return *answered;
    }();
    return inputs;
}

/// METHOD_2.KB and INPUT.KB are read by the nitrogen methods.
std::function<void(Bytes)> method_knowledge(std::string name)
{
    return [name](Bytes bytes) {
        InWorkFolder file(name, bytes);
        const tw::MethodKnowledge knowledge = tw::load_method_knowledge();
        for (int crop = -2; crop <= tw::kPreviousCropCount + 2; ++crop)
            (void)knowledge.legumes.flag(crop);
        tw::MethodResults results;
        tw::prepare_records(demo_inputs(), results);
        tw::run_methods(demo_inputs(), knowledge, results);
        (void)tw::basic_text(results.soil_test);
        (void)tw::mass_balance_text(results.mass_balance);
        (void)tw::uptake_text(results.uptake);
    };
}

/// Takes a different material of the library for each application (so a record added or changed
/// anywhere in it is used), its first state and method, and a different rain class each time.
class RotatingChooser : public tw::ApplicationChooser
{
public:
    bool choose(tw::ApplicationPage &page) override
    {
        ++turn_;
        if (page.materials().empty())
            return false;
        page.select_material(turn_ % page.materials().size());
        for (int state = 0; state < 3; ++state) {
            if (page.state_enabled(state) && page.select_state(state))
                break;
        }
        const auto methods = page.open_method_list();
        if (methods && !methods->empty())
            page.select_method(turn_ % methods->size());
        page.select_rain(static_cast<int>(turn_ % 3));
        return page.accept();
    }

private:
    std::size_t turn_ = 0;
};

/// REC.KB and the three libraries are read by the schedule: every phase, three fertigations.
void build_schedule()
{
    tw::ScheduleRequest request;
    request.phases = {true, true, true, true, 3};
    request.nitrogen = 180.0f;
    request.phosphorus = 40.0f;
    request.potassium = 60.0f;
    RotatingChooser chooser;
    const auto entries = tw::build_schedule(request, tw::read_rec_kb(), chooser);
    (void)tw::schedule_table(entries);
}

void fuzz_rec_kb(Bytes bytes)
{
    const tw::ScheduleKnowledge knowledge({bytes.begin(), bytes.end()});
    for (int phase = -1; phase <= 4; ++phase) {
        for (int code = 0; code <= 16; ++code)
            (void)(knowledge.n_fraction(code, phase) + knowledge.p_fraction(code, phase) +
                   knowledge.k_fraction(code, phase));
        for (int state = -1; state <= 3; ++state)
            (void)knowledge.methods_offered(phase, state);
    }
    InWorkFolder file("REC.KB", bytes);
    build_schedule();
}

std::function<void(Bytes)> library(tw::LibraryType type)
{
    return [type](Bytes bytes) {
        const auto materials = tw::lib_Read(bytes, tw::lib_Count(bytes));
        for (int phase = 0; phase < 4; ++phase) {
            for (const tw::SourceMaterial &m : tw::lib_SelectForPhase(materials, phase))
                (void)tw::material_label(m);
        }
        InWorkFolder file(tw::library_file_name(type), bytes);
        build_schedule();
    };
}

// --- the consultation's files, read back by the field and the leaching report ----------------

std::function<void(Bytes)> consultation_file(std::string name)
{
    return [name](Bytes bytes) {
        InWorkFolder file(name, bytes);
        const auto field = tw::open_field(*season().location, tw::fuzz::original("N.fld"), "N");
        if (!field)
            return;
        (void)tw::leaching_summary_command(*field);
        (void)tw::nitrogen_text_table(*field);
    };
}

void fuzz_tips(Bytes bytes)
{
    InWorkFolder file("tips.txt", bytes);
    tw::MemorySettingsStore settings;
    tw::TipOfDay tips(settings, tw::work_file("tips.txt"));
    tips.prepare();
    for (int i = 0; i < 4; ++i)
        tips.next_tip();
    tips.finish();
}

struct Target
{
    std::string_view name;
    std::function<void(Bytes)> run;
    std::string seed_file; ///< the demo season's file the corpus starts from
    std::string seed = {}; ///< when the demo season has no such file
    std::function<std::vector<std::uint8_t>()> make_seed = {}; ///< when it is made from them
};

std::vector<Target> targets()
{
    const std::string jvu = "LIRF1,2022-05-01,12.0,20.1,00:00:00,5.2,00:00:00,0.0,0.9,00:00:00,"
                            "0.3,00:00:00,2.9,243.6,0.0\n";
    return {
        {"location", fuzz_location, "G.loc"},
        {"field", fuzz_field, "N.fld"},
        {"soil_db", fuzz_soils, "soil.db"},
        {"crop_db", fuzz_crops, "crop.db"},
        {"station_db", fuzz_stations, "station.db"},
        {"custom_con", fuzz_custom_settings, "custom.con"},
        {"n_lib", library(tw::LibNitrogen), "N_FERT.LIB"},
        {"p_lib", library(tw::LibPhosphorus), "P_FERT.LIB"},
        {"k_lib", library(tw::LibPotassium), "K_FERT.LIB"},
        {"method2_kb", method_knowledge("METHOD_2.KB"), "METHOD_2.KB"},
        {"input_kb", method_knowledge("INPUT.KB"), "INPUT.KB"},
        {"rec_kb", fuzz_rec_kb, "REC.KB"},
        {"frt", consultation_file("North22.FRT"), "North22.FRT"},
        {"lch", consultation_file("North22.LCH"), "North22.LCH"},
        {"tips", fuzz_tips, "",
         "Irrigate before the deficit reaches the allowable depletion.\n\n"
         "A field reads its weather from the location it was opened with.\n"},
        {"weather_jvu_new", weather(tw::WeatherFormat::JvuNew), "", jvu},
        {"weather_jvu_old", weather(tw::WeatherFormat::JvuOld), "",
         "STATION HEADER\n144,121,0,28.5,0,11.0,0,0,0.9,0,0.3,0,25.0,180.0,1.5\n"
         "144,122,0,28.5,0,11.0,0,0,0.9,0,0.3,0,25.0,180.0,1.5\n"},
        {"weather_usda", weather(tw::WeatherFormat::Usda), "",
         "999, 121, 70, 42, 80, 20, 600, 150, 0, 0\n"
         "999, 122, 71, 45, 85, 25, 580, 140, 0.1, 0\n"},
        {"weather_usda_no_rh", weather(tw::WeatherFormat::UsdaNoRh), "",
         "999, 121, 70, 42, 600, 150, 0, 0\n"
         "999, 122, 71, 45, 580, 140, 0.1, 0\n"},
        {"weather_kansas", weather(tw::WeatherFormat::KansasState), "",
         "139, 121, 86.0, 59.0, 85, 22, 550, 120, 0.5, 0.3\n"
         "139, 122, 84.0, 57.0, 80, 20, 540, 110, 0.0, 0.3\n"},
        {"weather_csv", fuzz_csv_weather, "",
         "Date,TMax,TMin,RhMax,RhMin,Rs,Wind,Rain\n2022-05-01,70,42,80,20,250,2.5,0\n"
         "2022-05-02,71,45,85,25,240,3.1,0.1\n"},
        {"answers", fuzz_answers, "answers.ini"},
        {"answers_ini", fuzz_answers_ini, "answers.ini"},
        {"readings_csv", fuzz_readings_csv, "",
         "date,value\n2022-06-01,20\n2022-06-08,35.5\n\n2022-06-15,12\n"},
        {"weather_csv_map", fuzz_csv_weather_map, "",
         "date=Date,t_max=TMax[F],t_min=TMin[F],rain=Rain[in],year=Y,doy=D\n"
         "Date,TMax,TMin,Rain\n2022-05-01,70,42,0\n2022-05-02,71,45,0.1\n"},
        {"release1_pair", fuzz_release1_pair, "", {}, release1_pair_seed},
    };
}

const Target &target()
{
    static const Target chosen = [] {
        for (Target &t : targets()) {
            if (t.name == tillwise_fuzz_target)
                return t;
        }
        __builtin_trap();
    }();
    return chosen;
}

std::vector<std::uint8_t> seed_bytes(const Target &t)
{
    if (!t.seed_file.empty())
        return tw::fuzz::original(t.seed_file);
    if (t.make_seed)
        return t.make_seed();
    return {t.seed.begin(), t.seed.end()};
}

void seed_corpus(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            continue;
        const std::filesystem::path dir = argv[i];
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec) || !std::filesystem::is_empty(dir, ec))
            return;
        const auto bytes = seed_bytes(target());
        std::ofstream out(dir / "seed", std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    tw::set_work_dir(tw::fuzz::workdir());
    static SilentPort port;
    tw::set_messages(&port);
    tw::load_custom_settings();
    season();
    demo_inputs();
    seed_corpus(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    target().run({data, size});
    return 0;
}
