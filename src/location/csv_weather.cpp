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
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace tw {
namespace {

constexpr std::string_view kTemperatureUnits[] = {"C", "F"};
constexpr std::string_view kHumidityUnits[] = {"fraction", "percent"};
constexpr std::string_view kSolarUnits[] = {"W/m2", "MJ/m2", "langley"};
// Wind as the day's run, or as its mean speed; saved maps name the first three by their place.
constexpr std::string_view kWindUnits[] = {"km/day", "mi/day", "m/s", "mph", "km/h"};
constexpr std::string_view kDepthUnits[] = {"mm", "in"};

// How a unit reaches the internal one: the preferences' unit code of a Dimension it goes
// through, after multiplying by a factor (a mean speed per hour times 24 is the day's run).
struct UnitPath
{
    std::int32_t code;
    double factor;
};
constexpr UnitPath kTemperaturePaths[] = {{0, 1.0}, {1, 1.0}};
constexpr UnitPath kSolarPaths[] = {{6, 1.0}, {0, 1.0}, {2, 1.0}};
constexpr UnitPath kWindPaths[] = {{1, 1.0}, {0, 1.0}, {4, 1.0}, {0, 24.0}, {1, 24.0}};
constexpr UnitPath kDepthPaths[] = {{0, 1.0}, {1, 1.0}};

using Q = CsvQuantity;

constexpr std::array<CsvQuantityInfo, kCsvQuantities> kQuantities = {{
    {Q::Date, "date", "Date", {}},
    {Q::Year, "year", "Year", {}},
    {Q::Month, "month", "Month", {}},
    {Q::Day, "day", "Day of Month", {}},
    {Q::DayOfYear, "doy", "Day of Year", {}},
    {Q::TMax, "t_max", "Maximum Temperature", kTemperatureUnits},
    {Q::TMin, "t_min", "Minimum Temperature", kTemperatureUnits},
    {Q::RhMax, "rh_max", "Maximum Relative Humidity", kHumidityUnits},
    {Q::RhMin, "rh_min", "Minimum Relative Humidity", kHumidityUnits},
    {Q::DewPoint, "dewpoint", "Dew Point", kTemperatureUnits},
    {Q::Solar, "solar", "Solar Radiation", kSolarUnits},
    {Q::Wind, "wind", "Wind", kWindUnits},
    {Q::Rain, "rain", "Rain", kDepthUnits},
    {Q::Etr, "etr", "Reference ET", kDepthUnits},
}};

constexpr CsvQuantity kStored[] = {Q::TMax,  Q::TMin, Q::RhMax, Q::RhMin,
                                   Q::Solar, Q::Wind, Q::Rain,  Q::Etr};

// Values of the file past these are out of range, as the line formats check them; rain and ETr,
// which those never check, are bounded by what a day can physically hold (no station has recorded
// 1000 mm of rain in a day, and the highest radiation accepted, 850 ly, evaporates about 14.5 mm).
constexpr Bounds kRainBounds = {0.0f, 1000.0f};
constexpr Bounds kEtrBounds = {0.0f, 30.0f};
constexpr std::size_t kListedOutOfRange = 5;

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

std::optional<int> civil_date(int year, int month, int day)
{
    if (year < 1000 || year > 9999 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const int first = serial_from_civil(year, month, 1);
    const int next =
        month == 12 ? serial_from_civil(year + 1, 1, 1) : serial_from_civil(year, month + 1, 1);
    if (day > next - first)
        return std::nullopt;
    return first + day - 1;
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
    return civil_date(year, month, day);
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

// A cell holds a number only when it is one a day's value can be stored as: "M", "NaN", "inf" and
// 1e39 (past the largest float) hold none.
std::optional<double> number_cell(std::string_view text)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::abs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return value;
}

// The value of a quantity's cell in internal units. The numbers are read in double precision and
// converted as the day entry converts a typed value, so a file and the dialog agree.
float internal_value(CsvQuantity q, std::size_t unit, double value)
{
    const auto through = [&](std::int32_t dimension, std::span<const UnitPath> paths) {
        const UnitPath &path = paths[std::min(unit, paths.size() - 1)];
        return convert_from_unit(dimension, path.code, to_float(value * path.factor))
            .value_or(0.0f);
    };
    switch (q) {
    case Q::TMax:
    case Q::TMin:
    case Q::DewPoint: return through(Temperature, kTemperaturePaths);
    case Q::RhMax:
    case Q::RhMin: return to_float(unit == 0 ? value : value / 100.0);
    case Q::Solar: return through(Radiation, kSolarPaths);
    case Q::Wind: return through(Wind_Speed, kWindPaths);
    case Q::Rain:
    case Q::Etr: return through(Depth, kDepthPaths);
    default: return 0.0f;
    }
}

float *member_of(WeatherValues &v, CsvQuantity q)
{
    switch (q) {
    case Q::TMax: return &v.t_max;
    case Q::TMin: return &v.t_min;
    case Q::RhMax: return &v.rh_max;
    case Q::RhMin: return &v.rh_min;
    case Q::Solar: return &v.solar_radiation;
    case Q::Wind: return &v.wind_run;
    case Q::Rain: return &v.rain;
    case Q::Etr: return &v.etr;
    default: return nullptr;
    }
}

// The bounds of the readers that take a file in chosen units; the dew point is bounded as the
// minimum temperature, which it cannot exceed by much.
std::optional<Bounds> bounds_of(CsvQuantity q)
{
    const RangeRules rules = langley_range_rules();
    switch (q) {
    case Q::TMax: return rules.t_max;
    case Q::TMin:
    case Q::DewPoint: return rules.t_min;
    case Q::RhMax: return Bounds{0.0f, 2.0f};
    case Q::RhMin: return Bounds{0.0f, 1.0f};
    case Q::Solar: return Bounds{20.0f, 850.0f};
    case Q::Wind: return Bounds{10.0f, 1000.0f};
    case Q::Rain: return kRainBounds;
    case Q::Etr: return kEtrBounds;
    default: return std::nullopt;
    }
}

bool within(float value, Bounds bounds)
{
    return value >= bounds.low && value <= bounds.high;
}

// FAO-56 Eq. 14 and 17: the actual vapour pressure is e°(Tdew); at the day's minimum temperature
// the air is at its most humid, at its maximum at its driest. Air holds no more than saturation.
void derive_humidity(CsvLine &line)
{
    if (!line.has(Q::TMax) || !line.has(Q::TMin))
        return;
    const double ea = es_kpa(line.number(Q::DewPoint));
    const auto set = [&](CsvQuantity q, float t) {
        line.numbers[static_cast<std::size_t>(q)] = to_float(std::min(1.0, ea / es_kpa(t)));
        line.cells[static_cast<std::size_t>(q)] = CsvCell::Value;
    };
    set(Q::RhMax, line.number(Q::TMin));
    set(Q::RhMin, line.number(Q::TMax));
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

std::string plural(int n, std::string_view one, std::string_view many)
{
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string lower_caption(CsvQuantity q)
{
    std::string text(csv_quantity(q).caption);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
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

bool csv_maps(const CsvWeatherMap &map, CsvQuantity q)
{
    return !map[q].column.empty();
}

std::string csv_map_problem(const CsvWeatherMap &map)
{
    const bool year = csv_maps(map, Q::Year);
    const bool doy = csv_maps(map, Q::DayOfYear);
    const bool month = csv_maps(map, Q::Month);
    const bool day = csv_maps(map, Q::Day);
    const bool dated = csv_maps(map, Q::Date) ? !year && !doy && !month && !day
                                              : year && (doy ? !month && !day : month && day);
    if (!dated)
        return "The map needs date=COL, or year=COL and doy=COL, or year=COL, month=COL and "
               "day=COL.";
    if (csv_maps(map, Q::DewPoint) && (csv_maps(map, Q::RhMax) || csv_maps(map, Q::RhMin)))
        return "The map takes the humidity from the dew point or from rh_max and rh_min, not "
               "both.";
    return {};
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

std::optional<CsvLineReader> CsvLineReader::make(const CsvWeatherMap &map,
                                                 const std::vector<std::string> &header,
                                                 std::string &problem)
{
    std::array<int, kCsvQuantities> columns;
    columns.fill(-1);
    for (const CsvQuantityInfo &info : kQuantities) {
        const std::string &column = map[info.quantity].column;
        if (column.empty())
            continue;
        const auto found = find_column(header, column);
        if (!found) {
            problem = "The weather file has no column \"" + column + "\" for " +
                      std::string(info.key) + ".";
            return std::nullopt;
        }
        columns[static_cast<std::size_t>(info.quantity)] = *found;
    }
    return CsvLineReader(map, columns);
}

std::string CsvLineReader::cell_text(const std::vector<std::string> &fields, CsvQuantity q) const
{
    const int i = columns_[static_cast<std::size_t>(q)];
    if (i < 0 || static_cast<std::size_t>(i) >= fields.size())
        return {};
    return trimmed(fields[static_cast<std::size_t>(i)]);
}

std::optional<int> CsvLineReader::date_of(const std::vector<std::string> &fields) const
{
    if (csv_maps(map_, Q::Date))
        return date_cell(cell_text(fields, Q::Date));
    const auto year = whole_number(cell_text(fields, Q::Year));
    if (!year)
        return std::nullopt;
    if (csv_maps(map_, Q::DayOfYear)) {
        const auto doy = whole_number(cell_text(fields, Q::DayOfYear));
        const auto first = civil_date(*year, 1, 1);
        if (!doy || !first || *doy < 1 || *doy > days_in_year(*year))
            return std::nullopt;
        return *first + *doy - 1;
    }
    const auto month = whole_number(cell_text(fields, Q::Month));
    const auto day = whole_number(cell_text(fields, Q::Day));
    return month && day ? civil_date(*year, *month, *day) : std::nullopt;
}

CsvLine CsvLineReader::read(const std::vector<std::string> &fields) const
{
    CsvLine line;
    line.date = date_of(fields);
    for (const CsvQuantityInfo &info : kQuantities) {
        const auto bounds = bounds_of(info.quantity);
        if (!bounds || !csv_maps(map_, info.quantity))
            continue;
        const auto at = static_cast<std::size_t>(info.quantity);
        const auto number = number_cell(cell_text(fields, info.quantity));
        if (!number) {
            line.cells[at] = CsvCell::NoNumber;
            continue;
        }
        const float value = internal_value(info.quantity, map_[info.quantity].unit, *number);
        line.numbers[at] = info.quantity == Q::RhMax ? std::min(value, 1.0f) : value;
        line.cells[at] = within(value, *bounds) ? CsvCell::Value : CsvCell::OutOfRange;
    }
    if (line.has(Q::DewPoint))
        derive_humidity(line);
    return line;
}

WeatherValues CsvLine::values() const
{
    WeatherValues v;
    for (const CsvQuantity q : kStored) {
        if (has(q))
            *member_of(v, q) = number(q);
    }
    return v;
}

std::span<const CsvQuantity> csv_stored_quantities()
{
    return kStored;
}

CsvSeason csv_season_of(const CLocationDoc &location)
{
    CsvSeason season;
    season.first_day = location.start_date.day();
    for (const WeatherDay &d : location.days)
        season.holds_data.push_back(d.has_data != 0);
    return season;
}

std::vector<std::string> csv_summary_details(const CsvImportSummary &s)
{
    const struct
    {
        int count;
        std::string_view verb, one, many, rest;
    } counts[] = {
        {s.kept, "Kept", "day because it", "days because they", " already had data."},
        {s.outside_season, "Skipped", "line", "lines", " dated outside the season."},
        {s.without_date, "Skipped", "line", "lines", " without a date that could be read."},
        {s.repeated, "Skipped", "line", "lines", " dated on a day an earlier line gave."},
        {s.without_number, "Left", "cell", "cells", " without a number unset."},
    };
    std::vector<std::string> lines;
    for (const auto &c : counts) {
        if (c.count > 0)
            lines.push_back(std::string(c.verb) + " " + plural(c.count, c.one, c.many) +
                            std::string(c.rest));
    }
    if (s.out_of_range > 0) {
        std::string line =
            "Left " + plural(s.out_of_range, "value", "values") + " out of range unset: ";
        for (std::size_t i = 0; i < s.first_out_of_range.size(); ++i) {
            const CsvUnsetValue &v = s.first_out_of_range[i];
            line += (i == 0 ? "" : ", ") + lower_caption(v.quantity) + " on " + iso_date(v.date);
        }
        const int more = s.out_of_range - static_cast<int>(s.first_out_of_range.size());
        lines.push_back(line + (more > 0 ? " and " + std::to_string(more) + " more." : "."));
    }
    return lines;
}

std::string csv_summary_text(const CsvImportSummary &summary)
{
    std::string text = "Imported " + plural(summary.imported, "day", "days") + ".";
    for (const std::string &line : csv_summary_details(summary))
        text += "\n" + line;
    return text;
}

CsvImportPlan plan_csv_import(std::string_view text, const CsvWeatherMap &map,
                              const CsvSeason &season, bool replace)
{
    CsvImportPlan plan;
    if (plan.problem = csv_map_problem(map); !plan.problem.empty())
        return plan;
    const std::vector<std::string_view> lines = content_lines(text);
    const auto reader = CsvLineReader::make(
        map, lines.empty() ? std::vector<std::string>{} : fields_of(lines[0]), plan.problem);
    if (!reader)
        return plan;
    CsvImportSummary &s = plan.summary;
    const auto day_count = static_cast<std::int64_t>(season.holds_data.size());
    std::vector<bool> given(season.holds_data.size(), false);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        CsvLine line = reader->read(fields_of(lines[i]));
        if (!line.date) {
            ++s.without_date;
            continue;
        }
        const std::int64_t index = std::int64_t{*line.date} - season.first_day;
        if (index < 0 || index >= day_count) {
            ++s.outside_season;
            continue;
        }
        const auto at = static_cast<std::size_t>(index);
        if (given[at]) {
            ++s.repeated;
            continue;
        }
        given[at] = true;
        if (season.holds_data[at] && !replace) {
            ++s.kept;
            continue;
        }
        bool any = false;
        for (const CsvQuantityInfo &info : kQuantities) {
            const CsvCell cell = line.cell(info.quantity);
            s.without_number += cell == CsvCell::NoNumber ? 1 : 0;
            any = any || (cell == CsvCell::Value && info.quantity != Q::DewPoint);
            if (cell != CsvCell::OutOfRange)
                continue;
            if (s.first_out_of_range.size() < kListedOutOfRange)
                s.first_out_of_range.push_back({info.quantity, *line.date});
            ++s.out_of_range;
        }
        if (!any)
            continue;
        plan.days.push_back({static_cast<int>(index), std::move(line)});
        ++s.imported;
    }
    return plan;
}

void apply_csv_import(CLocationDoc &location, const CsvImportPlan &plan)
{
    for (const CsvDayValues &d : plan.days) {
        if (d.index < 0 || d.index >= location.day_count())
            continue;
        // The day holds what its line gave and nothing of what it held before.
        WeatherDay day;
        store_values(d.line.values(), d.line.has(Q::Etr), day);
        location.day(d.index) = day;
    }
    finish_import(location, static_cast<int>(plan.days.size()));
}

std::optional<CsvImportSummary> import_csv_weather_text(CLocationDoc &location,
                                                        const CsvWeatherMap &map,
                                                        std::string_view text, bool replace)
{
    const CsvImportPlan plan = plan_csv_import(text, map, csv_season_of(location), replace);
    if (!plan.problem.empty()) {
        messages().inform(plan.problem);
        return std::nullopt;
    }
    apply_csv_import(location, plan);
    return plan.summary;
}

int imported_days(const std::optional<CsvImportSummary> &summary)
{
    return summary ? summary->imported : -1;
}

} // namespace tw
