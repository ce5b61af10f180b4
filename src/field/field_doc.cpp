#include "field/field_doc.h"

#include "fertility/nutrient_file.h"
#include "field/irrigation_systems.h"
#include "field/nutrient_readback.h"
#include "field/reading_drift.h"
#include "field/season_run.h"
#include "field/water_balance.h"
#include "location/location_file.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/database.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

/// More than any season of any location: a larger request comes from a broken date.
constexpr std::int64_t kMaxFieldDays = 1'000'000;
constexpr std::size_t kMaxFieldFileBytes = 64u << 20;

std::unique_ptr<CFieldDoc> bound_field(const ActiveWindow &active)
{
    auto field = std::make_unique<CFieldDoc>();
    if (!field->bind(active))
        return nullptr;
    field->set_defaults();
    return field;
}

/// The field moved to the location `settle` gives for it; false when it gives none.
bool rebind(CFieldDoc &field, const LocationSettler &settle)
{
    CLocationDoc *open = field.location;
    CLocationDoc *chosen = settle(field, *open);
    if (!chosen)
        return false;
    if (chosen != open) {
        open->detach_field(&field);
        field.location = chosen;
        chosen->attach_field(&field);
    }
    return true;
}

bool finish_open(CFieldDoc &field, std::string_view title)
{
    if (const auto reason = unsafe_file_name_reason(field.name, "field")) {
        messages().inform(*reason);
        return false;
    }
    const int location_days = field.location->day_count();
    if (field.day_count() > location_days) {
        messages().inform(strprintf("The field holds %d days, more than the %d days of the "
                                    "location \"%s\": open the field's own location first.",
                                    field.day_count(), location_days,
                                    field.location->name.c_str()));
        return false;
    }
    field.day_offset = location_days - field.day_count();
    field.set_title(title);
    field.season_run(0);
    field.location->update_all_views(-3);
    return true;
}

} // namespace

CFieldDoc::~CFieldDoc()
{
    if (location)
        location->detach_field(this);
}

void CFieldDoc::unbind()
{
    if (!location)
        return;
    CLocationDoc *left = location;
    left->detach_field(this);
    location = nullptr;
    left->update_all_views(-3);
}

LocationIdentity CFieldDoc::location_to_remember() const
{
    const LocationIdentity bound = location ? identity_of(*location) : LocationIdentity{};
    return bound.known() ? bound : remembered_location;
}

const WeatherDay *CFieldDoc::location_day(int d) const
{
    if (!location)
        return nullptr;
    const std::int64_t i = static_cast<std::int64_t>(d) + day_offset;
    if (i < 0 || i >= location->day_count())
        return nullptr;
    return &location->day(static_cast<int>(i));
}

void CFieldDoc::select_system(std::int32_t index)
{
    set_system_index(index);
    if (const IrrigationSystem *row = irrigation_system(index))
        efficiency = row->efficiency;
}

void CFieldDoc::set_system_index(std::int32_t index)
{
    system_index = index;
    // A stored index outside the table (a damaged file) keeps the field usable without a name.
    const IrrigationSystem *row = irrigation_system(index);
    system_name = row ? row->name : std::string_view{};
    net_depth_in = row ? row->net_depth_in : 0.0f;
}

bool CFieldDoc::bind(const ActiveWindow &active)
{
    if (!active.exists) {
        messages().inform("Please Open a Location First");
        return false;
    }
    auto *active_location = dynamic_cast<CLocationDoc *>(active.document);
    if (!active_location) {
        messages().inform("Please set focus on the fields Location window first");
        return false;
    }
    location = active_location;
    location->attach_field(this);
    return true;
}

void CFieldDoc::set_defaults()
{
    name.clear();
    second_text.clear();
    soil = SoilRecord{};
    db_InitCrop(crop, 1);
    select_system(0);
    initial_moisture = 0.3f;
    planting_date = location ? location->start_date : StoredDate{};
    perennial = 0;
    n1 = n2 = n3 = n4 = 0.0f;
}

