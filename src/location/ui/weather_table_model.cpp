#include "location/ui/weather_table_model.h"

#include "location/location_doc.h"
#include "location/ui/row_state_icons.h"
#include "location/weather_table.h"
#include "location/weather_tips.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/explained.h"

namespace tw {

WeatherTableModel::WeatherTableModel(const CLocationDoc &doc, QObject *parent)
    : QAbstractTableModel(parent)
    , doc_(doc)
    , rows_(doc.day_count())
{}

int WeatherTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int WeatherTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kWeatherColumns;
}

QVariant WeatherTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= doc_.day_count())
        return {};
    if (role == Qt::DisplayRole) {
        const auto texts = weather_row_texts(doc_, index.row());
        return QString::fromStdString(texts.at(static_cast<std::size_t>(index.column())));
    }
    if (index.column() != 0)
        return {};
    const DayMark mark = weather_row_mark(doc_, index.row());
    if (role == Qt::DecorationRole)
        return row_state_icon(mark);
    if (role == Qt::ToolTipRole)
        return day_mark_tip(mark);
    return {};
}

QVariant WeatherTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && is_explanation_role(role))
        return qt_text(weather_column_tip(section));
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto headers = weather_table_headers();
    if (section < 0 || section >= static_cast<int>(headers.size()))
        return {};
    return QString::fromStdString(headers[static_cast<std::size_t>(section)]);
}

void WeatherTableModel::refresh_all()
{
    if (rows_ != doc_.day_count()) {
        beginResetModel();
        rows_ = doc_.day_count();
        endResetModel();
        return;
    }
    emit headerDataChanged(Qt::Horizontal, 0, kWeatherColumns - 1);
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, kWeatherColumns - 1));
}

void WeatherTableModel::refresh_row(int day)
{
    if (day >= 0 && day < rows_)
        emit dataChanged(index(day, 0), index(day, kWeatherColumns - 1));
}

bool WeatherTableModel::column_visible(int column) const
{
    return weather_column_visible(doc_.et_method, column);
}

} // namespace tw
