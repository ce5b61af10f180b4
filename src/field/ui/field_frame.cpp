#include "field/ui/field_frame.h"

#include "field/daily_entry_form.h"
#include "field/field_details_form.h"
#include "field/field_doc.h"
#include "field/forecast_skill.h"
#include "field/irrigation_table.h"
#include "field/soil_readings.h"
#include "field/ui/crop_sheet.h"
#include "field/ui/daily_irrigation_dialog.h"
#include "field/ui/field_chart_view.h"
#include "field/ui/field_details_dialog.h"
#include "field/ui/field_report.h"
#include "field/ui/field_view.h"
#include "field/ui/irrigation_legend.h"
#include "field/ui/measured_water_dialogs.h"
#include "field/ui/next_irrigation_panel.h"
#include "leaching/nitrogen_table.h"
#include "leaching/ui/field_view2.h"
#include "platform/command_ids.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/fixed_window_style.h"
#include "platform/ui/interaction.h"
#include "platform/ui/table_export.h"
#include "platform/ui/table_printer.h"
#include "platform/work_dir.h"
#include "refdata/ui/soil_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace tw {
namespace {

constexpr int kPaneSize = 500;
constexpr int kChartHeight = 260;
/// Rows of the irrigation table a new window shows: about a week and a half, enough to read the
/// days before and after today without scrolling.
constexpr int kFirstRowsShown = 10;
constexpr const char *kSplitSection = "FieldWindow";
constexpr const char *kTableHeightKey = "TableHeight";
constexpr const char *kChartHeightKey = "ChartHeight";

} // namespace

CFieldFrame::CFieldFrame(CFieldDoc &doc, FieldServices services, WindowKind shows, QWidget *parent)
    : DocumentFrame(parent)
    , doc_(doc)
    , services_(std::move(services))
    , splitter_(new QSplitter(Qt::Horizontal, this))
    , view_(new CFieldView(doc, splitter_))
    , nitrogen_(new CFieldView2(doc, splitter_))
    , next_(new CNextIrrigationPanel(doc, this))
    , outer_(new QSplitter(Qt::Vertical, this))
    , chart_(new CFieldChartView(doc, outer_))
{
    splitter_->setChildrenCollapsible(false);
    // The irrigation table is the one a grower reads: it gets every column, the nitrogen table
    // what is left, and grows with the window.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({std::max(kPaneSize, view_->full_width()), kPaneSize});
    // The chart sits under the tables; the splitter between them lets the user share the height.
    outer_->insertWidget(0, splitter_);
    outer_->setChildrenCollapsible(false);
    outer_->setSizes(remembered_split());
    connect(outer_, &QSplitter::splitterMoved, this, &CFieldFrame::remember_split);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(next_);
    layout->addWidget(outer_, 1);
    for (DayTableView *table :
         {static_cast<DayTableView *>(view_), static_cast<DayTableView *>(nitrogen_)})
        connect(table, &DayTableView::day_activated, this, &CFieldFrame::edit_day);
    setFocusProxy(shows == WindowKind::FieldNitrogen ? static_cast<QWidget *>(nitrogen_) : view_);
}

int CFieldFrame::menu_resource() const
{
    return kFieldMenu;
}

bool CFieldFrame::handles_command(int command) const
{
    switch (command) {
    case ID_GENERAL_INFO:
    case ID_FIELD_CROP:
    case ID_FIELD_SOIL:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_EXPORT:
    case ID_EDIT_COPY:
    case ID_VIEW_IRRIGATION:
    case ID_VIEW_NITROGEN:
    case ID_IMPORT_SOIL_READINGS:
    case ID_FORECAST_SKILL:
    case ID_VIEW_CHART:
    case ID_VIEW_LEGEND: return true;
    case ID_FERTILIZER_WIZARD: return bool(services_.consultations.fertilizer);
    case ID_LEACHING_SUMMARY: return bool(services_.consultations.leaching_summary);
    default: return false;
    }
}

void CFieldFrame::run_command(int command)
{
    switch (command) {
    case ID_GENERAL_INFO: edit_details(); break;
    case ID_FIELD_CROP: edit_crop(); break;
    case ID_FIELD_SOIL: edit_soil(); break;
    case ID_FILE_PRINT: print(); break;
    case ID_FILE_PRINT_PREVIEW: print_preview(); break;
    case ID_FILE_EXPORT: export_table(); break;
    case ID_EDIT_COPY: copy_rows(); break;
    case ID_VIEW_CHART: chart_->setVisible(chart_->isHidden()); break;
    case ID_VIEW_LEGEND: show_legend(); break;
    case ID_VIEW_IRRIGATION: services_.open_window(doc_, WindowKind::Field); break;
    case ID_VIEW_NITROGEN: open_nitrogen_window(); break;
    case ID_IMPORT_SOIL_READINGS: import_soil_readings(); break;
    case ID_FORECAST_SKILL: show_forecast_skill(); break;
    case ID_FERTILIZER_WIZARD:
        if (services_.consultations.fertilizer) {
            services_.consultations.fertilizer(doc_);
            const WaitCursor wait;
            doc_.run_and_update(0, ViewHint::everything());
        }
        break;
    case ID_LEACHING_SUMMARY:
        if (services_.consultations.leaching_summary)
            services_.consultations.leaching_summary(doc_);
        break;
    default: break;
    }
}

void CFieldFrame::next_pane(bool)
{
    // Two panes: either way the other one.
    if (view_->hasFocus())
        nitrogen_->setFocus();
    else
        view_->setFocus();
}

