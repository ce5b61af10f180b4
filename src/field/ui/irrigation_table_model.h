#pragma once

#include "field/irrigation_table.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

namespace tw {

class CFieldDoc;

/// A field's days as the irrigation table, one row a day. The rows keep the texts they were last
/// written with: a refresh from a day on rewrites only the cells a refresh writes, so what the
/// table shows follows the fill and refresh rules of the row texts.
class IrrigationTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit IrrigationTableModel(const CFieldDoc &doc, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The picture number of a row (1-10, 0 for none).
    int icon_of(int row) const;

    /// Every row written anew (the table is rebuilt).
    void fill_all();
    /// Rows from day h on rewritten in place; a changed number of days fills the table instead.
    void refresh_from(int h);
    /// The column titles with the display units of the moment.
    void retitle();

private:
    struct Row
    {
        int icon = 0;
        bool measured = false;
        bool forecast_weather = false;
        std::array<QString, kIrrigationColumns> cells;
    };
    void write(Row &row, int d, TableFill fill) const;

    const CFieldDoc &doc_;
    std::vector<Row> rows_;
    std::array<QString, kIrrigationColumns> titles_;
};

} // namespace tw
