#include "location/csv_weather.h"

#include "location/location_doc.h"
#include "location/reference_et.h"
#include "location/weather_import.h"
#include "location/weather_records.h"
#include "platform/csv.h"
#include "platform/dates.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tw {
namespace {

constexpr std::string_view kTemperatureUnits[] = {"C", "F"};
constexpr std::string_view kHumidityUnits[] = {"fraction", "percent"};
constexpr std::string_view kSolarUnits[] = {"W/m2", "MJ/m2", "langley"};
constexpr std::string_view kWindUnits[] = {"km/day", "mi/day", "m/s"};
constexpr std::string_view kDepthUnits[] = {"mm", "in"};

// The preferences' unit codes of the units above, in the same order.
constexpr std::int32_t kTemperatureCodes[] = {0, 1};
constexpr std::int32_t kSolarCodes[] = {6, 0, 2};
constexpr std::int32_t kWindCodes[] = {1, 0, 4};
constexpr std::int32_t kDepthCodes[] = {0, 1};

using Q = CsvQuantity;

constexpr std::array<CsvQuantityInfo, kCsvQuantities> kQuantities = {{
    {Q::Date, "date", "Date", {}},
    {Q::Year, "year", "Year", {}},
    {Q::DayOfYear, "doy", "Day of Year", {}},
    {Q::TMax, "t_max", "Maximum Temperature", kTemperatureUnits},
    {Q::TMin, "t_min", "Minimum Temperature", kTemperatureUnits},
    {Q::RhMax, "rh_max", "Maximum Relative Humidity", kHumidityUnits},
    {Q::RhMin, "rh_min", "Minimum Relative Humidity", kHumidityUnits},
    {Q::Solar, "solar", "Solar Radiation", kSolarUnits},
    {Q::Wind, "wind", "Wind", kWindUnits},
    {Q::Rain, "rain", "Rain", kDepthUnits},
    {Q::Etr, "etr", "Reference ET", kDepthUnits},
}};

bool same_text(std::string_view a, std::string_view b)
{
    return to_upper_ascii(a) == to_upper_ascii(b);
}

const CsvQuantityInfo *quantity_keyed(std::string_view key)
{
    for (const CsvQuantityInfo &info : kQuantities) {
        if (info.key == key)
            return &info;
    }
    return nullptr;
}

std::string unit_list(const CsvQuantityInfo &info)
{
    std::string list;
    for (const std::string_view unit : info.units)
        list += (list.empty() ? "" : ", ") + std::string(unit);
    return list;
}

std::string key_list()
{
    std::string list;
    for (const CsvQuantityInfo &info : kQuantities)
        list += (list.empty() ? "" : ", ") + std::string(info.key);
    return list;
}

// "COL[unit]" into the column and unit of a quantity; the problem when it does not fit.
std::string take_column(const CsvQuantityInfo &info, std::string_view text, CsvColumn &out)
{
    std::string column = trimmed(text);
    if (!info.units.empty()) {
        const std::size_t open = column.rfind('[');
        if (column.empty() || column.back() != ']' || open == std::string::npos)
            return std::string(info.key) + "=COL needs its unit in brackets: one of " +
                   unit_list(info) + ".";
        const std::string unit = column.substr(open + 1, column.size() - open - 2);
        const auto found = std::find_if(info.units.begin(), info.units.end(),
                                        [&](std::string_view u) { return same_text(u, unit); });
        if (found == info.units.end())
            return "The unit \"" + unit + "\" of " + std::string(info.key) + " is not one of " +
                   unit_list(info) + ".";
        out.unit = static_cast<std::size_t>(found - info.units.begin());
        column = trimmed(column.substr(0, open));
    }
    if (column.empty())
        return std::string(info.key) + " names no column.";
    out.column = column;
    return {};
}

std::optional<int> whole_number(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A date written as "7/1/2022".
std::optional<int> us_date(std::string_view text)
{
    int parts[3] = {};
    for (int &part : parts) {
        const std::size_t slash = text.find('/');
        const auto number = whole_number(text.substr(0, slash));
        if (!number)
            return std::nullopt;
        part = *number;
        text = slash == std::string_view::npos ? std::string_view{} : text.substr(slash + 1);
        if (&part != &parts[2] && slash == std::string_view::npos)
            return std::nullopt;
    }
    const auto [month, day, year] = parts;
    if (year < 1000 || year > 9999 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const int first = serial_from_civil(year, month, 1);
    const int next =
        month == 12 ? serial_from_civil(year + 1, 1, 1) : serial_from_civil(year, month + 1, 1);
    if (day > next - first)
        return std::nullopt;
    return first + day - 1;
}

// ISO dates may carry a time after them, as exports of hourly databases do.
std::optional<int> date_cell(std::string_view text)
{
    if (text.size() > 10 && (text[10] == ' ' || text[10] == 'T'))
        text = text.substr(0, 10);
    if (const auto iso = parse_iso_date(text))
        return iso;
    return us_date(text);
}

std::optional<double> number_cell(std::string_view text)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The value of a quantity's cell in internal units. The numbers are read in double precision and
// converted as the day entry converts a typed value, so a file and the dialog agree.
float internal_value(CsvQuantity q, std::size_t unit, double value)
{
    const auto through = [&](std::int32_t dimension, std::span<const std::int32_t> codes) {
        return convert_from_unit(dimension, codes[unit], to_float(value)).value_or(0.0f);
    };
    switch (q) {
    case Q::TMax:
    case Q::TMin: return through(Temperature, kTemperatureCodes);
    case Q::RhMax:
    case Q::RhMin: return to_float(unit == 0 ? value : value / 100.0);
    case Q::Solar: return through(Radiation, kSolarCodes);
    case Q::Wind: return through(Wind_Speed, kWindCodes);
    case Q::Rain:
    case Q::Etr: return through(Depth, kDepthCodes);
    default: return 0.0f;
    }
}

struct Target
{
    float WeatherValues::*member;
    unsigned checked;
};

Target target_of(CsvQuantity q)
{
    switch (q) {
    case Q::TMax: return {&WeatherValues::t_max, kCheckTMax};
    case Q::TMin: return {&WeatherValues::t_min, kCheckTMin};
    case Q::RhMax: return {&WeatherValues::rh_max, kCheckHumidity};
    case Q::RhMin: return {&WeatherValues::rh_min, kCheckHumidity};
    case Q::Solar: return {&WeatherValues::solar_radiation, kCheckSolar};
    case Q::Wind: return {&WeatherValues::wind_run, kCheckWind};
    case Q::Rain: return {&WeatherValues::rain, 0};
    case Q::Etr: return {&WeatherValues::etr, 0};
    default: return {nullptr, 0};
    }
}

std::string_view without_bom(std::string_view text)
{
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    return text.starts_with(kBom) ? text.substr(kBom.size()) : text;
}

bool is_blank(std::string_view line)
{
    return trimmed(line).empty();
}

// A line whose quotes do not close holds no fields: as a data line its date is unreadable, so it is
// skipped like any other line without a date.
std::vector<std::string> fields_of(std::string_view line)
{
    return split_csv_line(line).value_or(std::vector<std::string>{});
}

// The header line first, then the data lines; blank lines are no lines.
std::vector<std::string_view> content_lines(std::string_view text)
{
    std::vector<std::string_view> lines = text_lines(without_bom(text));
    std::erase_if(lines, is_blank);
    return lines;
}

// The header field of each mapped quantity (-1 when unmapped); nothing after the message naming a
// column the header lacks.
using ColumnIndexes = std::array<int, kCsvQuantities>;

std::optional<int> find_column(const std::vector<std::string> &header, const std::string &column)
{
    for (const bool exact : {true, false}) {
        for (std::size_t i = 0; i < header.size(); ++i) {
            const std::string name = trimmed(header[i]);
            if (exact ? name == column : same_text(name, column))
                return static_cast<int>(i);
        }
    }
    const auto number = whole_number(column);
    if (number && *number >= 1 && static_cast<std::size_t>(*number) <= header.size())
        return *number - 1;
    return std::nullopt;
}

std::optional<ColumnIndexes> resolve(const CsvWeatherMap &map,
                                     const std::vector<std::string> &header)
{
    ColumnIndexes indexes;
    indexes.fill(-1);
    for (const CsvQuantityInfo &info : kQuantities) {
        const std::string &column = map[info.quantity].column;
        if (column.empty())
            continue;
        const auto found = find_column(header, column);
        if (!found) {
            messages().inform("The weather file has no column \"" + column + "\" for " +
                              std::string(info.key) + ".");
            return std::nullopt;
        }
        indexes[static_cast<std::size_t>(info.quantity)] = *found;
    }
    return indexes;
}

class CsvRecord
{
public:
    CsvRecord(const ColumnIndexes &indexes, std::vector<std::string> fields)
        : indexes_(indexes)
        , fields_(std::move(fields))
    {}

    /// The cell of a quantity, trimmed; empty when unmapped or beyond the line.
    std::string cell(CsvQuantity q) const
    {
        const int i = indexes_[static_cast<std::size_t>(q)];
        if (i < 0 || static_cast<std::size_t>(i) >= fields_.size())
            return {};
        return trimmed(fields_[static_cast<std::size_t>(i)]);
    }

    /// The record's day of year; nothing when its date cannot be read.
    std::optional<int> day_of_year_of() const
    {
        if (indexes_[static_cast<std::size_t>(Q::Date)] >= 0) {
            const auto date = date_cell(cell(Q::Date));
            return date ? std::optional<int>(day_of_year(*date)) : std::nullopt;
        }
        const auto year = whole_number(cell(Q::Year));
        const auto doy = whole_number(cell(Q::DayOfYear));
        if (!year || !doy || *year < 1 || *year > 9999 || *doy < 1 || *doy > days_in_year(*year))
            return std::nullopt;
        return doy;
    }

private:
    const ColumnIndexes &indexes_;
    std::vector<std::string> fields_;
};

// The record's values; `present` gets the checks of the values the record holds and `with_etr`
// whether it holds an ETr.
WeatherValues values_of(const CsvWeatherMap &map, const CsvRecord &record, unsigned &present,
                        bool &with_etr)
{
    WeatherValues values;
    present = 0;
    with_etr = false;
    for (const CsvQuantityInfo &info : kQuantities) {
        const Target target = target_of(info.quantity);
        if (!target.member)
            continue;
        const auto number = number_cell(record.cell(info.quantity));
        if (!number)
            continue;
        values.*target.member = internal_value(info.quantity, map[info.quantity].unit, *number);
        present |= target.checked;
        with_etr = with_etr || info.quantity == Q::Etr;
    }
    return values;
}

} // namespace

std::span<const CsvQuantityInfo, kCsvQuantities> csv_quantities()
{
    return kQuantities;
}

const CsvQuantityInfo &csv_quantity(CsvQuantity quantity)
{
    return kQuantities[static_cast<std::size_t>(quantity)];
}

CsvMapParse parse_csv_weather_map(std::string_view text)
{
    CsvWeatherMap map;
    const auto entries = split_csv_line(text);
    if (!entries)
        return {std::nullopt, "A quoted column name in the map is not closed."};
    for (const std::string &entry : *entries) {
        if (is_blank(entry))
            continue;
        const std::size_t eq = entry.find('=');
        const std::string key = trimmed(std::string_view(entry).substr(0, eq));
        const CsvQuantityInfo *info = quantity_keyed(key);
        if (eq == std::string::npos || !info)
            return {std::nullopt,
                    "\"" + entry + "\" names no quantity; the map takes " + key_list() + "."};
        if (!map[info->quantity].column.empty())
            return {std::nullopt, key + " is named twice in the map."};
        std::string problem =
            take_column(*info, std::string_view(entry).substr(eq + 1), map[info->quantity]);
        if (!problem.empty())
            return {std::nullopt, std::move(problem)};
    }
    if (std::string problem = csv_map_problem(map); !problem.empty())
        return {std::nullopt, std::move(problem)};
    return {map, {}};
}

std::string csv_weather_map_text(const CsvWeatherMap &map)
{
    std::string text;
    for (const CsvQuantityInfo &info : kQuantities) {
        const CsvColumn &c = map[info.quantity];
        if (c.column.empty())
            continue;
        std::string entry = std::string(info.key) + "=" + c.column;
        if (!info.units.empty())
            entry += "[" + std::string(info.units[std::min(c.unit, info.units.size() - 1)]) + "]";
        // A column name with a comma or quote is quoted, as the map is read as one CSV line.
        if (entry.find_first_of(",\"") != std::string::npos) {
            std::string quoted = "\"";
            for (const char ch : entry)
                quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            entry = quoted + "\"";
        }
        text += (text.empty() ? "" : ",") + entry;
    }
    return text;
}

std::string csv_map_problem(const CsvWeatherMap &map)
{
    const bool date = !map[Q::Date].column.empty();
    const bool year = !map[Q::Year].column.empty();
    const bool doy = !map[Q::DayOfYear].column.empty();
    if (date ? !year && !doy : year && doy)
        return {};
    return "The map needs date=COL, or year=COL and doy=COL.";
}

CsvPreview csv_preview(std::string_view text, std::size_t rows)
{
    CsvPreview preview;
    const std::vector<std::string_view> lines = content_lines(text);
    if (lines.empty())
        return preview;
    preview.header = fields_of(lines[0]);
    for (std::size_t i = 1; i < lines.size() && preview.rows.size() < rows; ++i)
        preview.rows.push_back(fields_of(lines[i]));
    return preview;
}

int import_csv_weather_text(CLocationDoc &location, const CsvWeatherMap &map, std::string_view text)
{
    if (const std::string problem = csv_map_problem(map); !problem.empty()) {
        messages().inform(problem);
        return -1;
    }
    const std::vector<std::string_view> lines = content_lines(text);
    const auto indexes =
        resolve(map, lines.empty() ? std::vector<std::string>{} : fields_of(lines[0]));
    if (!indexes)
        return -1;
    DayPlacement placement(location);
    int filled = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const CsvRecord record(*indexes, fields_of(lines[i]));
        const auto doy = record.day_of_year_of();
        if (!doy)
            continue;
        const auto [action, index] = placement.place(*doy);
        if (action == DayPlacement::Action::Stop)
            break;
        if (action == DayPlacement::Action::Skip || location.day(index).has_data != 0)
            continue;
        unsigned present = 0;
        bool with_etr = false;
        WeatherValues values = values_of(map, record, present, with_etr);
        check_ranges(langley_range_rules(), present, values, *doy);
        store_values(values, with_etr, location.day(index));
        ++filled;
    }
    finish_import(location, filled);
    return filled;
}

int import_csv_weather(CLocationDoc &location, const CsvWeatherMap &map,
                       const std::filesystem::path &file)
{
    return import_weather_file(location, file, [&](std::string_view text) {
        return import_csv_weather_text(location, map, text);
    });
}

} // namespace tw
