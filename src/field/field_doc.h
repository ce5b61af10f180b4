#pragma once

#include "field/field_day.h"
#include "field/growth_stages.h"
#include "field/remembered_location.h"
#include "field/season.h"
#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/document.h"
#include "refdata/records.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The child window that is active when a field is created or opened: whether there is one, and
/// the document it shows (none, a location, or another kind).
struct ActiveWindow
{
    bool exists = false;
    Document *document = nullptr;
};

/// One irrigated field for one season, bound to the open location whose weather it reads. Field
/// day d is location day d + day_offset.
class CFieldDoc
    : public Document
    , public LocationField
{
public:
    CFieldDoc() = default;
    ~CFieldDoc() override;

    std::string name; ///< names the nutrient file
    std::string second_text;
    CLocationDoc *location = nullptr; ///< outlives the field (it cannot close before it)
    int day_offset = 0;
    float forecast_tmax = 0.0f;
    float forecast_tmin = 0.0f;
    float forecast_etr = 0.0f;
    std::vector<FieldDay> days;
    HarvestTable cycles{};
    float n1 = 0.0f; ///< nitrate-N of the irrigation water, ppm
    float n2 = 0.0f; ///< soil nitrogen available at planting, lbs/acre
    float n3 = 0.0f; ///< 0.1 once n2 was derived from the nutrient file
    float n4 = 0.0f; ///< seasonal nitrogen basis (the nutrient file's yield goal); not saved
    std::int32_t system_index = 0;
    std::string_view system_name; ///< from the table row of system_index
    float efficiency = 0.0f;      ///< application efficiency, percent
    float net_depth_in = 0.0f;    ///< from the table row of system_index
    /// The system's capacity: days it needs to apply one mm to the whole field; 0 when unset.
    float days_per_mm = 0.0f;
    /// "Learn from readings": the days after the last reading take the drift fitted on them.
    bool learn_from_readings = false;
    /// The location the file was saved with; unknown in older files.
    LocationIdentity remembered_location;
    CropRecord crop;
    SoilRecord soil; ///< sm_fc field capacity, sm_pwp wilting point, awhc
    float initial_moisture = 0.3f;
    std::int32_t perennial = 0;
    StoredDate planting_date;
    int last_actual_day = 0;
    int last_forecast_day = 0;
    bool forecast_made = false; ///< the last run had the days to forecast from
    /// The drift the last run added to each day after the last reading, mm a day; not saved.
    float learned_drift = 0.0f;

    // Per-day sums the season run rebuilds before its daily steps.
    std::vector<std::int32_t> cum_n_applied;
    std::vector<std::int32_t> cum_leached;
    std::vector<float> cum_irrigation_in;

    int day_count() const { return static_cast<int>(days.size()); }
    bool has_day(int d) const { return d >= 0 && d < day_count(); }
    /// The date of field day d.
    int date_of(int d) const { return planting_date.day() + d; }
    /// The location day field day d falls on; nothing when it lies outside the location.
    const WeatherDay *location_day(int d) const;

    /// A system chosen from the table: index, name, efficiency and depth from its row.
    void select_system(std::int32_t index);
    /// A system index read from a file: the name and depth follow the row, the efficiency stays.
    void set_system_index(std::int32_t index);

    /// Binds to the active window's location; false after the message when there is none.
    bool bind(const ActiveWindow &active);
    /// The field is closing: the location no longer tells it of weather changes, and its views
    /// (the summary of fields) drop it.
    void unbind();
    /// The values of a new or opening field (bound first: the planting date is the location's
    /// start date).
    void set_defaults();
    /// One empty day per location day from the planting date, with the location's rain.
    void build_day_array();
    /// Moves day 0 by n days: n >= 1 drops days at the front, n < 1 inserts empty ones.
    void shift_start(int n);

    void set_title(std::string_view proposed) override;
    /// The field name, the planting year's two digits and ".FRT".
    std::string nutrient_file_name() const;

    /// The season run from day s with the nutrient file's values read first (when not yet) and
    /// its messages shown after; 1 when a forecast was made.
    int season_run(int s);
    /// What a run of this field reads besides its days.
    SeasonInputs season_inputs(const RunSettings &settings) const;
    /// The field's season moved out for a run, and the run's season moved back in.
    /// One run from day s, the season taken out of the field and put back; what it has to say.
    std::vector<std::string> run_from(int s, const RunSettings &settings);
    FieldSeason take_season();
    void keep_season(FieldSeason &&season);
    /// A season run from s, then the location's views (-3) and the field's (hint).
    void run_and_update(int s, int hint);
    /// After the preferences changed.
    void rerun_all() { run_and_update(0, -1); }

    void weather_changed(int location_day) override;
    bool has_unsaved_changes() const override { return is_modified(); }

    /// What a save stores as the field's location: the bound location once it has a file.
    LocationIdentity location_to_remember() const;

    /// The .fld bytes (field_archive.cpp).
    std::vector<std::uint8_t> serialize() const;
    /// Reads .fld bytes over the defaults; false (nothing shown) when they cannot be read.
    bool deserialize(std::span<const std::uint8_t> bytes);
    /// Replaces the file atomically; false after the message.
    bool save(const std::filesystem::path &path);
};

/// Field day d computed again in place from day d-1 with the field's values and weather.
int daily_step(CFieldDoc &field, int d, const RunSettings &settings);

/// A new field: bound to the active location, defaults, the details dialog (false cancels the
/// creation), the fertility consultation when given, harvest cycles, day array, season run.
std::unique_ptr<CFieldDoc> new_field(const ActiveWindow &active,
                                     const std::function<bool(CFieldDoc &)> &details,
                                     const std::function<void(CFieldDoc &)> &consultation = {});

/// A field read from .fld bytes and bound to the active location, or to the one `settle` gives
/// when the field remembers another (none given keeps the active one); nothing (after the
/// message) when there is no location, the bytes cannot be read, `settle` cancels or the field
/// does not fit the location.
std::unique_ptr<CFieldDoc> open_field(const ActiveWindow &active,
                                      std::span<const std::uint8_t> bytes, std::string_view title,
                                      const LocationSettler &settle = {});
std::unique_ptr<CFieldDoc> open_field(const ActiveWindow &active, const std::filesystem::path &path,
                                      const LocationSettler &settle = {});

} // namespace tw