int CFieldFrame::table_height(int rows) const
{
    return view_->horizontalHeader()->sizeHint().height() +
           rows * view_->verticalHeader()->defaultSectionSize() + 2 * view_->frameWidth() +
           view_->horizontalScrollBar()->sizeHint().height();
}

QList<int> CFieldFrame::remembered_split() const
{
    const int table = table_height(kFirstRowsShown);
    if (!services_.settings)
        return {table, kChartHeight};
    return {services_.settings->read_int(kSplitSection, kTableHeightKey, table),
            services_.settings->read_int(kSplitSection, kChartHeightKey, kChartHeight)};
}

void CFieldFrame::remember_split()
{
    const QList<int> sizes = outer_->sizes();
    if (!services_.settings || sizes.size() != 2)
        return;
    services_.settings->write_int(kSplitSection, kTableHeightKey, sizes[0]);
    services_.settings->write_int(kSplitSection, kChartHeightKey, sizes[1]);
}

void CFieldFrame::place(QMdiSubWindow &window, const QSize &area)
{
    // The lower part of the main window, under the location's; no maximize box, and no close
    // of its own. It reaches up over the location's window when the lower part cannot hold the
    // panel, the table's first rows and the chart.
    window.setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    for (QAction *action : window.systemMenu()->actions()) {
        if (action->shortcut() == QKeySequence(QKeySequence::Close))
            action->setEnabled(false);
    }
    // The title bar shows its close button greyed: the window goes with its document.
    auto *style = new FixedWindowStyle(QApplication::style()->name());
    style->setParent(&window);
    window.setStyle(style);
    const QList<int> split = remembered_split();
    const int frame_extra =
        style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) +
        2 * style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int wanted = next_->sizeHint().height() + split.value(0) + split.value(1) +
                       outer_->handleWidth() + frame_extra;
    const int height = std::min(area.height(), std::max(int(area.height() / 2.4), wanted));
    window.setGeometry(0, std::min(area.height() / 2, area.height() - height), area.width(),
                       height);
}

void CFieldFrame::edit_day(int day)
{
    if (day == 0) {
        edit_details();
        return;
    }
    auto form = DailyEntryForm::open(doc_, day);
    if (!form)
        return;
    CDailyIrrigationDlg dialog(*form, this);
    interaction().exec(dialog);
}

void CFieldFrame::edit_details()
{
    FieldDetailsForm form(doc_);
    CFieldDetailsDlg dialog(form, this);
    interaction().exec(dialog);
}

void CFieldFrame::edit_crop()
{
    CCropSheet sheet(doc_.saved.crop, CropSheetFor::Field, this);
    if (interaction().exec(sheet) != QDialog::Accepted)
        return;
    // The season is run again at once, so the table and the summary never show the old crop's.
    doc_.saved.crop = sheet.crop();
    doc_.set_modified(true);
    const WaitCursor wait;
    doc_.run_and_update(0, ViewHint::everything());
}

void CFieldFrame::edit_soil()
{
    FieldSoilForm form(doc_);
    CSoilAttributesDlg dialog(form, this);
    if (interaction().exec(dialog) != QDialog::Accepted)
        return;
    const WaitCursor wait;
    form.accept();
}

void CFieldFrame::open_nitrogen_window()
{
    if (!file_exists(work_file(doc_.nutrient_file_name()))) {
        messages().inform("You must run the fertility scheduler first");
        return;
    }
    services_.open_window(doc_, WindowKind::FieldNitrogen);
}

void CFieldFrame::import_soil_readings()
{
    const QString name =
        interaction().open_file_name(this, QStringLiteral("Import Soil Readings"),
                                     QStringLiteral("Soil Readings(*.csv);; All Files(*.*)"));
    if (name.isEmpty())
        return;
    CSoilReadingsDlg dialog(this);
    if (interaction().exec(dialog) != QDialog::Accepted)
        return;
    const std::filesystem::path file(name.toStdString());
    ReadingsImport result;
    {
        const WaitCursor wait; // the season reruns from the first reading
        result = tw::import_soil_readings(doc_, file, dialog.unit(), dialog.entry());
    }
    messages().inform(result.error ? *result.error
                                   : result.entered.report(file.filename().string()));
}

void CFieldFrame::show_forecast_skill()
{
    CForecastSkillDlg dialog(forecast_skill(doc_), this);
    interaction().exec(dialog);
}

void CFieldFrame::print()
{
    print_table(field_report_printer(*view_, *chart_), this);
}

void CFieldFrame::print_preview()
{
    preview_table(field_report_printer(*view_, *chart_), this);
}

void CFieldFrame::export_table()
{
    const bool nitrogen = nitrogen_->hasFocus();
    // The window's title names the field, its location and more: too long for a file name.
    const QString name = QString::fromStdString(doc_.saved.name);
    tw::export_table(
        nitrogen ? nitrogen_text_table(doc_) : irrigation_text_table(doc_),
        name + (nitrogen ? QStringLiteral(" nitrogen.csv") : QStringLiteral(" irrigation.csv")),
        this);
}

void CFieldFrame::copy_rows()
{
    copy_text(nitrogen_->hasFocus() ? nitrogen_->selected_rows_text()
                                    : view_->selected_rows_text());
}

void CFieldFrame::show_legend()
{
    CIrrigationLegendDlg dialog(this);
    interaction().exec(dialog);
}

} // namespace tw
