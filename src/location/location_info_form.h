#pragma once

#include "location/weather_source.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// The rules of the location information sheet, without the sheet: its values as the user sees
// them (display units), the reactions to leaving a field or choosing a station, and OK.
namespace tw {

class CLocationDoc;
struct StationRecord;

enum class SheetMode { New, Edit };

constexpr int kMinSeasonDays = 100;
constexpr int kMaxSeasonDays = 365;
/// The name field takes this many characters; the location keeps its first 15.
constexpr std::size_t kTypedNameChars = 20;

/// An ET equation of the sheet's list: its method code and its text.
struct EtChoice
{
    std::int32_t method;
    std::string_view text;
};
/// The equations the running edition offers, in list order (the earlier release had no
/// Standardized Penman).
std::span<const EtChoice> et_choices();

/// The sheet's fields, in display units.
struct LocationInfo
{
    std::string name;
    int start_date = 0; ///< day number
    std::int32_t et_method = 0;
    int season_length = 0;
    float elevation = 0.0f;
    float latitude = 0.0f;
    float pressure = 0.0f;
    float anemometer_height = 0.0f;
    float warm_month_tmin = 0.0f;
    float warm_month_tmax = 0.0f;
    float jh_ct = 0.0f;
    float jh_tx = 0.0f;
    std::int32_t reference_type = 0;
    float delta_t = 0.0f;
    float k_zero = 0.0f;
    WeatherSource source; ///< all of it empty: the location has none
};

class LocationInfoForm
{
public:
    /// Filled from the location (a new location holds its defaults).
    LocationInfoForm(const CLocationDoc &location, SheetMode mode);

    SheetMode mode() const { return mode_; }
    LocationInfo values;
    /// The file base name formed from the name and the start year.
    const std::string &base_name() const { return base_name_; }

    /// The name as the field takes it (at most kTypedNameChars characters).
    void set_name(std::string_view typed);

    /// Copies a station of station.db; a station without pressure or Ct has them derived.
    void choose_station(const StationRecord &station);
    /// Derives the pressure, and Ct and Tx for Jensen-Haise.
    void elevation_left();
    /// Derives Ct and Tx for Jensen-Haise.
    void warm_month_temperature_left();
    /// DeltaT and Kzero are typed only for reference type None.
    bool delta_t_and_k_zero_enabled() const { return values.reference_type == 0; }

    /// The source's columns as one field: a map (it holds '=') or else a preset's name.
    std::string source_columns() const;
    void set_source_columns(std::string_view typed);
    /// Empties every value of the weather source: OK then leaves the location without one.
    void clear_source() { values.source = {}; }

    /// New mode: refuses the name of an open location (emptying it) or a name that cannot be
    /// part of a file name; otherwise forms the base name and tells of a file of that name in
    /// `folder`.
    void name_left(std::span<const std::string> open_location_names,
                   const std::filesystem::path &folder);
    void start_date_left(const std::filesystem::path &folder);
    /// False (after the message) when the start year is not from 1950 to 2049.
    bool form_base_name();

    /// OK: false after the message that keeps the sheet open (a weather source that cannot be used
    /// is one); otherwise the values go into the
    /// location (a new one gets its title and empty days, an edited one its new season length
    /// and a recomputation).
    bool accept(CLocationDoc &location);

private:
    void derive_jensen_haise();

    SheetMode mode_;
    std::string base_name_;
};

} // namespace tw