void CFieldDoc::build_day_array()
{
    const int location_days = location ? location->day_count() : 0;
    const double start = location ? location->start_date.serial : 0.0;
    const std::int64_t whole = truncate_to_int(planting_date.serial - start);
    // A planting date past the record leaves no days rather than a negative count.
    const std::int64_t count = std::clamp<std::int64_t>(location_days - whole, 0, kMaxFieldDays);
    day_offset = location_days - static_cast<int>(count);
    if (day_offset < 0)
        messages().inform("Error, Field Data Starts before weather information.  Expect problems!");
    days.assign(static_cast<std::size_t>(count), FieldDay{});
    for (int d = 0; d < day_count(); ++d) {
        if (const WeatherDay *weather = location_day(d))
            days[static_cast<std::size_t>(d)].rain = weather->rain;
    }
}

void CFieldDoc::shift_start(int n)
{
    day_offset += n;
    if (n >= 1) {
        const auto drop = std::min<std::size_t>(static_cast<std::size_t>(n), days.size());
        days.erase(days.begin(), days.begin() + static_cast<std::ptrdiff_t>(drop));
    } else {
        days.insert(days.begin(), static_cast<std::size_t>(-static_cast<std::int64_t>(n)),
                    FieldDay{});
    }
}

void CFieldDoc::set_title(std::string_view proposed)
{
    if (proposed.find("Field") != std::string_view::npos) {
        store_title(std::string(proposed));
        return;
    }
    store_title(std::string(proposed) + " - (Field:" + name +
                "   Location: " + (location ? location->name : std::string()) + ")");
}

std::string CFieldDoc::nutrient_file_name() const
{
    return nutrient_base_for_field(name, planting_date.day()) + ".FRT";
}

std::vector<std::string> CFieldDoc::run_from(int s, const RunSettings &settings)
{
    FieldSeason season = take_season();
    run_season(season_inputs(settings), season, s);
    std::vector<std::string> said = std::move(season.messages);
    keep_season(std::move(season));
    return said;
}

int CFieldDoc::season_run(int s)
{
    RunSettings settings = RunSettings::current();
    if (n4 == 0.0f)
        read_nutrient_values(*this);
    std::vector<std::string> said = run_from(s, settings);
    // The drift is fitted on the days through the last reading as the run computed them, and
    // taken by every day after it: those days are run again with it.
    const int last_reading = learn_from_readings ? last_reading_day(*this) : -1;
    learned_drift = learned_depletion(*this, last_reading, settings);
    if (learned_drift != 0.0f) {
        settings.added_depletion = learned_drift;
        said = run_from(last_reading + 1, settings);
    }
    for (const std::string &text : said)
        messages().inform(text);
    return forecast_made ? 1 : 0;
}

SeasonInputs CFieldDoc::season_inputs(const RunSettings &settings) const
{
    return {crop,
            soil,
            efficiency,
            net_depth_in,
            initial_moisture,
            n1,
            n2,
            n4,
            location ? std::span<const WeatherDay>(location->days) : std::span<const WeatherDay>(),
            day_offset,
            settings,
            location ? &location->forecast : nullptr};
}

FieldSeason CFieldDoc::take_season()
{
    FieldSeason season;
    season.days = std::move(days);
    season.cycles = cycles;
    season.last_actual_day = last_actual_day;
    season.last_forecast_day = last_forecast_day;
    season.forecast_made = forecast_made;
    season.forecast_tmax = forecast_tmax;
    season.forecast_tmin = forecast_tmin;
    season.forecast_etr = forecast_etr;
    season.cum_n_applied = std::move(cum_n_applied);
    season.cum_leached = std::move(cum_leached);
    season.cum_irrigation_in = std::move(cum_irrigation_in);
    return season;
}

