#include "location/weather_import.h"

#include "location/location_doc.h"
#include "location/reference_et.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "refdata/units.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace tw {
namespace {

// The readers take a line as a 150-byte line buffer does: at most 149 characters, so a longer
// line arrives in pieces, each piece read as a line of its own.
constexpr std::size_t kPieceChars = 149;
// No weather file comes near this; the readers see at most its first bytes.
constexpr std::size_t kMaxImportBytes = std::size_t{64} << 20;

using Line = char[kPieceChars + 1];

class Pieces
{
public:
    explicit Pieces(std::string_view text)
        : text_(text)
    {}

    // The next piece, NUL-terminated; a newline ends its piece and is kept, as the files were
    // read in text mode (a carriage return before a newline is dropped).
    bool next(Line &line)
    {
        if (at_ >= text_.size())
            return false;
        std::size_t n = 0;
        while (n < kPieceChars && at_ < text_.size()) {
            char c = text_[at_++];
            if (c == '\r' && at_ < text_.size() && text_[at_] == '\n')
                c = text_[at_++];
            line[n++] = c;
            if (c == '\n')
                break;
        }
        line[n] = '\0';
        return true;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// What the line formats fill. A line that does not match its format fills only its leading
// fields; the others keep the previous line's values.
struct Fields
{
    int record_type = 0;
    int day_of_year = 0;
    char station[6] = {};
    int year = 0;
    int month = 0;
    int day = 0;
    double t_max = 0.0;
    double t_min = 0.0;
    double rh_max = 0.0;
    double rh_min = 0.0;
    double solar_radiation = 0.0;
    double wind_run = 0.0;
    double rain = 0.0;
    double etr = 0.0;
};

// The numbers are read in double precision so that a value in the file, once converted, is
// stored as the float nearest to it (0.3 in × 25.4 is 7.62 mm, not 7.6200004).
int parse(WeatherFormat format, const char *line, Fields &f)
{
    switch (format) {
    case WeatherFormat::JvuOld:
        return std::sscanf(line, "%d,%d,%*f,%lf,%*d,%lf,%*d,%*f,%lf,%*d,%lf,%*d,%lf,%lf,%lf",
                           &f.record_type, &f.day_of_year, &f.t_max, &f.t_min, &f.rh_max, &f.rh_min,
                           &f.solar_radiation, &f.wind_run, &f.rain);
    case WeatherFormat::JvuNew:
        return std::sscanf(line,
                           "%5s,%d-%d-%d,%*f,%lf,%*d:%*d:%*d,%lf,%*d:%*d:%*d,%*f,%lf,%*d:%*d:%*d,"
                           "%lf,%*d:%*d:%*d,%lf,%lf,%lf",
                           f.station, &f.year, &f.month, &f.day, &f.t_max, &f.t_min, &f.rh_max,
                           &f.rh_min, &f.solar_radiation, &f.wind_run, &f.rain);
    case WeatherFormat::Usda:
    case WeatherFormat::KansasState:
        return std::sscanf(line,
                           "%d,      %d,  %lf,      %lf,      %lf,    %lf,    %lf,    %lf,   %lf, "
                           "  %lf",
                           &f.record_type, &f.day_of_year, &f.t_max, &f.t_min, &f.rh_max, &f.rh_min,
                           &f.solar_radiation, &f.wind_run, &f.rain, &f.etr);
    case WeatherFormat::UsdaNoRh:
        return std::sscanf(line, "%d,      %d,  %lf,      %lf,     %lf,    %lf,   %lf,   %lf",
                           &f.record_type, &f.day_of_year, &f.t_max, &f.t_min, &f.solar_radiation,
                           &f.wind_run, &f.rain, &f.etr);
    }
    return 0;
}

bool is_data_line(WeatherFormat format, const char *line)
{
    switch (format) {
    case WeatherFormat::JvuOld: return std::strncmp(line, "144", 3) == 0;
    case WeatherFormat::Usda:
    case WeatherFormat::UsdaNoRh: return std::strncmp(line, "999", 3) == 0;
    case WeatherFormat::KansasState: return std::strncmp(line, "139", 3) == 0;
    case WeatherFormat::JvuNew: return true;
    }
    return false;
}

// JVU (new) lines carry a date instead of a day of year. A line whose date was not read, or is
// no date, has no day of its own and is not a record (taking the previous line's day would end
// the import at a blank line after 31 December).
bool take_jvu_date(Fields &f, int conversions)
{
    if (conversions < 4 || f.year < 1 || f.year > 9999 || f.month < 1 || f.month > 12 || f.day < 1)
        return false;
    const int first = serial_from_civil(f.year, f.month, 1);
    const int next = f.month == 12 ? serial_from_civil(f.year + 1, 1, 1)
                                   : serial_from_civil(f.year, f.month + 1, 1);
    if (f.day > next - first)
        return false;
    f.day_of_year = day_of_year(first + f.day - 1);
    return true;
}

// Where a record's day of year falls in the season. The first calendar year ends with the
// record of its last day (366 in a leap year); later records count on from there.
class Placement
{
public:
    explicit Placement(const CLocationDoc &location)
        : start_(day_of_year(location.start_date.day()))
        , first_year_length_(days_in_year(year_of(location.start_date.day())))
        , day_count_(location.day_count())
    {}

    enum class Action { Skip, Stop, Store };
    struct Result
    {
        Action action;
        int index;
    };

    Result place(int doy)
    {
        if (doy < 1 || doy > 366 || (first_year_ && (doy < start_ || doy > first_year_length_)))
            return {Action::Skip, 0};
        const std::int64_t index =
            std::int64_t{doy} - start_ + (first_year_ ? 0 : first_year_length_);
        if (index >= day_count_)
            return {Action::Stop, 0};
        if (first_year_ && doy == first_year_length_)
            first_year_ = false;
        return {Action::Store, static_cast<int>(index)};
    }

private:
    int start_;
    int first_year_length_;
    int day_count_;
    bool first_year_ = true;
};

// The record's values in internal units, before the range checks.
struct Values
{
    float t_max = 0.0f;
    float t_min = 0.0f;
    float rh_max = 0.0f;
    float rh_min = 0.0f;
    float solar_radiation = 0.0f;
    float wind_run = 0.0f;
    float rain = 0.0f;
    float etr = 0.0f;
};

float percent(double value)
{
    return value != 0.0 ? to_float(value / 100.0) : 0.0f;
}

Values convert(WeatherFormat format, const Fields &f)
{
    Values v;
    switch (format) {
    case WeatherFormat::JvuOld:
    case WeatherFormat::JvuNew:
        v = {to_float(f.t_max),
             to_float(f.t_min),
             to_float(f.rh_max),
             to_float(f.rh_min),
             to_float(f.solar_radiation * 23.892),
             to_float(f.wind_run),
             to_float(f.rain),
             0.0f};
        break;
    case WeatherFormat::Usda:
    case WeatherFormat::UsdaNoRh: {
        const auto from = [](Dimension d, double x) { return convert_from(d, to_float(x)); };
        const bool humidity = format == WeatherFormat::Usda;
        v = {from(Temperature, f.t_max),
             from(Temperature, f.t_min),
             humidity ? percent(f.rh_max) : 0.0f,
             humidity ? percent(f.rh_min) : 0.0f,
             from(Radiation, f.solar_radiation),
             from(Wind_Speed, f.wind_run),
             from(Depth, f.rain),
             from(Depth, f.etr)};
        break;
    }
    case WeatherFormat::KansasState:
        v = {to_float((f.t_max - 32.0) / 1.8),
             to_float((f.t_min - 32.0) / 1.8),
             percent(f.rh_max),
             percent(f.rh_min),
             to_float(f.solar_radiation),
             to_float(f.wind_run * 1.60937),
             to_float(f.rain * 25.4),
             to_float(f.etr * 25.4)};
        break;
    }
    return v;
}

struct Bounds
{
    float low;
    float high;
};

struct RangeRules
{
    bool humidity;
    Bounds t_max;
    Bounds t_min;
    const char *solar_message;
};

RangeRules range_rules(WeatherFormat format)
{
    static constexpr const char *kJvuSolar =
        "Out of range value for solar radiation in import file. Please check Data: Day of Year=";
    static constexpr const char *kLangleySolar = "Out of range value for solar radiation "
                                                 "(Langleys) in import file. Please check Data: "
                                                 "Day of Year=";
    switch (format) {
    case WeatherFormat::JvuOld:
    case WeatherFormat::JvuNew: return {true, {-40.0f, 60.0f}, {-50.0f, 50.0f}, kJvuSolar};
    case WeatherFormat::Usda: return {true, {-50.0f, 70.0f}, {-40.0f, 60.0f}, kLangleySolar};
    case WeatherFormat::UsdaNoRh:
    case WeatherFormat::KansasState:
        return {false, {-50.0f, 70.0f}, {-40.0f, 60.0f}, kLangleySolar};
    }
    return {};
}

// A value outside its bounds (or not a number at all) is reported and becomes 0.
void check(float &value, Bounds bounds, const char *message, int doy)
{
    if (value >= bounds.low && value <= bounds.high)
        return;
    messages().inform(message + std::to_string(doy));
    value = 0.0f;
}

float finite_or_zero(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

void check_ranges(WeatherFormat format, Values &v, int doy)
{
    const RangeRules rules = range_rules(format);
    if (rules.humidity) {
        check(v.rh_max, {0.0f, 2.0f},
              "Out of range value for maximum relative humidity in import file. Please check "
              "Data: Day of Year=",
              doy);
        if (v.rh_max >= 1.0f)
            v.rh_max = 1.0f;
        check(v.rh_min, {0.0f, 1.0f},
              "Out of range value for minimum relative humidity in import file. Please check "
              "Data: Day of Year=",
              doy);
    }
    check(v.t_max, rules.t_max,
          "Out of range value for maximum temperature in import file. Please check Data: Day of "
          "Year=",
          doy);
    check(v.t_min, rules.t_min,
          "Out of range value for minimum temperature in import file. Please check Data: Day of "
          "Year=",
          doy);
    check(v.solar_radiation, {20.0f, 850.0f}, rules.solar_message, doy);
    check(v.wind_run, {10.0f, 1000.0f},
          "Out of range value for wind run value in import file.  Please check Data: Day of Year=",
          doy);
}

void store(WeatherFormat format, const Values &v, WeatherDay &day)
{
    day.t_min = v.t_min;
    day.t_max = v.t_max;
    day.rh_min = finite_or_zero(v.rh_min);
    day.rh_max = finite_or_zero(v.rh_max);
    day.solar_radiation = v.solar_radiation;
    day.wind_run = v.wind_run;
    day.rain = finite_or_zero(v.rain);
    if (format != WeatherFormat::JvuOld && format != WeatherFormat::JvuNew)
        day.alternate_etr = finite_or_zero(v.etr);
    day.has_data = 1;
}

} // namespace

int import_weather_text(CLocationDoc &location, WeatherFormat format, std::string_view text)
{
    Pieces pieces(text);
    Fields fields;
    Placement placement(location);
    Line line;
    int filled = 0;
    if (format == WeatherFormat::JvuOld)
        pieces.next(line); // a heading
    while (pieces.next(line)) {
        if (!is_data_line(format, line))
            continue;
        const int conversions = parse(format, line, fields);
        if (format == WeatherFormat::JvuNew && !take_jvu_date(fields, conversions))
            continue;
        const auto [action, index] = placement.place(fields.day_of_year);
        if (action == Placement::Action::Stop)
            break;
        if (action == Placement::Action::Skip || location.day(index).has_data != 0)
            continue;
        Values values = convert(format, fields);
        check_ranges(format, values, fields.day_of_year);
        store(format, values, location.day(index));
        ++filled;
    }
    if (filled > 0) {
        location.recompute_all();
        location.set_modified();
    }
    return filled;
}

int import_weather(CLocationDoc &location, WeatherFormat format, const std::filesystem::path &file)
{
    const auto bytes = read_file(file, kMaxImportBytes);
    if (!bytes) {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(file, ec);
        messages().inform((ec ? file : full).string() + " File Not Found For Weather Importing!!");
        return -1;
    }
    const std::string_view text(reinterpret_cast<const char *>(bytes->data()), bytes->size());
    const int filled = import_weather_text(location, format, text);
    // A filled day has told the fields already (through the recomputation).
    if (filled == 0)
        location.notify_fields(0);
    return filled;
}

} // namespace tw
