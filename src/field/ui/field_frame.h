#pragma once

#include "field/ui/field_kind.h"
#include "platform/ui/document_frame.h"
#include "platform/window_kind.h"

#include <QList>

class QSplitter;

namespace tw {

class CFieldChartView;
class CFieldDoc;
class CFieldView;
class CFieldView2;
class CNextIrrigationPanel;

/// A field's window: the next-irrigation panel on top, the irrigation scheduling table on the
/// left, the nitrogen and leaching table on the right, the water-balance chart under them, and
/// the commands of the field menu. It closes only with its document.
class CFieldFrame : public DocumentFrame
{
    Q_OBJECT

public:
    /// `shows`: the pane that has the focus first (the irrigation or the nitrogen table).
    CFieldFrame(CFieldDoc &doc, FieldServices services, WindowKind shows,
                QWidget *parent = nullptr);

    CFieldDoc &document() const { return doc_; }
    QSplitter *splitter() const { return splitter_; }
    CFieldView *view() const { return view_; }
    CFieldView2 *nitrogen_view() const { return nitrogen_; }
    CFieldChartView *chart_view() const { return chart_; }
    /// The tables above, the chart below.
    QSplitter *chart_splitter() const { return outer_; }
    CNextIrrigationPanel *next_irrigation_panel() const { return next_; }

    int menu_resource() const override;
    bool handles_command(int command) const override;
    void run_command(int command) override;
    void next_pane(bool forward) override;
    void place(QMdiSubWindow &window, const QSize &area) override;
    bool closes_with_document_only() const override { return true; }

    /// Row 0: the field details; any other day: its daily entry.
    void edit_day(int day);
    void edit_details();
    void edit_crop();
    void edit_soil();
    void open_nitrogen_window();
    /// File > Import Soil Readings...: a file, what it measures, then the readings entered.
    void import_soil_readings();
    void show_forecast_skill();
    void print();
    void print_preview();
    /// File > Export...: the table of the pane with the focus, as CSV.
    void export_table();
    /// Edit > Copy: the selected rows of the pane with the focus.
    void copy_rows();
    void show_legend();

private:
    /// The height of the irrigation table that shows that many rows whole.
    int table_height(int rows) const;
    /// The table's and the chart's heights the user left last, else the first rows and the chart.
    QList<int> remembered_split() const;
    void remember_split();

    CFieldDoc &doc_;
    FieldServices services_;
    QSplitter *splitter_;
    CFieldView *view_;
    CFieldView2 *nitrogen_;
    CNextIrrigationPanel *next_;
    QSplitter *outer_;
    CFieldChartView *chart_;
};

} // namespace tw
