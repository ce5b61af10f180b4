#pragma once

#include "platform/document.h"
#include "platform/ui/day_table_view.h"

namespace tw {

class CFieldDoc;
class NitrogenTableModel;

/// The nitrogen and leaching table of a field: one row a day with the nitrate available, the
/// nitrogen applied, the crop uptake, the deep percolation and the nitrate leached.
class CFieldView2
    : public DayTableView
    , public DocumentView
{
    Q_OBJECT

public:
    explicit CFieldView2(CFieldDoc &doc, QWidget *parent = nullptr);
    ~CFieldView2() override;

    NitrogenTableModel *table() const { return model_; }

    /// A day: its row and the rows after it; anything else: titles and every row.
    void on_update(ViewHint hint) override;

private:
    CFieldDoc &doc_;
    NitrogenTableModel *model_;
};

} // namespace tw
