#pragma once

#include <QTableView>

namespace tw {

/// A report-style table of one row a day: whole rows selected (a run of them with Shift or Ctrl,
/// for copying), nothing typed in place, rows a line of text high. Double-click or Enter on a
/// row asks for that day.
class DayTableView : public QTableView
{
    Q_OBJECT

public:
    explicit DayTableView(QWidget *parent = nullptr);
    /// Each column as wide as its title plus `margin(column)` pixels.
    void fit_columns_to_titles(int (*margin)(int column));
    /// The width that shows every column without scrolling sideways.
    int full_width() const;
    /// The selected rows in the shown columns, tab-separated.
    QString selected_rows_text() const;

signals:
    void day_activated(int day);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace tw
