#pragma once

#include <QAbstractTableModel>

namespace tw {

class CFieldDoc;

/// A field's days as the nitrogen table, one row a day. Texts are made from the document when
/// the view asks for them; nothing is copied.
class NitrogenTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit NitrogenTableModel(const CFieldDoc &doc, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Everything may have changed: the titles (units), the number of days, every row.
    void refresh_all();
    /// Rows from day h on.
    void refresh_from(int h);

private:
    const CFieldDoc &doc_;
    int rows_;
};

} // namespace tw
