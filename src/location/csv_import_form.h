#pragma once

#include "location/csv_weather.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The rules of the CSV import dialog without the dialog: a preview of the file, and for each
// quantity the column it comes from and its unit.
namespace tw {

/// The settings store's place for the last mapping accepted.
constexpr std::string_view kCsvImportSection = "CsvImport";
constexpr std::string_view kCsvImportMapKey = "Map";

class CsvImportForm
{
public:
    /// `remembered` is the last map accepted, as csv_weather_map_text wrote it; its columns that
    /// the file's header has are chosen again.
    CsvImportForm(CsvPreview preview, const std::optional<std::string> &remembered);

    const CsvPreview &preview() const { return preview_; }

    /// A quantity's column: an index into the header, or nothing when it is not in the file.
    std::optional<std::size_t> column(CsvQuantity q) const { return columns_[index(q)]; }
    void choose_column(CsvQuantity q, std::optional<std::size_t> header_column);
    std::size_t unit(CsvQuantity q) const { return units_[index(q)]; }
    void choose_unit(CsvQuantity q, std::size_t unit);

    /// The map of the choices; columns are named by their header text, or by number when the
    /// header names two columns alike or leaves one unnamed.
    CsvWeatherMap map() const;
    /// Why OK is refused, or nothing.
    std::optional<std::string> problem() const;

private:
    static std::size_t index(CsvQuantity q) { return static_cast<std::size_t>(q); }
    std::string column_name(std::size_t header_column) const;

    CsvPreview preview_;
    std::array<std::optional<std::size_t>, kCsvQuantities> columns_{};
    std::array<std::size_t, kCsvQuantities> units_{};
};

} // namespace tw
