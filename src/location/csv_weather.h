#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Weather from any station network's CSV export: a header line, then one line a day, read through
// a map that names for each quantity its column and unit.
namespace tw {

class CLocationDoc;

enum class CsvQuantity {
    Date,
    Year,
    DayOfYear,
    TMax,
    TMin,
    RhMax,
    RhMin,
    Solar,
    Wind,
    Rain,
    Etr,
};
constexpr std::size_t kCsvQuantities = 11;

/// A quantity as the map names it ("t_max"), as a dialog labels it, and the units its column may
/// be in (none for the date columns).
struct CsvQuantityInfo
{
    CsvQuantity quantity;
    std::string_view key;
    std::string_view caption;
    std::span<const std::string_view> units;
};

std::span<const CsvQuantityInfo, kCsvQuantities> csv_quantities();
const CsvQuantityInfo &csv_quantity(CsvQuantity quantity);

/// One quantity's column (a header name, or a column number from 1; empty: not in the file) and
/// the index of its unit among the quantity's units.
struct CsvColumn
{
    std::string column;
    std::size_t unit = 0;
    friend bool operator==(const CsvColumn &, const CsvColumn &) = default;
};

struct CsvWeatherMap
{
    std::array<CsvColumn, kCsvQuantities> columns;

    CsvColumn &operator[](CsvQuantity q) { return columns[static_cast<std::size_t>(q)]; }
    const CsvColumn &operator[](CsvQuantity q) const
    {
        return columns[static_cast<std::size_t>(q)];
    }
    friend bool operator==(const CsvWeatherMap &, const CsvWeatherMap &) = default;
};

/// A map parsed from "date=Date,t_max=TMax[F],solar=Rs[W/m2],..." (the unit in brackets after the
/// column, a column name may hold brackets of its own before it), or the reason it is refused.
struct CsvMapParse
{
    std::optional<CsvWeatherMap> map;
    std::string problem;
};
CsvMapParse parse_csv_weather_map(std::string_view text);
/// The map in the form parse_csv_weather_map reads.
std::string csv_weather_map_text(const CsvWeatherMap &map);
/// Why a map cannot place a line on a day (no date, or only half of year and day of year); empty
/// when it can.
std::string csv_map_problem(const CsvWeatherMap &map);

/// The header's fields and the first lines' fields, for a preview.
struct CsvPreview
{
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};
CsvPreview csv_preview(std::string_view text, std::size_t rows);

/// Reads the lines after the header into the days of the location that hold no data, with the
/// day placement, range checks and messages of the other import formats, then (when a day was
/// filled) recomputes ET and marks the location modified. Returns the number of days filled, or
/// -1 after a message when the map does not fit the file's header.
int import_csv_weather_text(CLocationDoc &location, const CsvWeatherMap &map,
                            std::string_view text);
/// The import from a file, as the other formats' import_weather.
int import_csv_weather(CLocationDoc &location, const CsvWeatherMap &map,
                       const std::filesystem::path &file);

} // namespace tw
