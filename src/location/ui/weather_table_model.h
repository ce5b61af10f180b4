#pragma once

#include <QAbstractTableModel>

namespace tw {

class CLocationDoc;

/// The location's days as a table, one row a day. Texts are made from the document when the view
/// asks for them; nothing is copied.
class WeatherTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit WeatherTableModel(const CLocationDoc &doc, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Everything may have changed: headers (units), the number of days, every row.
    void refresh_all();
    void refresh_row(int day);
    bool column_visible(int column) const;

private:
    const CLocationDoc &doc_;
    int rows_;
};

} // namespace tw
