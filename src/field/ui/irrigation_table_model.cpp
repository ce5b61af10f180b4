#include "field/ui/irrigation_table_model.h"

#include "field/field_doc.h"
#include "field/field_tips.h"
#include "field/ui/irrigation_icons.h"
#include "location/ui/row_state_icons.h"
#include "location/weather_table.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/explained.h"

namespace tw {
namespace {

QVariant alignment_of(int column)
{
    const Qt::Alignment side =
        irrigation_column_left_aligned(column) ? Qt::AlignLeft : Qt::AlignRight;
    return int(side | Qt::AlignVCenter);
}

} // namespace

IrrigationTableModel::IrrigationTableModel(const CFieldDoc &doc, QObject *parent)
    : QAbstractTableModel(parent)
    , doc_(doc)
{
    retitle();
    fill_all();
}

int IrrigationTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int IrrigationTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kIrrigationColumns;
}

QVariant IrrigationTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row &row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return row.cells[static_cast<std::size_t>(index.column())];
    case Qt::DecorationRole:
        if (index.column() == 0)
            return irrigation_icon(row.icon);
        if (row.measured && index.column() == irrigation_measured_column())
            return measured_icon();
        if (row.forecast_weather && index.column() == irrigation_forecast_weather_column())
            return row_state_icon(DayMark::Forecast);
        return {};
    case Qt::ToolTipRole: {
        std::string_view meaning;
        if (index.column() == 0)
            meaning = irrigation_icon_meaning(row.icon);
        else if (row.measured && index.column() == irrigation_measured_column())
            meaning = measured_mark_meaning();
        else if (row.forecast_weather && index.column() == irrigation_forecast_weather_column())
            meaning = forecast_weather_mark_meaning();
        if (meaning.empty())
            return {};
        return QString::fromUtf8(meaning.data(), static_cast<qsizetype>(meaning.size()));
    }
    case Qt::TextAlignmentRole: return alignment_of(index.column());
    default: return {};
    }
}

QVariant IrrigationTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kIrrigationColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return titles_[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return alignment_of(section);
    if (is_explanation_role(role))
        return qt_text(irrigation_column_tip(section));
    return {};
}

int IrrigationTableModel::icon_of(int row) const
{
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].icon : 0;
}

void IrrigationTableModel::write(Row &row, int d, TableFill fill) const
{
    const IrrigationRow texts = irrigation_row(doc_, d, fill);
    row.icon = texts.icon;
    // A refresh leaves some cells as they were, never this mark: a reading may have gone.
    row.measured = texts.measured;
    row.forecast_weather = texts.forecast_weather;
    for (std::size_t c = 0; c < texts.cells.size(); ++c) {
        if (texts.cells[c])
            row.cells[c] = QString::fromStdString(*texts.cells[c]);
    }
}

void IrrigationTableModel::fill_all()
{
    beginResetModel();
    rows_.assign(static_cast<std::size_t>(doc_.day_count()), Row{});
    for (int d = 0; d < doc_.day_count(); ++d)
        write(rows_[static_cast<std::size_t>(d)], d, TableFill::Full);
    endResetModel();
}

void IrrigationTableModel::refresh_from(int h)
{
    if (rowCount() != doc_.day_count()) {
        fill_all();
        return;
    }
    if (h < 0 || h >= rowCount())
        return;
    for (int d = h; d < rowCount(); ++d)
        write(rows_[static_cast<std::size_t>(d)], d, TableFill::Refresh);
    emit dataChanged(index(h, 0), index(rowCount() - 1, kIrrigationColumns - 1));
}

void IrrigationTableModel::retitle()
{
    const auto titles = irrigation_table_titles();
    for (std::size_t c = 0; c < titles.size(); ++c)
        titles_[c] = QString::fromStdString(titles[c]);
    emit headerDataChanged(Qt::Horizontal, 0, kIrrigationColumns - 1);
}

} // namespace tw
