#pragma once

#include "location/forecast_days.h"
#include "location/weather_day.h"
#include "location/weather_source.h"
#include "platform/dates.h"
#include "platform/document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// What a location needs of a field bound to it (the field document implements it): to be told
/// that weather changed from a location day on, and whether it has unsaved changes.
class LocationField
{
public:
    virtual void weather_changed(int location_day) = 0;
    virtual bool has_unsaved_changes() const = 0;

protected:
    ~LocationField() = default;
};

/// ET equations a location can use.
enum EtMethod : std::int32_t {
    KimberlyPenman = 0,
    StandardizedPenman = 1,
    JensenHaise = 2,
    Hargreaves = 3,
    EtrDirect = 4,
};

constexpr int kNewLocationDays = 215;
/// The location summary lists at most this many open fields of one location.
constexpr std::size_t kMaxSummaryFields = 15;

/// One weather station's season: its description and its days.
class CLocationDoc : public Document
{
public:
    CLocationDoc();

    // Stored members, in file order.
    std::string name; ///< at most 15 characters
    std::vector<std::string> field_names;
    float elevation = 0.0f; ///< m
    float latitude = 0.0f;  ///< degrees north; 0 = not entered
    std::int32_t et_method = KimberlyPenman;
    StoredDate start_date;
    float pressure = 0.0f; ///< mb
    float anemometer_height = 2.0f;
    float warm_month_tmin = 0.0f;
    float warm_month_tmax = 0.0f;
    float jh_ct = 0.0f;
    float jh_tx = 0.0f;
    std::int32_t reference_type = 2;
    float delta_t = 0.0f;
    float k_zero = 0.0f;
    std::vector<WeatherDay> days;
    // Stored after the days; a file without them has neither.
    WeatherSource source;
    ForecastDays forecast;

    /// The file base name proposed for a new location (not stored).
    std::string base_name;

    int day_count() const { return static_cast<int>(days.size()); }
    /// The day at index i; callers keep 0 <= i < day_count().
    WeatherDay &day(int i) { return days[static_cast<std::size_t>(i)]; }
    const WeatherDay &day(int i) const { return days[static_cast<std::size_t>(i)]; }
    /// The date of day i.
    int date_of(int i) const { return start_date.day() + i; }

    /// Sets `has_data` of every day by the rule of `et_method`, computes the ET of every day, then
    /// tells the fields once, from day 0. The forecast keeps only its days after the last day with
    /// data, and their ET is computed by the same rules.
    void recompute_all();
    /// The ET of day i (nothing for a day without data, then false); unless quiet, tells the
    /// fields that weather changed from day i on.
    bool compute_day(int i, bool quiet);

    /// title + " - (Location: " + name + ")".
    void set_title(std::string_view title) override;

    // Fields bound to this location.
    void attach_field(LocationField *field);
    void detach_field(LocationField *field);
    const std::vector<LocationField *> &fields() const { return fields_; }
    /// The open fields the summary lists (at most kMaxSummaryFields), in the order they opened.
    std::vector<LocationField *> collect_fields() const;
    /// Tells every bound field that weather changed from location day i on.
    bool notify_fields(int i);
    /// Closing is refused (with the message) while a bound field has unsaved changes.
    bool can_close() const;

private:
    void compute_forecast();

    std::vector<LocationField *> fields_;
};

} // namespace tw