void CFieldDoc::keep_season(FieldSeason &&season)
{
    days = std::move(season.days);
    cycles = season.cycles;
    last_actual_day = season.last_actual_day;
    last_forecast_day = season.last_forecast_day;
    forecast_made = season.forecast_made;
    forecast_tmax = season.forecast_tmax;
    forecast_tmin = season.forecast_tmin;
    forecast_etr = season.forecast_etr;
    cum_n_applied = std::move(season.cum_n_applied);
    cum_leached = std::move(season.cum_leached);
    cum_irrigation_in = std::move(season.cum_irrigation_in);
}

int daily_step(CFieldDoc &field, int d, const RunSettings &settings)
{
    FieldSeason season = field.take_season();
    const int computed = daily_step(field.season_inputs(settings), season, d);
    field.keep_season(std::move(season));
    return computed;
}

void CFieldDoc::run_and_update(int s, int hint)
{
    season_run(s);
    if (location)
        location->update_all_views(-3);
    update_all_views(hint);
}

void CFieldDoc::weather_changed(int location_day)
{
    if (location_day >= day_offset)
        run_and_update(location_day - day_offset, location_day - day_offset);
    else if (location_day == 0)
        run_and_update(0, 0);
}

bool CFieldDoc::save(const std::filesystem::path &path)
{
    std::string error;
    WriteFailure failure = WriteFailure::None;
    const std::vector<std::uint8_t> bytes = serialize();
    if (!write_file_atomic(path, bytes, &error, &failure, expected_stamp(path))) {
        messages().inform(
            save_failure_message("Unable to save the field file " + path.string(), error, failure));
        return false;
    }
    set_disk_stamp(stamp_of(bytes));
    set_path(path);
    set_modified(false);
    return true;
}

std::unique_ptr<CFieldDoc> new_field(const ActiveWindow &active,
                                     const std::function<bool(CFieldDoc &)> &details,
                                     const std::function<void(CFieldDoc &)> &consultation)
{
    auto field = bound_field(active);
    if (!field || !details(*field))
        return nullptr;
    if (consultation)
        consultation(*field);
    derive_harvest_cycles(field->crop, field->cycles);
    field->build_day_array();
    field->season_run(0);
    field->location->update_all_views(-3);
    field->set_modified(true);
    return field;
}

std::unique_ptr<CFieldDoc> open_field(const ActiveWindow &active,
                                      std::span<const std::uint8_t> bytes, std::string_view title,
                                      const LocationSettler &settle)
{
    if (!active.exists) {
        // The field read on its own, only to say which location to open for it.
        CFieldDoc unbound;
        std::string text = "Please Open a Location First";
        if (unbound.deserialize(bytes) && unbound.remembered_location.known())
            text += "\nThis field remembers the location " + describe(unbound.remembered_location) +
                    ".";
        messages().inform(text);
        return nullptr;
    }
    auto field = bound_field(active);
    if (!field)
        return nullptr;
    if (!field->deserialize(bytes)) {
        messages().inform(kArchiveErrorMessage);
        return nullptr;
    }
    if (settle && !rebind(*field, settle))
        return nullptr;
    if (!finish_open(*field, title))
        return nullptr;
    return field;
}

std::unique_ptr<CFieldDoc> open_field(const ActiveWindow &active, const std::filesystem::path &path,
                                      const LocationSettler &settle)
{
    if (!active.exists)
        return open_field(active,
                          read_file(path, kMaxFieldFileBytes).value_or(std::vector<std::uint8_t>{}),
                          {}, settle);
    std::string error;
    const auto bytes = read_file(path, kMaxFieldFileBytes, &error);
    if (!bytes) {
        if (bound_field(active))
            messages().inform("Unable to open the field file " + path.string() + ": " + error);
        return nullptr;
    }
    auto field = open_field(active, *bytes, path.filename().string(), settle);
    if (!field)
        return nullptr;
    field->set_path(path);
    field->set_disk_stamp(stamp_of(*bytes));
    return field;
}

} // namespace tw
