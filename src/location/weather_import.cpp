#include "location/weather_import.h"

#include "location/location_doc.h"
#include "location/reference_et.h"
#include "location/weather_records.h"
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

float percent(double value)
{
    return value != 0.0 ? to_float(value / 100.0) : 0.0f;
}

WeatherValues convert(WeatherFormat format, const Fields &f)
{
    WeatherValues v;
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

// Kansas State files carry humidity the readers never check.
unsigned checked_values(WeatherFormat format)
{
    const bool humidity = format != WeatherFormat::UsdaNoRh && format != WeatherFormat::KansasState;
    return humidity ? kCheckAll : kCheckAll & ~kCheckHumidity;
}

RangeRules range_rules(WeatherFormat format)
{
    if (format == WeatherFormat::JvuOld || format == WeatherFormat::JvuNew)
        return {{-40.0f, 60.0f},
                {-50.0f, 50.0f},
                "Out of range value for solar radiation in import file. Please check Data: Day of "
                "Year="};
    return langley_range_rules();
}

} // namespace

int import_weather_text(CLocationDoc &location, WeatherFormat format, std::string_view text)
{
    Pieces pieces(text);
    Fields fields;
    DayPlacement placement(location);
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
        if (action == DayPlacement::Action::Stop)
            break;
        if (action == DayPlacement::Action::Skip || location.day(index).has_data != 0)
            continue;
        WeatherValues values = convert(format, fields);
        check_ranges(range_rules(format), checked_values(format), values, fields.day_of_year);
        store_values(values, format != WeatherFormat::JvuOld && format != WeatherFormat::JvuNew,
                     location.day(index));
        ++filled;
    }
    finish_import(location, filled);
    return filled;
}

std::optional<std::string> read_weather_text(const std::filesystem::path &file)
{
    const auto bytes = read_file(file, kMaxImportBytes);
    if (!bytes) {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(file, ec);
        messages().inform((ec ? file : full).string() + " File Not Found For Weather Importing!!");
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

int import_weather_file(CLocationDoc &location, const std::filesystem::path &file,
                        const std::function<int(std::string_view)> &reader)
{
    const auto text = read_weather_text(file);
    if (!text)
        return -1;
    const int filled = reader(*text);
    // A filled day has told the fields already (through the recomputation).
    if (filled == 0)
        location.notify_fields(0);
    return filled;
}

int import_weather(CLocationDoc &location, WeatherFormat format, const std::filesystem::path &file)
{
    return import_weather_file(location, file, [&](std::string_view text) {
        return import_weather_text(location, format, text);
    });
}

} // namespace tw
