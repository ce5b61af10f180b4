#pragma once

#include "location/csv_weather.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The rules of the CSV import dialog without the dialog: a preview of the file, for each quantity
// the column it comes from and its unit, and the values the choices would store.
namespace tw {

/// One value of the stored preview: its text in the user's units and what became of its cell.
struct CsvPreviewCell
{
    std::string text;
    CsvCell state = CsvCell::Unmapped;
};

/// The first lines as they would be stored: the date, then each stored quantity that the choices
/// give, converted to the user's units.
struct CsvStoredPreview
{
    std::vector<std::string> headers;
    std::vector<std::vector<CsvPreviewCell>> rows;
};

/// The settings store's place for the last mapping accepted.
constexpr std::string_view kCsvImportSection = "CsvImport";
constexpr std::string_view kCsvImportMapKey = "Map";

class CsvImportForm
{
public:
    /// The choices start from what the header's names say; `remembered` is the last map
    /// accepted, as csv_weather_map_text wrote it, and its columns that the file's header has are
    /// chosen again over those.
    CsvImportForm(CsvPreview preview, const std::optional<std::string> &remembered);

    /// A named map chosen: its columns that the header has and its units; every other quantity
    /// is not in the file.
    void choose_map(const CsvWeatherMap &map);

    const CsvPreview &preview() const { return preview_; }

    /// A quantity's column: an index into the header, or nothing when it is not in the file.
    std::optional<std::size_t> column(CsvQuantity q) const { return columns_[index(q)]; }
    void choose_column(CsvQuantity q, std::optional<std::size_t> header_column);
    std::size_t unit(CsvQuantity q) const { return units_[index(q)]; }
    void choose_unit(CsvQuantity q, std::size_t unit);

    /// The map of the choices; columns are named by their header text, or by number when the
    /// header names two columns alike or leaves one unnamed.
    CsvWeatherMap map() const;
    /// Why OK is refused, in words, or nothing.
    std::optional<std::string> problem() const;

    /// "Replace days that already have data", off unless ticked.
    bool replace() const { return replace_; }
    void set_replace(bool on) { replace_ = on; }

    /// The preview's lines as the choices would store them; empty while they cannot date a line.
    CsvStoredPreview stored_preview() const;

private:
    static std::size_t index(CsvQuantity q) { return static_cast<std::size_t>(q); }
    std::string column_name(std::size_t header_column) const;
    std::optional<std::size_t> header_column(const std::string &name) const;

    CsvPreview preview_;
    std::array<std::optional<std::size_t>, kCsvQuantities> columns_{};
    std::array<std::size_t, kCsvQuantities> units_{};
    bool replace_ = false;
};

} // namespace tw
