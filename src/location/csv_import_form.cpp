#include "location/csv_import_form.h"

#include "platform/text_format.h"

#include <algorithm>

namespace tw {

CsvImportForm::CsvImportForm(CsvPreview preview, const std::optional<std::string> &remembered)
    : preview_(std::move(preview))
{
    if (!remembered)
        return;
    const CsvMapParse parsed = parse_csv_weather_map(*remembered);
    if (!parsed.map)
        return;
    for (const CsvQuantityInfo &info : csv_quantities()) {
        const CsvColumn &c = (*parsed.map)[info.quantity];
        units_[index(info.quantity)] = c.unit;
        for (std::size_t i = 0; i < preview_.header.size() && !c.column.empty(); ++i) {
            if (column_name(i) == c.column) {
                columns_[index(info.quantity)] = i;
                break;
            }
        }
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
    std::string problem = csv_map_problem(map());
    return problem.empty() ? std::nullopt : std::optional<std::string>(std::move(problem));
}

} // namespace tw
