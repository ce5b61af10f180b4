#include "location/csv_header_match.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace tw {
namespace {

using Q = CsvQuantity;

// Unit indexes, as csv_weather lists each quantity's units.
constexpr std::size_t kCelsius = 0, kFahrenheit = 1;
constexpr std::size_t kFraction = 0, kPercent = 1;
constexpr std::size_t kWattsPerM2 = 0, kMegajoules = 1, kLangleys = 2;
constexpr std::size_t kKmPerDay = 0, kMilesPerDay = 1, kMetresPerSecond = 2, kMph = 3,
                      kKmPerHour = 4;
constexpr std::size_t kMillimetres = 0, kInches = 1;

// A humidity written without a unit is a fraction only when no value of the first rows is above
// this (a percent humidity of the air is hardly ever 1.5 % or below).
constexpr double kLargestFraction = 1.5;

bool is_alnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Words a name ends with that say its unit rather than its quantity ("Precip mm", "tmax_c").
bool is_unit_word(std::string_view w)
{
    static constexpr std::string_view kWords[] = {
        "f",    "c",       "deg", "degf",     "degc",     "fahrenheit", "celsius", "in",
        "inch", "inches",  "mm",  "cm",       "mph",      "kph",        "kmh",     "km",
        "mi",   "miles",   "m",   "s",        "ms",       "mps",        "w",       "wm2",
        "m2",   "mj",      "ly",  "langley",  "langleys", "day",        "d",       "h",
        "hr",   "percent", "pct", "fraction", "per"};
    return std::find(std::begin(kWords), std::end(kWords), w) != std::end(kWords);
}

// A header name split into what names the quantity ("maxtemp") and what writes its unit ("°f"
// becomes "f", "W/m²" becomes "w/m2"), both lower case without spaces.
struct HeaderName
{
    std::string key;
    std::string unit;
    bool percent_sign = false;
};

HeaderName split_header(std::string_view header)
{
    std::string text;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const auto c = static_cast<unsigned char>(header[i]);
        if (c == 0xC2 && i + 1 < header.size() && header[i + 1] == '\xB2') { // "²"
            text += '2';
            ++i;
        } else {
            text += static_cast<char>(std::tolower(c));
        }
    }
    HeaderName name;
    name.percent_sign = text.find('%') != std::string::npos;
    std::string outside;
    std::string inside;
    int depth = 0;
    for (const char c : text) {
        if (c == '(' || c == '[')
            ++depth;
        else if ((c == ')' || c == ']') && depth > 0)
            --depth;
        else
            (depth > 0 ? inside : outside) += c;
    }
    std::vector<std::string> words(1);
    for (const char c : outside) {
        if (is_alnum(c))
            words.back() += c;
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty())
        words.pop_back();
    std::vector<std::string> unit_words;
    while (words.size() > 1 && is_unit_word(words.back())) {
        unit_words.insert(unit_words.begin(), words.back());
        words.pop_back();
    }
    for (const std::string &w : words)
        name.key += w;
    std::string unit = inside;
    if (unit.empty()) {
        for (const std::string &w : unit_words)
            unit += (unit.empty() ? "" : "/") + w;
    }
    for (const char c : unit) {
        if (c != ' ' && c != '_' && static_cast<unsigned char>(c) < 0x80)
            name.unit += c;
    }
    return name;
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool contains_any(std::string_view text, std::initializer_list<std::string_view> parts)
{
    return std::any_of(parts.begin(), parts.end(),
                       [&](std::string_view p) { return contains(text, p); });
}

bool one_of(std::string_view text, std::initializer_list<std::string_view> names)
{
    return std::find(names.begin(), names.end(), text) != names.end();
}

std::optional<CsvQuantity> extreme_of(std::string_view k, CsvQuantity max, CsvQuantity min)
{
    if (contains_any(k, {"max", "high"}))
        return max;
    if (contains_any(k, {"min", "low"}))
        return min;
    return std::nullopt;
}

// The quantity a name stands for; nothing for a column the import has no use for (a mean
// humidity, a soil temperature, a gust).
std::optional<CsvQuantity> quantity_named(std::string_view k)
{
    if (one_of(k, {"doy", "jday", "julianday", "dayofyear", "julian", "jd", "yday", "juliandate"}))
        return Q::DayOfYear;
    if (one_of(k, {"year", "yr", "yyyy"}))
        return Q::Year;
    if (one_of(k, {"month", "mon", "mo"}))
        return Q::Month;
    if (one_of(k, {"day", "dd", "dayofmonth", "dom", "mday", "dy"}))
        return Q::Day;
    if (contains(k, "date") || one_of(k, {"datetime", "timestamp"}))
        return Q::Date;
    if (contains_any(k, {"soil", "gust", "dir", "vector", "net"}))
        return std::nullopt;
    if (contains(k, "dew") || one_of(k, {"td", "tdew"}))
        return Q::DewPoint;
    if (contains_any(k, {"humid", "relhum"}) || k.starts_with("rh") || k.ends_with("rh"))
        return one_of(k, {"rhx"})   ? Q::RhMax
               : one_of(k, {"rhn"}) ? std::optional<CsvQuantity>(Q::RhMin)
                                    : extreme_of(k, Q::RhMax, Q::RhMin);
    if (contains(k, "wind") || one_of(k, {"ws", "wspd", "u2", "uz"}))
        return contains_any(k, {"max", "min", "peak", "sd", "std"}) ? std::nullopt
                                                                    : std::optional(Q::Wind);
    if (contains_any(k, {"solar", "srad", "radiation", "insolation"}) ||
        one_of(k, {"rs", "rad", "sr", "solrad"}))
        return Q::Solar;
    if (contains_any(k, {"precip", "rain"}) || one_of(k, {"ppt", "prcp", "pcp"}))
        return Q::Rain;
    if (contains(k, "etr"))
        return Q::Etr;
    if (one_of(k, {"tx", "tmx"}))
        return Q::TMax;
    if (one_of(k, {"tn", "tmn"}))
        return Q::TMin;
    if (contains_any(k, {"temp", "air"}) || k.starts_with('t') || k.ends_with('t') ||
        one_of(k, {"max", "min", "high", "low", "maximum", "minimum"}))
        return extreme_of(k, Q::TMax, Q::TMin);
    return std::nullopt;
}

std::size_t temperature_unit(std::string u)
{
    for (const std::string_view prefix : {"degrees", "degree", "deg"}) {
        if (u.starts_with(prefix)) {
            u.erase(0, prefix.size());
            break;
        }
    }
    return one_of(u, {"f", "fahrenheit"}) ? kFahrenheit : kCelsius;
}

std::size_t solar_unit(const std::string &u)
{
    if (contains(u, "mj"))
        return kMegajoules;
    if (contains_any(u, {"langley", "cal"}) || u == "ly" || u.starts_with("ly/"))
        return kLangleys;
    return kWattsPerM2;
}

std::size_t wind_unit(const std::string &u, std::string_view key)
{
    if (contains_any(u, {"mph", "mi/h", "milesperhour"}))
        return kMph;
    if (contains_any(u, {"km/h", "kph", "kmh"}))
        return kKmPerHour;
    if (contains_any(u, {"m/s", "mps", "ms-1"}) || u == "ms")
        return kMetresPerSecond;
    if (u.starts_with("mi"))
        return kMilesPerDay;
    if (u.starts_with("km") || contains(key, "run"))
        return kKmPerDay;
    // A speed without a unit is most often metres per second.
    return u.empty() && contains(key, "speed") ? kMetresPerSecond : kKmPerDay;
}

bool holds_fractions(const CsvPreview &preview, std::size_t column)
{
    bool any = false;
    for (const std::vector<std::string> &row : preview.rows) {
        if (column >= row.size())
            continue;
        double value = 0.0;
        const std::string &cell = row[column];
        const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
        if (ec != std::errc() || end != cell.data() + cell.size())
            continue;
        if (value > kLargestFraction)
            return false;
        any = true;
    }
    return any;
}

std::size_t unit_of(CsvQuantity q, const HeaderName &name, const CsvPreview &preview,
                    std::size_t column)
{
    switch (q) {
    case Q::TMax:
    case Q::TMin:
    case Q::DewPoint: return temperature_unit(name.unit);
    case Q::RhMax:
    case Q::RhMin:
        if (name.percent_sign || one_of(name.unit, {"percent", "pct"}))
            return kPercent;
        if (contains(name.unit, "frac"))
            return kFraction;
        return holds_fractions(preview, column) ? kFraction : kPercent;
    case Q::Solar: return solar_unit(name.unit);
    case Q::Wind: return wind_unit(name.unit, name.key);
    case Q::Rain:
    case Q::Etr: return one_of(name.unit, {"in", "inch", "inches", "\""}) ? kInches : kMillimetres;
    default: return 0;
    }
}

void forget(CsvHeaderMatch &match, std::initializer_list<CsvQuantity> quantities)
{
    for (const CsvQuantity q : quantities)
        match.columns[static_cast<std::size_t>(q)].reset();
}

} // namespace

