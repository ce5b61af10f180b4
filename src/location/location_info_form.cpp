#include "location/location_info_form.h"

#include "location/location_doc.h"
#include "location/location_file.h"
#include "location/reference_et.h"
#include "platform/dates.h"
#include "platform/edition.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_encoding.h"
#include "platform/text_format.h"
#include "refdata/records.h"
#include "refdata/units.h"

#include <algorithm>
#include <array>

namespace tw {
namespace {

// The open-location check compares this much of the typed name.
constexpr std::size_t kComparedNameChars = 12;
constexpr std::size_t kBaseNameChars = 19;
constexpr int kFirstYear = 1950;
constexpr int kLastYear = 2049;

// The station page's numbers: the sheet shows them in the display unit of their Dimension
// (none: as stored).
struct StationValue
{
    float LocationInfo::*shown;
    float CLocationDoc::*stored;
    std::int32_t dimension;
};
constexpr StationValue kStationValues[] = {
    {&LocationInfo::elevation, &CLocationDoc::elevation, Height},
    {&LocationInfo::latitude, &CLocationDoc::latitude, 0},
    {&LocationInfo::pressure, &CLocationDoc::pressure, Pressure},
    {&LocationInfo::anemometer_height, &CLocationDoc::anemometer_height, Height},
    {&LocationInfo::warm_month_tmin, &CLocationDoc::warm_month_tmin, Temperature},
    {&LocationInfo::warm_month_tmax, &CLocationDoc::warm_month_tmax, Temperature},
    {&LocationInfo::jh_ct, &CLocationDoc::jh_ct, Inv_Temperature},
    {&LocationInfo::jh_tx, &CLocationDoc::jh_tx, Temperature},
    {&LocationInfo::delta_t, &CLocationDoc::delta_t, 0},
    {&LocationInfo::k_zero, &CLocationDoc::k_zero, 0},
};

} // namespace

LocationInfoForm::LocationInfoForm(const CLocationDoc &location, SheetMode mode)
    : mode_(mode)
    , base_name_(location.base_name)
{
    LocationInfo &v = values;
    v.name = location.name;
    v.start_date = location.start_date.day();
    v.et_method = location.et_method;
    v.season_length = mode == SheetMode::New ? kNewLocationDays : location.day_count();
    v.reference_type = location.reference_type;
    for (const StationValue &s : kStationValues)
        v.*s.shown = s.dimension ? convert_to(s.dimension, location.*s.stored) : location.*s.stored;
    v.source = location.source;
}

std::string LocationInfoForm::source_columns() const
{
    return values.source.map.empty() ? values.source.preset : values.source.map;
}

void LocationInfoForm::set_source_columns(std::string_view typed)
{
    const std::string text = trimmed(typed);
    const bool is_map = text.find('=') != std::string::npos;
    values.source.map = is_map ? text : std::string();
    values.source.preset = is_map ? std::string() : text;
}

void LocationInfoForm::set_name(std::string_view typed)
{
    values.name = cut_to_chars(typed, kTypedNameChars);
}

void LocationInfoForm::choose_station(const StationRecord &station)
{
    LocationInfo &v = values;
    v.latitude = station.latitude;
    v.elevation = convert_to(Height, station.elevation);
    v.warm_month_tmin = convert_to(Temperature, station.warm_month_tmin);
    v.warm_month_tmax = convert_to(Temperature, station.warm_month_tmax);
    v.anemometer_height = convert_to(Height, station.anemometer_height);
    v.reference_type = station.reference_type;
    v.delta_t = station.delta_t;
    v.k_zero = station.k_zero;
    const float pressure =
        station.pressure != 0.0f ? station.pressure : pressure_from_elevation(station.elevation);
    v.pressure = convert_to(Pressure, pressure);
    JensenHaiseCoefficients jh{station.jh_ct, station.jh_tx};
    if (station.jh_ct == 0.0f)
        jh = jensen_haise_coefficients(station.elevation, station.warm_month_tmin,
                                       station.warm_month_tmax);
    v.jh_ct = convert_to(Inv_Temperature, jh.ct);
    v.jh_tx = convert_to(Temperature, jh.tx);
}

void LocationInfoForm::elevation_left()
{
    values.pressure = displayed_pressure(values.elevation);
    warm_month_temperature_left();
}

void LocationInfoForm::warm_month_temperature_left()
{
    if (values.et_method == JensenHaise)
        derive_jensen_haise();
}

void LocationInfoForm::derive_jensen_haise()
{
    const JensenHaiseCoefficients jh =
        displayed_jensen_haise(values.elevation, values.warm_month_tmin, values.warm_month_tmax);
    values.jh_ct = jh.ct;
    values.jh_tx = jh.tx;
}

void LocationInfoForm::name_left(std::span<const std::string> open_location_names,
                                 const std::filesystem::path &folder)
{
    if (mode_ != SheetMode::New)
        return;
    const std::string compared = cut_to_chars(values.name, kComparedNameChars);
    if (!values.name.empty() && std::find(open_location_names.begin(), open_location_names.end(),
                                          compared) != open_location_names.end()) {
        messages().inform("This Location already exists in memory!");
        values.name.clear();
        return;
    }
    if (const auto reason = unsafe_file_name_reason(values.name, "location")) {
        messages().inform(*reason);
        return;
    }
    if (form_base_name() && file_exists(folder / (base_name_ + ".loc")))
        messages().inform(base_name_ + ".loc" +
                          " Already exists on disk but is not currently loaded");
}

void LocationInfoForm::start_date_left(const std::filesystem::path &folder)
{
    if (form_base_name() && file_exists(folder / (base_name_ + ".LOC")))
        messages().inform(base_name_ + ".LOC" +
                          " already exists on disk but is not in currently loaded");
}

bool LocationInfoForm::form_base_name()
{
    const int year = year_of(values.start_date);
    if (year < kFirstYear || year > kLastYear) {
        messages().inform("Please enter a valid Year");
        return false;
    }
    base_name_ = cut_to_chars(values.name, kBaseNameChars) + std::to_string(year);
    return true;
}

bool LocationInfoForm::accept(CLocationDoc &location)
{
    const LocationInfo &v = values;
    if (v.season_length < kMinSeasonDays || v.season_length > kMaxSeasonDays) {
        messages().inform("Please enter an integer between " + std::to_string(kMinSeasonDays) +
                          " and " + std::to_string(kMaxSeasonDays) + ".");
        return false;
    }
    if (v.latitude == 0.0f) {
        messages().inform("Please click on Station Information tab and enter station data");
        return false;
    }
    if (v.name.empty()) {
        messages().inform("Please enter a location name");
        return false;
    }
    if (v.source != WeatherSource{}) {
        if (const std::string problem = weather_source_problem(v.source); !problem.empty()) {
            messages().inform(problem);
            return false;
        }
    }
    if (mode_ == SheetMode::New) {
        // The name becomes part of the file name, and a new location needs its base name.
        if (const auto reason = unsafe_file_name_reason(v.name, "location")) {
            messages().inform(*reason);
            return false;
        }
        if (!form_base_name())
            return false;
        location.name = cut_to_chars(v.name, kLocationNameChars);
        location.start_date = StoredDate::from_day(v.start_date);
    }
    location.et_method = v.et_method;
    location.reference_type = v.reference_type;
    location.source = v.source;
    for (const StationValue &s : kStationValues)
        location.*s.stored = s.dimension ? convert_from(s.dimension, v.*s.shown) : v.*s.shown;
    location.field_names.clear();
    location.set_modified();
    if (mode_ == SheetMode::New) {
        location.base_name = base_name_;
        location.set_title(base_name_);
        location.days.assign(static_cast<std::size_t>(v.season_length), WeatherDay{});
        return true;
    }
    location.days.resize(static_cast<std::size_t>(v.season_length));
    location.recompute_all();
    location.update_all_views(ViewHint::everything());
    return true;
}

std::span<const EtChoice> et_choices()
{
    static constexpr std::array<EtChoice, 5> all = {{{KimberlyPenman, "Kimberly Penman"},
                                                     {StandardizedPenman, "Standardized Penman"},
                                                     {JensenHaise, "Jensen-Haise"},
                                                     {Hargreaves, "Hargreaves"},
                                                     {EtrDirect, "ETR"}}};
    static constexpr std::array<EtChoice, 4> release1 = {all[0], all[2], all[3], all[4]};
    if (!edition().standardized_penman)
        return release1;
    return all;
}

} // namespace tw
