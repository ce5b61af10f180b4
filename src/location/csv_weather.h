#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "location/weather_records.h"

// Weather from any station network's CSV export: a header line, then one line a day, read through
// a map that names for each quantity its column and unit.
namespace tw {

class CLocationDoc;

enum class CsvQuantity {
    Date,
    Year,
    Month,
    Day,
    DayOfYear,
    TMax,
    TMin,
    RhMax,
    RhMin,
    DewPoint,
    Solar,
    Wind,
    Rain,
    Etr,
};
constexpr std::size_t kCsvQuantities = 14;

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
/// Why a map cannot place a line on a day (no date, or only part of year and day of year or of
/// year, month and day), or cannot tell the humidity (a dew point beside humidity columns); empty
/// when it can.
std::string csv_map_problem(const CsvWeatherMap &map);
/// Whether the map names a column for the quantity.
bool csv_maps(const CsvWeatherMap &map, CsvQuantity q);

/// The header's fields and the first lines' fields, for a preview.
struct CsvPreview
{
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};
CsvPreview csv_preview(std::string_view text, std::size_t rows);

/// What the import needs of the location: the date of its first day, and which of its days
/// already hold data.
struct CsvSeason
{
    int first_day = 0; ///< serial date
    std::vector<bool> holds_data;
};
CsvSeason csv_season_of(const CLocationDoc &location);

/// A value left unset because it was out of range, with the date of its line.
struct CsvUnsetValue
{
    CsvQuantity quantity;
    int date;
    friend bool operator==(const CsvUnsetValue &, const CsvUnsetValue &) = default;
};

/// What an import did, for the one message that ends it.
struct CsvImportSummary
{
    int imported = 0;       ///< days stored
    int kept = 0;           ///< days left alone because they already held data
    int outside_season = 0; ///< lines dated before the first day or after the last
    int without_date = 0;   ///< lines whose date could not be read
    int repeated = 0;       ///< lines dated on a day an earlier line filled
    int without_number = 0; ///< mapped cells that held no number
    int out_of_range = 0;   ///< values outside their range
    /// The first few of the values out of range.
    std::vector<CsvUnsetValue> first_out_of_range;
};

/// The summary's lines after the count of days imported, each one a sentence; none when the
/// import met nothing worth a word.
std::vector<std::string> csv_summary_details(const CsvImportSummary &summary);
/// The whole summary: "Imported N days." and the details, one a line.
std::string csv_summary_text(const CsvImportSummary &summary);

/// What became of a quantity's cell in one line.
enum class CsvCell { Unmapped, Value, NoNumber, OutOfRange };

/// One line read through the map: its date, and for each quantity what became of its cell and
/// the number it gave in internal units (the humidities derived from a dew point; a value out of
/// range is kept here to be shown, never stored).
struct CsvLine
{
    std::optional<int> date; ///< serial date
    std::array<CsvCell, kCsvQuantities> cells{};
    std::array<float, kCsvQuantities> numbers{};

    CsvCell cell(CsvQuantity q) const { return cells[static_cast<std::size_t>(q)]; }
    bool has(CsvQuantity q) const { return cell(q) == CsvCell::Value; }
    float number(CsvQuantity q) const { return numbers[static_cast<std::size_t>(q)]; }
    /// The values to store: the numbers of the cells that hold one in range, 0 for the others.
    WeatherValues values() const;
};

/// Reads lines through a map whose columns were found in a header.
class CsvLineReader
{
public:
    /// Nothing, and the problem naming the column, when the header lacks a column of the map.
    static std::optional<CsvLineReader>
    make(const CsvWeatherMap &map, const std::vector<std::string> &header, std::string &problem);
    CsvLine read(const std::vector<std::string> &fields) const;

private:
    CsvLineReader(const CsvWeatherMap &map, std::array<int, kCsvQuantities> columns)
        : map_(map)
        , columns_(columns)
    {}
    std::string cell_text(const std::vector<std::string> &fields, CsvQuantity q) const;
    std::optional<int> date_of(const std::vector<std::string> &fields) const;

    CsvWeatherMap map_;
    std::array<int, kCsvQuantities> columns_; ///< header field of each quantity, -1 unmapped
};

/// The quantities a day stores, in the order the preview shows them.
std::span<const CsvQuantity> csv_stored_quantities();

/// One day to store: the line placed on it.
struct CsvDayValues
{
    int index = 0; ///< day of the location
    CsvLine line;
};

/// What a file gives a season: the days to store and the summary; or, when the map does not
/// fit the file's header, the problem and nothing else.
struct CsvImportPlan
{
    std::string problem;
    std::vector<CsvDayValues> days;
    CsvImportSummary summary;
};

/// The import as a computation: every line is placed by its full date (lines may come in any
/// order; a line outside the season is counted, not placed), a day that holds data is kept unless
/// `replace`, and a cell without a number or a value out of range leaves that value unset and is
/// counted.
CsvImportPlan plan_csv_import(std::string_view text, const CsvWeatherMap &map,
                              const CsvSeason &season, bool replace);

/// Stores the plan's days (each day holds exactly the values its line gave), then, when a day was
/// stored, recomputes ET and marks the location modified.
void apply_csv_import(CLocationDoc &location, const CsvImportPlan &plan);

/// Plans and applies the import of a file's text; nothing after the message when the map does not
/// fit the file's header.
std::optional<CsvImportSummary> import_csv_weather_text(CLocationDoc &location,
                                                        const CsvWeatherMap &map,
                                                        std::string_view text, bool replace);
/// The days an import stored; -1 when it refused the file.
int imported_days(const std::optional<CsvImportSummary> &summary);

} // namespace tw
