#include "leaching/ui/nitrogen_table_model.h"

#include "field/field_doc.h"
#include "leaching/nitrogen_table.h"
#include "leaching/nitrogen_tips.h"
#include "location/ui/row_state_icons.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/explained.h"

namespace tw {

NitrogenTableModel::NitrogenTableModel(const CFieldDoc &doc, QObject *parent)
    : QAbstractTableModel(parent)
    , doc_(doc)
    , rows_(doc.day_count())
{}

int NitrogenTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int NitrogenTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kNitrogenColumns;
}

QVariant NitrogenTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= doc_.day_count())
        return {};
    if (role == Qt::DisplayRole) {
        const NitrogenRow row = nitrogen_row(doc_, index.row());
        return QString::fromStdString(row.cells.at(static_cast<std::size_t>(index.column())));
    }
    if ((role == Qt::DecorationRole || role == Qt::ToolTipRole) && index.column() == 0) {
        // The second picture of the list marks a day without weather, as in the weather table.
        const bool no_weather = nitrogen_row(doc_, index.row()).no_weather;
        const DayMark mark = no_weather ? DayMark::NoData : DayMark::None;
        return role == Qt::DecorationRole ? QVariant(row_state_icon(mark)) : day_mark_tip(mark);
    }
    return {};
}

QVariant NitrogenTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && is_explanation_role(role))
        return qt_text(nitrogen_column_tip(section));
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kNitrogenColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromStdString(nitrogen_table_titles()[static_cast<std::size_t>(section)]);
}

void NitrogenTableModel::refresh_all()
{
    if (rows_ != doc_.day_count()) {
        beginResetModel();
        rows_ = doc_.day_count();
        endResetModel();
        return;
    }
    emit headerDataChanged(Qt::Horizontal, 0, kNitrogenColumns - 1);
    refresh_from(0);
}

void NitrogenTableModel::refresh_from(int h)
{
    if (rows_ != doc_.day_count()) {
        refresh_all();
        return;
    }
    if (h >= 0 && h < rows_)
        emit dataChanged(index(h, 0), index(rows_ - 1, kNitrogenColumns - 1));
}

} // namespace tw
