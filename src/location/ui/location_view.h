#pragma once

#include "platform/document.h"

#include "platform/ui/day_table_view.h"

namespace tw {

class CLocationDoc;
class WeatherTableModel;

/// The lower pane of a location window: one row a day with its weather and ETr, and the state
/// picture of the day. Double-click or Enter on a row asks for the day entry dialog.
class CLocationView
    : public DayTableView
    , public DocumentView
{
    Q_OBJECT

public:
    explicit CLocationView(CLocationDoc &doc, QWidget *parent = nullptr);
    ~CLocationView() override;

    WeatherTableModel *table() const { return model_; }
    /// The screen width of a column by its header (0 for a hidden column).
    int column_width(int column) const;
    /// Column widths and visibility by the location's ET equation.
    void apply_columns();

    /// Everything: headers, visibility and every row; a day: its row; the location's fields:
    /// nothing (the summary's hint).
    void on_update(ViewHint hint) override;

private:
    CLocationDoc &doc_;
    WeatherTableModel *model_;
};

} // namespace tw
