#pragma once

#include "platform/document.h"

#include "platform/ui/day_table_view.h"

namespace tw {

class CFieldDoc;
class IrrigationTableModel;

/// The irrigation scheduling table of a field: one row a day from planting with the water
/// balance, the state picture of the day and its growth stage. Double-click or Enter on a row asks
/// for that day's entry.
class CFieldView
    : public DayTableView
    , public DocumentView
{
    Q_OBJECT

public:
    explicit CFieldView(CFieldDoc &doc, QWidget *parent = nullptr);
    ~CFieldView() override;

    IrrigationTableModel *table() const { return model_; }
    /// The lines printed above the table: the field's title, then its crop, soil and system.
    QStringList print_header_lines() const;

    /// Everything: titles and every row refreshed; the planting date: titles and the table filled
    /// anew (every date moved); a day: its row and the rows after it refreshed.
    void on_update(ViewHint hint) override;

private:
    CFieldDoc &doc_;
    IrrigationTableModel *model_;
};

} // namespace tw
