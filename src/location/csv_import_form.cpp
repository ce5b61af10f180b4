#include "location/csv_import_form.h"

#include "location/csv_header_match.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <algorithm>

namespace tw {
namespace {

using Q = CsvQuantity;

// The Dimension a stored quantity is shown in; humidities are shown in percent.
std::optional<Dimension> dimension_of(CsvQuantity q)
{
    switch (q) {
    case Q::TMax:
    case Q::TMin: return Temperature;
    case Q::Solar: return Radiation;
    case Q::Wind: return Wind_Speed;
    case Q::Rain:
    case Q::Etr: return Depth;
    default: return std::nullopt;
    }
}

std::string shown_unit(CsvQuantity q)
{
    const auto dimension = dimension_of(q);
    return dimension ? sed_SetUnits(*dimension) : std::string("%");
}

std::string shown_value(CsvQuantity q, float internal)
{
    const auto dimension = dimension_of(q);
    return dimension ? strprintf("%.1f", static_cast<double>(convert_to(*dimension, internal)))
                     : strprintf("%.0f", static_cast<double>(internal) * 100.0);
}

} // namespace

CsvImportForm::CsvImportForm(CsvPreview preview, const std::optional<std::string> &remembered)
    : preview_(std::move(preview))
{
    const CsvHeaderMatch match = match_csv_header(preview_);
    columns_ = match.columns;
    units_ = match.units;
    if (!remembered)
        return;
    const CsvMapParse parsed = parse_csv_weather_map(*remembered);
    if (!parsed.map)
        return;
    for (const CsvQuantityInfo &info : csv_quantities()) {
        const CsvColumn &c = (*parsed.map)[info.quantity];
        const auto column = header_column(c.column);
        if (column)
            columns_[index(info.quantity)] = column;
        // The unit the user chose last time stands unless the header writes one for the column.
        if (column || !columns_[index(info.quantity)])
            units_[index(info.quantity)] = c.unit;
    }
    // A remembered date column stands over the year and day columns the header seemed to have.
    if (columns_[index(Q::Date)]) {
        for (const CsvQuantity part : {Q::Year, Q::Month, Q::Day, Q::DayOfYear})
            columns_[index(part)].reset();
    }
}

void CsvImportForm::choose_map(const CsvWeatherMap &map)
{
    for (const CsvQuantityInfo &info : csv_quantities()) {
        const CsvColumn &c = map[info.quantity];
        columns_[index(info.quantity)] = header_column(c.column);
        units_[index(info.quantity)] = c.unit;
    }
}

void CsvImportForm::choose_column(CsvQuantity q, std::optional<std::size_t> header_column)
{
    if (header_column && *header_column >= preview_.header.size())
        header_column.reset();
    columns_[index(q)] = header_column;
}

void CsvImportForm::choose_unit(CsvQuantity q, std::size_t unit)
{
    if (unit < csv_quantity(q).units.size())
        units_[index(q)] = unit;
}

std::string CsvImportForm::column_name(std::size_t header_column) const
{
    const std::string name = trimmed(preview_.header[header_column]);
    const auto same = std::count_if(preview_.header.begin(), preview_.header.end(),
                                    [&](const std::string &h) { return trimmed(h) == name; });
    // A name the header gives twice (or not at all) finds its column only by number.
    return name.empty() || same > 1 ? std::to_string(header_column + 1) : name;
}

std::optional<std::size_t> CsvImportForm::header_column(const std::string &name) const
{
    for (std::size_t i = 0; i < preview_.header.size() && !name.empty(); ++i) {
        if (column_name(i) == name)
            return i;
    }
    return std::nullopt;
}

CsvWeatherMap CsvImportForm::map() const
{
    CsvWeatherMap m;
    for (const CsvQuantityInfo &info : csv_quantities()) {
        const auto column = columns_[index(info.quantity)];
        if (column)
            m[info.quantity] = {column_name(*column), units_[index(info.quantity)]};
    }
    return m;
}

std::optional<std::string> CsvImportForm::problem() const
{
    if (preview_.header.empty())
        return "The file holds no header line to choose columns from.";
    const CsvWeatherMap m = map();
    if (csv_map_problem(m).empty())
        return std::nullopt;
    const auto chosen = [&](CsvQuantity q) { return csv_maps(m, q); };
    if (chosen(Q::DewPoint) && (chosen(Q::RhMax) || chosen(Q::RhMin)))
        return "Choose the humidity columns or the dew point, not both.";
    if (chosen(Q::Date))
        return "Choose the column that holds the date alone, without the year, month or day "
               "columns.";
    if (chosen(Q::Year))
        return "Choose the column that holds the day of year, or the month and the day of month.";
    return "Choose the column that holds the date, or the year and day of year.";
}

CsvStoredPreview CsvImportForm::stored_preview() const
{
    CsvStoredPreview shown;
    const CsvWeatherMap m = map();
    std::string problem;
    const auto reader = csv_map_problem(m).empty()
                            ? CsvLineReader::make(m, preview_.header, problem)
                            : std::nullopt;
    if (!reader)
        return shown;
    std::vector<CsvQuantity> quantities;
    for (const CsvQuantity q : csv_stored_quantities()) {
        const bool derived = (q == Q::RhMax || q == Q::RhMin) && csv_maps(m, Q::DewPoint);
        if (csv_maps(m, q) || derived)
            quantities.push_back(q);
    }
    shown.headers.push_back("Date");
    for (const CsvQuantity q : quantities)
        shown.headers.push_back(std::string(csv_quantity(q).caption) + " (" + shown_unit(q) + ")");
    for (const std::vector<std::string> &fields : preview_.rows) {
        const CsvLine line = reader->read(fields);
        std::vector<CsvPreviewCell> row;
        row.push_back(line.date ? CsvPreviewCell{iso_date(*line.date), CsvCell::Value}
                                : CsvPreviewCell{"", CsvCell::NoNumber});
        for (const CsvQuantity q : quantities) {
            const CsvCell state = line.cell(q);
            const bool shown_number = state == CsvCell::Value || state == CsvCell::OutOfRange;
            row.push_back({shown_number ? shown_value(q, line.number(q)) : "", state});
        }
        shown.rows.push_back(std::move(row));
    }
    return shown;
}

} // namespace tw
