#include "field/field_doc.h"

#include "fertility/nutrient_file.h"
#include "field/field_file.h"
#include "field/nutrient_readback.h"
#include "field/reading_drift.h"
#include "field/season_run.h"
#include "location/forecast_days.h"
#include "location/location_file.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/database.h"

#include <algorithm>

namespace tw {
namespace {

/// More than any season of any location: a larger request comes from a broken date.
constexpr std::int64_t kMaxFieldDays = 1'000'000;
constexpr std::size_t kMaxFieldFileBytes = 64u << 20;

std::unique_ptr<CFieldDoc> bound_field(CLocationDoc &location)
{
    auto field = std::make_unique<CFieldDoc>();
    field->bind_to(location);
    field->set_defaults();
    return field;
}

/// The field moved to the location `settle` gives for it; false when it gives none.
bool rebind(CFieldDoc &field, const LocationSettler &settle)
{
    CLocationDoc *open = field.binding.location;
    CLocationDoc *chosen = settle(field, *open);
    if (!chosen)
        return false;
    if (chosen != open) {
        open->detach_field(&field);
        field.bind_to(*chosen);
    }
    return true;
}

bool finish_open(CFieldDoc &field, std::string_view title)
{
    if (const auto reason = unsafe_file_name_reason(field.saved.name, "field")) {
        messages().inform(*reason);
        return false;
    }
    CLocationDoc &location = *field.binding.location;
    const int location_days = location.day_count();
    if (field.day_count() > location_days) {
        messages().inform(strprintf("The field holds %d days, more than the %d days of the "
                                    "location \"%s\": open the field's own location first.",
                                    field.day_count(), location_days, location.name.c_str()));
        return false;
    }
    field.binding.day_offset = location_days - field.day_count();
    field.set_title(title);
    field.season_run(0);
    location.update_all_views(ViewHint::location_fields());
    return true;
}

} // namespace

CFieldDoc::~CFieldDoc()
{
    if (binding.location)
        binding.location->detach_field(this);
}

void CFieldDoc::bind_to(CLocationDoc &location)
{
    binding.location = &location;
    location.attach_field(this);
}

void CFieldDoc::unbind()
{
    if (!binding.location)
        return;
    CLocationDoc *left = binding.location;
    left->detach_field(this);
    binding.location = nullptr;
    left->update_all_views(ViewHint::location_fields());
}

bool CFieldDoc::on_forecast_weather(int d) const
{
    return has_day(d) && season.days[static_cast<std::size_t>(d)].kind == KindForecast &&
           binding.location && forecast_day(*binding.location, d + binding.day_offset);
}

LocationIdentity CFieldDoc::location_to_remember() const
{
    const LocationIdentity bound = binding.identity();
    return bound.known() ? bound : saved.remembered_location;
}

void CFieldDoc::set_defaults()
{
    saved = SavedField{};
    db_InitCrop(saved.crop, 1);
    saved.select_system(0);
    saved.planting_date = binding.location ? binding.location->start_date : StoredDate{};
    seasonal_nitrogen = 0.0f;
}

void CFieldDoc::build_day_array()
{
    const CLocationDoc *location = binding.location;
    const int location_days = location ? location->day_count() : 0;
    const double start = location ? location->start_date.serial : 0.0;
    const std::int64_t whole = truncate_to_int(saved.planting_date.serial - start);
    // A planting date past the record leaves no days rather than a negative count.
    const std::int64_t count = std::clamp<std::int64_t>(location_days - whole, 0, kMaxFieldDays);
    binding.day_offset = location_days - static_cast<int>(count);
    if (binding.day_offset < 0)
        messages().inform("Error, Field Data Starts before weather information.  Expect problems!");
    std::vector<FieldDay> &days = season.days;
    days.assign(static_cast<std::size_t>(count), FieldDay{});
    for (int d = 0; d < day_count(); ++d) {
        if (const WeatherDay *weather = location_day(d))
            days[static_cast<std::size_t>(d)].rain = weather->rain;
    }
}

void CFieldDoc::shift_start(int n)
{
    binding.day_offset += n;
    std::vector<FieldDay> &days = season.days;
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
    store_title(std::string(proposed) + " - (Field:" + saved.name + "   Location: " +
                (binding.location ? binding.location->name : std::string()) + ")");
}

std::string CFieldDoc::nutrient_file_name() const
{
    return nutrient_base_for_field(saved.name, saved.planting_date.day()) + ".FRT";
}

std::vector<std::string> CFieldDoc::run_from(int s, const RunSettings &settings)
{
    run_season(season_inputs(settings), season, s);
    return std::move(season.messages);
}

int CFieldDoc::season_run(int s)
{
    RunSettings settings = RunSettings::current();
    if (seasonal_nitrogen == 0.0f)
        read_nutrient_values(*this);
    std::vector<std::string> said = run_from(s, settings);
    // The drift is fitted on the days through the last reading as the run computed them, and
    // taken by every day after it: those days are run again with it.
    const int last_reading = saved.learn_from_readings ? last_reading_day(*this) : -1;
    const float drift = learned_depletion(*this, last_reading, settings);
    if (drift != 0.0f) {
        settings.added_depletion = drift;
        said = run_from(last_reading + 1, settings);
    }
    season.learned_drift = drift;
    for (const std::string &text : said)
        messages().inform(text);
    return season.forecast_made ? 1 : 0;
}

SeasonInputs CFieldDoc::season_inputs(const RunSettings &settings) const
{
    return {saved.crop,
            saved.soil,
            saved.efficiency,
            saved.net_depth_in,
            saved.initial_moisture,
            saved.nitrogen.water_nitrate_ppm,
            saved.nitrogen.soil_nitrogen,
            seasonal_nitrogen,
            binding.weather(),
            binding.day_offset,
            settings,
            binding.forecast()};
}

void CFieldDoc::run_and_update(int s, ViewHint hint)
{
    season_run(s);
    if (binding.location)
        binding.location->update_all_views(ViewHint::location_fields());
    update_all_views(hint);
}

void CFieldDoc::weather_changed(int location_day)
{
    const int d = location_day - binding.day_offset;
    if (d >= 0)
        run_and_update(d, ViewHint::changed_day(d));
    else if (location_day == 0)
        run_and_update(0, ViewHint::changed_day(0));
}

std::vector<std::uint8_t> CFieldDoc::serialize() const
{
    return encode_field_file(saved, season.days, location_to_remember());
}

bool CFieldDoc::deserialize(std::span<const std::uint8_t> bytes)
{
    return decode_field_file(bytes, saved, season.days);
}

SaveOutcome save_field_file(CFieldDoc &field, const std::filesystem::path &path)
{
    return save_document(field, field.serialize(), path,
                         "Unable to save the field file " + path.string());
}

std::unique_ptr<CFieldDoc> new_field(CLocationDoc &location,
                                     const std::function<bool(CFieldDoc &)> &details,
                                     const std::function<void(CFieldDoc &)> &consultation)
{
    auto field = bound_field(location);
    if (!details(*field))
        return nullptr;
    if (consultation)
        consultation(*field);
    derive_harvest_cycles(field->saved.crop, field->season.cycles);
    field->build_day_array();
    field->season_run(0);
    location.update_all_views(ViewHint::location_fields());
    field->set_modified(true);
    return field;
}

std::unique_ptr<CFieldDoc> open_field(CLocationDoc &location, std::span<const std::uint8_t> bytes,
                                      std::string_view title, const LocationSettler &settle)
{
    auto field = bound_field(location);
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

std::unique_ptr<CFieldDoc> open_field(CLocationDoc &location, const std::filesystem::path &path,
                                      const LocationSettler &settle)
{
    std::string error;
    const auto bytes = read_file(path, kMaxFieldFileBytes, &error);
    if (!bytes) {
        messages().inform("Unable to open the field file " + path.string() + ": " + error);
        return nullptr;
    }
    auto field = open_field(location, *bytes, path.filename().string(), settle);
    if (!field)
        return nullptr;
    field->set_path(path);
    field->set_disk_stamp(stamp_of(*bytes));
    return field;
}

} // namespace tw