CsvHeaderMatch match_csv_header(const CsvPreview &preview)
{
    CsvHeaderMatch match;
    for (std::size_t column = 0; column < preview.header.size(); ++column) {
        const HeaderName name = split_header(preview.header[column]);
        const auto q = quantity_named(name.key);
        if (!q || match.column(*q))
            continue;
        match.columns[static_cast<std::size_t>(*q)] = column;
        match.units[static_cast<std::size_t>(*q)] = unit_of(*q, name, preview, column);
    }
    // One way to date a line, the fewest columns first; humidity columns over a dew point.
    const auto has = [&](CsvQuantity q) { return match.column(q).has_value(); };
    if (has(Q::Date))
        forget(match, {Q::Year, Q::Month, Q::Day, Q::DayOfYear});
    else if (has(Q::Year) && has(Q::DayOfYear))
        forget(match, {Q::Month, Q::Day});
    if (has(Q::RhMax) || has(Q::RhMin))
        forget(match, {Q::DewPoint});
    return match;
}

std::string csv_auto_map_problem(const CsvWeatherMap &map)
{
    std::string missing;
    const auto lack = [&](std::string_view what) {
        missing += (missing.empty() ? "" : ", ") + std::string(what);
    };
    if (!csv_map_problem(map).empty() && !csv_maps(map, Q::Date))
        lack("the date");
    if (!csv_maps(map, Q::TMax))
        lack("the maximum temperature");
    if (!csv_maps(map, Q::TMin))
        lack("the minimum temperature");
    return missing.empty() ? std::string()
                           : "No column of the header could be placed for " + missing + ".";
}

} // namespace tw
