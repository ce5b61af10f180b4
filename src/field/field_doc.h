#pragma once

#include "field/location_binding.h"
#include "field/remembered_location.h"
#include "field/saved_field.h"
#include "field/season.h"
#include "location/location_doc.h"
#include "platform/document.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// One irrigated field for one season, bound to an open location whose weather it reads. It is
/// made of what its file holds (`saved`, and the entered columns of the days), what a season run
/// made of them (`season`) and its tie to the location (`binding`).
class CFieldDoc
    : public Document
    , public LocationField
{
public:
    CFieldDoc() = default;
    ~CFieldDoc() override;

    SavedField saved;
    FieldSeason season;
    LocationBinding binding;
    /// The nutrient file's seasonal nitrogen basis (its yield goal), read before a run while it is
    /// 0; not saved.
    float seasonal_nitrogen = 0.0f;

    int day_count() const { return season.day_count(); }
    bool has_day(int d) const { return d >= 0 && d < day_count(); }
    /// The date of field day d.
    int date_of(int d) const { return saved.planting_date.day() + d; }
    /// The location day field day d falls on; nothing when it lies outside the location.
    const WeatherDay *location_day(int d) const { return binding.weather_of(d); }
    /// Whether the last run forecast day d from the location's weather forecast rather than from
    /// the recent means.
    bool on_forecast_weather(int d) const;

    /// Binds the field to `location`, which then tells it of weather changes.
    void bind_to(CLocationDoc &location);
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
    /// One run of the season from day s; what it has to say.
    std::vector<std::string> run_from(int s, const RunSettings &settings);
    /// A season run from s, then the location's summary of fields and the field's views.
    void run_and_update(int s, ViewHint hint);
    /// After the preferences changed.
    void rerun_all() { run_and_update(0, ViewHint::everything()); }

    void weather_changed(int location_day) override;
    bool has_unsaved_changes() const override { return is_modified(); }

    /// What a save stores as the field's location: the bound location once it has a file.
    LocationIdentity location_to_remember() const;

    /// The .fld bytes.
    std::vector<std::uint8_t> serialize() const;
    /// Reads .fld bytes over the defaults; false (nothing shown) when they cannot be read.
    bool deserialize(std::span<const std::uint8_t> bytes);
};

/// Saves the field to `path`, replacing the file atomically; what the user is told when it fails.
SaveOutcome save_field_file(CFieldDoc &field, const std::filesystem::path &path);

/// A new field: bound to `location`, defaults, the details dialog (false cancels the creation),
/// the fertility consultation when given, harvest cycles, day array, season run.
std::unique_ptr<CFieldDoc> new_field(CLocationDoc &location,
                                     const std::function<bool(CFieldDoc &)> &details,
                                     const std::function<void(CFieldDoc &)> &consultation = {});

/// A field read from .fld bytes and bound to `location`, or to the one `settle` gives when the
/// field remembers another (none given keeps `location`); nothing (after the message) when the
/// bytes cannot be read, `settle` cancels or the field does not fit the location.
std::unique_ptr<CFieldDoc> open_field(CLocationDoc &location, std::span<const std::uint8_t> bytes,
                                      std::string_view title, const LocationSettler &settle = {});
std::unique_ptr<CFieldDoc> open_field(CLocationDoc &location, const std::filesystem::path &path,
                                      const LocationSettler &settle = {});

} // namespace tw
