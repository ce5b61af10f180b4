#include "app/commands.h"
#include "app/ui/document_manager.h"
#include "fertility/nutrient_file.h"
#include "fertility/schedule_entry.h"
#include "field/field_doc.h"
#include "field/field_summary.h"
#include "field/forecast_rain.h"
#include "field/next_irrigation.h"
#include "field/season_glance.h"
#include "field/ui/crop_sheet.h"
#include "field/ui/daily_irrigation_dialog.h"
#include "field/ui/field_chart_view.h"
#include "field/ui/field_details_dialog.h"
#include "field/ui/field_frame.h"
#include "field/ui/field_view.h"
#include "field/ui/irrigation_legend.h"
#include "field/ui/irrigation_table_model.h"
#include "field/ui/measured_water_dialogs.h"
#include "field/ui/next_irrigation_panel.h"
#include "leaching/ui/field_view2.h"
#include "leaching/ui/nitrogen_table_model.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_summary.h"
#include "location/ui/location_view.h"
#include "platform/files.h"
#include "platform/ui/table_printer.h"
#include "platform/work_dir.h"
#include "refdata/ui/customize_sheet.h"
#include "refdata/ui/soil_dialogs.h"
#include "refdata/units.h"
#include "support/fertilizer_wizard_script.h"
#include "support/recorded_pages.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace tw;

class TestFieldWindow : public QObject
{
    Q_OBJECT

    // A Greeley location from 1 May 2022 with the demo season, and a corn field on loam planted
    // on 10 May through File > New and "Field Details".
    struct Season : test::LocationSeason
    {
        int details_refused = -1;
        QString first_message;

        void create_field()
        {
            create_and_import(QDate(2022, 5, 1), test::demo_weather_file());
            user.on_dialog(test::choose_new_type(1));
            user.on_dialog([this](QDialog &dialog) {
                auto &details = static_cast<CFieldDetailsDlg &>(dialog);
                details.name_edit()->setText(QStringLiteral("North"));
                details.crop_list()->setCurrentIndex(0);
                emit details.crop_list()->activated(0);
                const int loam = details.soil_list()->findText(QStringLiteral("Loam (Loam)"));
                details.soil_list()->setCurrentIndex(loam);
                emit details.soil_list()->activated(loam);
                details.system_list()->setCurrentIndex(9);
                emit details.system_list()->activated(9);
                // Before the weather starts: refused, the dialog stays open.
                details.date_edit()->setDate(QDate(2022, 4, 20));
                messages->clear();
                details.accept();
                details_refused = details.result();
                first_message = QString::fromStdString(messages->texts().at(0));
                details.date_edit()->setDate(QDate(2022, 5, 10));
                details.accept();
                return details.result();
            });
            frame().dispatch(ID_FILE_NEW);
        }
        CFieldFrame *window() { return dynamic_cast<CFieldFrame *>(frame().active_frame()); }
        CFieldDoc &field() { return window()->document(); }
        IrrigationTableModel &table() { return *window()->view()->table(); }
        QString cell(int row, int column)
        {
            return table().data(table().index(row, column), Qt::DisplayRole).toString();
        }
        CLocationFrame *location_window()
        {
            for (QMdiSubWindow *window : frame().mdi_area()->subWindowList()) {
                if (auto *location = qobject_cast<CLocationFrame *>(window->widget()))
                    return location;
            }
            return nullptr;
        }
        // The day of the table with weather, a growth stage and no forecast: one a grower edits.
        int computed_day() const { return 40; }
    };

private slots:
    void newFieldShowsItsTableAndItsSummaryLine()
    {
        Season s;
        s.create_field();
        QCOMPARE(s.details_refused, int(QDialog::Rejected));
        QCOMPARE(s.first_message,
                 QStringLiteral("Field Plant Date must be within bounds of weather location "
                                "information"));
        QVERIFY(s.window());
        QCOMPARE(s.frame().menu_resource(), kFieldMenu);
        QCOMPARE(s.field().saved.crop.name, std::string("CORN"));
        QCOMPARE(s.field().saved.soil.name, std::string("Loam"));
        QMdiSubWindow *window = s.frame().mdi_area()->currentSubWindow();
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("North22 - (Field:North   Location: Greeley)[*]"));

        // The table from the planting date to the end of the location's record.
        QCOMPARE(s.table().rowCount(), 215 - 9);
        QCOMPARE(s.table().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("     Date"));
        QCOMPARE(s.table().headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Current Deficit(in)"));
        QCOMPARE(s.cell(0, 0), QStringLiteral("05/10/22"));
        QCOMPARE(s.cell(0, 2), QStringLiteral("Planting"));
        QCOMPARE(s.cell(1, 2), QStringLiteral("VE: Emergence"));
        QCOMPARE(s.table().data(s.table().index(0, 3), Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        const int last = s.table().rowCount() - 1;
        QCOMPARE(s.cell(last, 2), QStringLiteral("No Data"));
        QCOMPARE(s.cell(last, 3), QString());
        QCOMPARE(s.table().icon_of(last), 10);
        QCOMPARE(s.window()->view()->columnWidth(0),
                 s.window()->view()->fontMetrics().horizontalAdvance(QStringLiteral("     Date")) +
                     40);

        // The location window lists the field with its next irrigation: a date only when one is
        // needed.
        CLocationSummary *summary = s.location_window()->summary();
        QCOMPARE(summary->topLevelItemCount(), 1);
        QCOMPARE(summary->topLevelItem(0)->text(0), QStringLiteral("North"));
        QCOMPARE(summary->topLevelItem(0)->text(1), QStringLiteral("CORN"));
        const QString next_date = summary->topLevelItem(0)->text(4);
        if (next_irrigation(s.field()).due())
            QVERIFY(next_date.endsWith(QStringLiteral("/22")) ||
                    next_date.contains(QStringLiteral("/22 ")));
        else
            QCOMPARE(next_date, QString());

        // The irrigation table on the left, the nitrogen table on the right; the lower part of
        // the main window; no close of its own.
        QCOMPARE(s.window()->splitter()->widget(0), static_cast<QWidget *>(s.window()->view()));
        QCOMPARE(s.window()->splitter()->widget(1),
                 static_cast<QWidget *>(s.window()->nitrogen_view()));
        NitrogenTableModel &nitrogen = *s.window()->nitrogen_view()->table();
        QCOMPARE(nitrogen.rowCount(), s.table().rowCount());
        QCOMPARE(nitrogen.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Deep Perc(in)"));
        QCOMPARE(nitrogen.data(nitrogen.index(0, 0), Qt::DisplayRole).toString(),
                 QStringLiteral("05/10/22"));
        // The window fills the width of the lower part, reaching up over the location's window
        // as far as it needs to show ten rows of the table whole above the chart.
        const QSize area = s.frame().mdi_area()->viewport()->size();
        QCOMPARE(window->geometry().left(), 0);
        QCOMPARE(window->geometry().width(), area.width());
        QVERIFY(window->geometry().top() <= area.height() / 2);
        QVERIFY(window->geometry().bottom() < area.height());
        QCOMPARE(s.window()->chart_splitter()->widget(1),
                 static_cast<QWidget *>(s.window()->chart_view()));
        if (area.height() >= 700) {
            QCoreApplication::processEvents();
            const int row_height = s.window()->view()->verticalHeader()->defaultSectionSize();
            QVERIFY2(s.window()->view()->viewport()->height() >= 10 * row_height,
                     qPrintable(QString::number(s.window()->view()->viewport()->height())));
        }
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        bool close_item_enabled = true;
        for (QAction *action : window->systemMenu()->actions()) {
            if (action->shortcut() == QKeySequence(QKeySequence::Close))
                close_item_enabled = action->isEnabled();
        }
        QVERIFY(!close_item_enabled);
        // The title bar's close button is there but greyed, and a click on it hits nothing.
        QStyleOptionTitleBar bar;
        bar.initFrom(window);
        bar.rect = QRect(0, 0, window->width(), 30);
        bar.subControls = QStyle::SC_All;
        bar.titleBarFlags = window->windowFlags();
        const QRect close_button = window->style()->subControlRect(
            QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarCloseButton, window);
        if (close_button.isValid()) {
            QVERIFY(window->style()->hitTestComplexControl(QStyle::CC_TitleBar, &bar,
                                                           close_button.center(), window) !=
                    QStyle::SC_TitleBarCloseButton);
        }
        QVERIFY(!window->close());
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 2);

        // Accepted preferences re-title the table and refresh every row.
        s.user.on_dialog(test::accept_with<CCustomizeSheet>([](CCustomizeSheet &sheet) {
            sheet.units_page()->display_group()->button(0)->click();
        }));
        s.frame().dispatch(ID_CUSTOMIZE);
        QCOMPARE(s.table().headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Current Depth(in)"));
        QCOMPARE(
            s.cell(20, 7),
            QString::asprintf("%1.2f", convert_to(Depth, s.field().season.days[20].soil_moisture)));
    }

    void newFieldNeedsASoilAndGreysTheEfficiencyUntilASystemIsTyped()
    {
        Season s;
        s.create_and_import(QDate(2022, 5, 1), test::demo_weather_file());
        s.user.on_dialog(test::choose_new_type(1));
        bool greyed = false, typed = false;
        QStringList said;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &details = static_cast<CFieldDetailsDlg &>(dialog);
            details.name_edit()->setText(QStringLiteral("North"));
            details.crop_list()->setCurrentIndex(0);
            emit details.crop_list()->activated(0);
            details.date_edit()->setDate(QDate(2022, 5, 10));
            greyed = !details.efficiency_edit()->isEnabled();
            QTest::keyClicks(details.system_list()->lineEdit(), QStringLiteral("x"));
            typed =
                details.efficiency_edit()->isEnabled() && !details.efficiency_edit()->isReadOnly();
            s.messages->clear();
            details.accept();
            for (const std::string &text : s.messages->texts())
                said << QString::fromStdString(text);
            return details.result();
        });
        s.frame().dispatch(ID_FILE_NEW);
        QVERIFY(greyed);
        QVERIFY(typed);
        QCOMPARE(said, QStringList{QStringLiteral("Please select a valid soil")});
        QVERIFY(!s.window());
    }

    void tableShowsTenRowsAboveTheChartAndTheSplitIsRemembered()
    {
        Season s;
        s.frame_size = QSize(1280, 900);
        s.create_field();
        CFieldView *view = s.window()->view();
        QTRY_VERIFY(view->viewport()->height() > 0);
        const int row_height = view->verticalHeader()->defaultSectionSize();
        QVERIFY2(view->viewport()->height() >= 10 * row_height,
                 qPrintable(QString::number(view->viewport()->height())));

        // The user gives the chart more room; the next window opens with the same split.
        QSplitter *split = s.window()->chart_splitter();
        QSplitterHandle *handle = split->handle(1);
        const QPoint middle = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, middle);
        QTest::mouseMove(handle, middle - QPoint(0, 60));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, middle - QPoint(0, 60));
        const QList<int> moved = split->sizes();
        QVERIFY(moved[0] < view->height() + 60);
        s.frame().dispatch(ID_VIEW_IRRIGATION);
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 3);
        // The splitter shares out its height in whole pixels: a pixel either way is the same split.
        const QList<int> reopened = s.window()->chart_splitter()->sizes();
        QCOMPARE(reopened.size(), 2);
        for (int i = 0; i < 2; ++i)
            QVERIFY2(std::abs(reopened[i] - moved[i]) <= 1,
                     qPrintable(QStringLiteral("%1 %2").arg(reopened[i]).arg(moved[i])));
    }

    void panesShowTheIrrigationColumnsAndFillTheWindow()
    {
        Season s;
        s.frame_size = QSize(1600, 1000);
        s.create_field();
        CFieldView *view = s.window()->view();
        QHeaderView *header = view->horizontalHeader();
        QTRY_VERIFY(view->viewport()->width() > 0);
        QVERIFY(header->length() <= view->viewport()->width());
        // Every title in the width its header asks for.
        for (int c = 0; c < header->count(); ++c)
            QVERIFY(header->sectionSize(c) >= header->sectionSizeHint(c));
        // No empty grey beside a table's columns.
        for (QTableView *table : {static_cast<QTableView *>(view),
                                  static_cast<QTableView *>(s.window()->nitrogen_view()),
                                  static_cast<QTableView *>(s.location_window()->view())})
            QVERIFY(table->horizontalHeader()->length() >= table->viewport()->width());
    }

    void aDayEntryRerunsTheSeasonFromThatDay()
    {
        Season s;
        s.create_field();
        const int d = s.computed_day();
        const QString deficit_after = s.cell(d + 1, 7);
        QStringList seen;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &day = static_cast<CDailyIrrigationDlg &>(dialog);
            seen << day.windowTitle() << day.stage_list()->currentText()
                 << day.status_text()->text();
            day.irrigation_edit()->setText(QStringLiteral("1.5"));
            day.accept();
            return day.result();
        });
        CFieldView *view = s.window()->view();
        view->setCurrentIndex(s.table().index(d, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen[0], QStringLiteral("Sunday, June 19, 2022"));
        QCOMPARE(seen[1], QString::fromStdString(
                              s.field()
                                  .saved.crop
                                  .stages[static_cast<std::size_t>(
                                      s.field().season.days[static_cast<std::size_t>(d)].stage)]
                                  .name));
        QVERIFY(!seen[2].isEmpty());
        QVERIFY(std::abs(s.field().season.days[static_cast<std::size_t>(d)].gross_irrigation -
                         38.1f) < 1e-3f);
        QVERIFY(!s.cell(d, 5).isEmpty()); // the effective irrigation
        QVERIFY(s.table().icon_of(d) == 3 || s.table().icon_of(d) == 4);
        QVERIFY(s.cell(d + 1, 7) != deficit_after);
        QVERIFY(s.field().is_modified());

        // The first row opens the field's details instead.
        s.user.on_dialog([](QDialog &) { return int(QDialog::Rejected); });
        emit view->day_activated(0);
        QCOMPARE(s.user.dialog_titles().back(), QStringLiteral("Field Details"));
    }

    void soilAndCropStagesAreEditedThroughTheFieldMenu()
    {
        Season s;
        s.create_field();
        const QString critical = s.cell(50, 8);
        s.user.on_dialog([](QDialog &dialog) {
            auto &soil = static_cast<CSoilAttributesDlg &>(dialog);
            soil.awhc_edit()->setText(QStringLiteral("1.2"));
            soil.accept();
            return soil.result();
        });
        s.frame().dispatch(ID_FIELD_SOIL);
        QCOMPARE(s.user.dialog_titles().back(), QStringLiteral("Soil Attributes"));
        QVERIFY(std::abs(s.field().saved.soil.awhc - 0.1f) < 1e-6f);
        QVERIFY(s.cell(50, 8) != critical);

        QStringList messages_seen;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &sheet = static_cast<CCropSheet &>(dialog);
            messages_seen << sheet.pages()->tabText(0) << sheet.pages()->tabText(1)
                          << sheet.pages()->tabText(2);
            QTreeWidget *list = sheet.stages_page()->list();
            list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() - 1));
            sheet.stages_page()->insert_button()->click();
            messages_seen << QString::fromStdString(s.messages->texts().back());
            list->setCurrentItem(list->topLevelItem(1));
            sheet.stages_page()->insert_button()->click();
            sheet.accept();
            return sheet.result();
        });
        s.user.on_dialog([](QDialog &dialog) {
            auto &details = static_cast<CGrowthStageDetailsDlg &>(dialog);
            details.name_edit()->setText(QStringLiteral("V3: Third Leaf"));
            details.days_edit()->setText(QStringLiteral("18"));
            details.gdd_edit()->setText(QStringLiteral("110"));
            details.accept();
            return details.result();
        });
        s.frame().dispatch(ID_FIELD_CROP);
        QCOMPARE(s.user.dialog_titles().mid(s.user.dialog_titles().size() - 2),
                 (QStringList{"Customize Field's Crop Details", "Growth Stage Details"}));
        QCOMPARE(messages_seen,
                 (QStringList{"General Data", "Growth Stages", "Fertility Information",
                              "Cannot insert a stage directly after Harvest"}));
        QCOMPARE(s.field().saved.crop.stage_count, 13);
        QCOMPARE(s.field().saved.crop.stages[2].name, std::string("V3: Third Leaf"));
        // The season ran again: the table shows the new stage at once.
        int new_stage_rows = 0;
        for (int row = 0; row < s.table().rowCount(); ++row)
            new_stage_rows += s.cell(row, 2) == QStringLiteral("V3: Third Leaf") ? 1 : 0;
        QVERIFY(new_stage_rows > 0);
        QVERIFY(std::abs(s.field().saved.crop.stages[2].end_gdd - 110.0f / 1.82f) < 1e-3f);
        QVERIFY(s.field().is_modified());
    }

    void savedFieldReopensWithItsTable()
    {
        Season s;
        s.create_field();
        const QString path = QString::fromStdString(s.dir.file("North22.fld").string());
        s.user.answer_save(path);
        s.frame().dispatch(ID_FILE_SAVE);
        QCOMPARE(s.user.proposed_names().back(), QStringLiteral("North22.fld"));
        QVERIFY(!s.field().is_modified());
        const QString row = s.cell(60, 0) + s.cell(60, 4) + s.cell(60, 7);

        s.frame().dispatch(ID_FILE_CLOSE);
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 1);
        QCOMPARE(s.location_window()->summary()->topLevelItemCount(), 0);

        s.frame().mdi_area()->setActiveSubWindow(s.frame().mdi_area()->subWindowList().front());
        s.user.answer_open(path);
        s.frame().dispatch(ID_FILE_OPEN);
        QVERIFY(s.window());
        QCOMPARE(s.frame().mdi_area()->currentSubWindow()->windowTitle(),
                 QStringLiteral("North22 - (Field:North   Location: Greeley)[*]"));
        QCOMPARE(s.cell(60, 0) + s.cell(60, 4) + s.cell(60, 7), row);
        QCOMPARE(s.location_window()->summary()->topLevelItemCount(), 1);

        // A field opens only over its location's window.
        const std::filesystem::path copy = s.dir.file("South22.fld");
        std::filesystem::copy_file(path.toStdString(), copy);
        s.user.answer_open(QString::fromStdString(copy.string()));
        s.frame().dispatch(ID_FILE_OPEN);
        QCOMPARE(s.messages->texts().back(),
                 std::string("Please set focus on the fields Location window first"));
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 2);
    }

    // The window saves through the field's own save, so a failure reads as on the command line.
    void aFailedSaveSaysWhatTheCommandLineSays()
    {
        Season s;
        s.create_field();
        const std::filesystem::path missing = s.dir.file("no such folder/North22.fld");
        s.messages->clear();
        s.user.answer_save(QString::fromStdString(missing.string()));
        s.frame().dispatch(ID_FILE_SAVE);
        QCOMPARE(s.messages->texts().size(), std::size_t{1});
        QVERIFY(s.messages->texts()[0].starts_with("Unable to save the field file " +
                                                   missing.string() + ": "));
        QVERIFY(s.field().is_modified());
        QVERIFY(s.field().path().empty());
    }

    void aFieldOpenedOverAnotherLocationAsksWhichOne()
    {
        Season s;
        s.create_field();
        QMdiArea &area = *s.frame().mdi_area();
        const auto activate = [&](int index) {
            area.setActiveSubWindow(area.subWindowList().at(index));
        };
        const auto path = [&](const char *name) {
            return QString::fromStdString(s.dir.file(name).string());
        };
        // Made with full.loc, which is then saved again as other.loc, the one left open.
        activate(0);
        s.user.answer_save(path("full.loc"));
        s.frame().dispatch(ID_FILE_SAVE_AS);
        activate(1);
        s.user.answer_save(path("North22.fld"));
        s.frame().dispatch(ID_FILE_SAVE);
        s.frame().dispatch(ID_FILE_CLOSE);
        activate(0);
        s.user.answer_save(path("other.loc"));
        s.frame().dispatch(ID_FILE_SAVE_AS);

        const auto open_answering = [&](std::size_t choice) {
            activate(0);
            s.messages->clear();
            s.messages->queue_choice(choice);
            s.user.answer_open(path("North22.fld"));
            s.frame().dispatch(ID_FILE_OPEN);
        };
        open_answering(2); // Cancel
        QCOMPARE(s.messages->texts(),
                 std::vector<std::string>{
                     "This field was made with the location \"full.loc\" (first day 05/01/22), "
                     "but the open location is \"other.loc\" (first day 05/01/22).\n"
                     "[Open full.loc]\n[Use the open location]\n[Cancel]"});
        QCOMPARE(area.subWindowList().size(), 1);

        open_answering(1); // the open one
        QCOMPARE(area.subWindowList().size(), 2);
        QCOMPARE(s.field().binding.location, &s.location_window()->document());
        QCOMPARE(s.field().binding.location->path().filename().string(), std::string("other.loc"));
        s.field().set_modified(false);
        s.frame().dispatch(ID_FILE_CLOSE);

        open_answering(0); // the remembered one, opened in its own window
        QCOMPARE(area.subWindowList().size(), 3);
        QCOMPARE(s.field().binding.location->path().filename().string(), std::string("full.loc"));
        QCOMPARE(s.field().binding.location->fields().size(), std::size_t(1));
    }

    void moreWindowsOpenOnTheSameField()
    {
        Season s;
        s.create_field();
        s.frame().dispatch(ID_VIEW_NITROGEN);
        QCOMPARE(s.messages->texts().back(),
                 std::string("You must run the fertility scheduler first"));
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 2);
        QVERIFY(s.frame().command_enabled(ID_FERTILIZER_WIZARD));

        s.frame().dispatch(ID_VIEW_IRRIGATION);
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 3);
        const std::vector<std::uint8_t> nutrients(664, 0);
        QVERIFY(write_file_atomic(work_file(s.field().nutrient_file_name()), nutrients));
        s.frame().dispatch(ID_VIEW_NITROGEN);
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 4);
        QCOMPARE(s.window()->focusProxy(), static_cast<QWidget *>(s.window()->nitrogen_view()));
        QVERIFY(s.frame().mdi_area()->currentSubWindow()->windowTitle().endsWith(":3[*]"));

        // Closing the location closes its unmodified fields with it.
        s.field().set_modified(false);
        s.frame().mdi_area()->setActiveSubWindow(s.frame().mdi_area()->subWindowList().front());
        s.location_window()->document().set_modified(false);
        s.frame().dispatch(ID_FILE_CLOSE);
        QVERIFY(s.frame().mdi_area()->subWindowList().isEmpty());
    }

    void leachingSummaryShowsTheReportOnceTheFieldWasConsulted()
    {
        Season s;
        s.create_field();
        QVERIFY(s.frame().command_enabled(ID_LEACHING_SUMMARY));
        s.messages->clear();
        s.frame().dispatch(ID_LEACHING_SUMMARY);
        QCOMPARE(s.messages->texts(),
                 std::vector<std::string>{
                     "Can't Open Nutrient File.  You Must Run Fertility Scheduler First!"});
        QVERIFY(!s.user.dialog_titles().contains(QStringLiteral("Leaching Analysis Results")));

        const std::vector<std::uint8_t> nutrients(664, 0);
        QVERIFY(write_file_atomic(work_file(s.field().nutrient_file_name()), nutrients));
        s.frame().dispatch(ID_LEACHING_SUMMARY);
        QCOMPARE(s.user.dialog_titles().back(), QStringLiteral("Leaching Analysis Results"));
    }

    void fertilizerConsultationWritesTheNutrientFilesAndTheFieldReadsThem()
    {
        Season s;
        s.create_field();
        // A new field's consultation, left at its first page, wrote nothing.
        QCOMPARE(s.user.dialog_titles().back(),
                 QStringLiteral("Fertilizer Wizard (Pre-Season Evaluation)"));
        QVERIFY(!file_exists(work_file("North22.FRT")));
        QCOMPARE(s.field().seasonal_nitrogen, 0.0f);

        test::queue_plain_questions(s.user);
        test::queue_preplant_urea(s.user);
        s.frame().dispatch(ID_FERTILIZER_WIZARD);

        QCOMPARE(s.user.pending_dialogs(), std::size_t(0));
        QVERIFY(size_of_file(work_file("North22.FRT")) == kNutrientFileSize);
        QVERIFY(size_of_file(work_file("North22.LCH")) == kScheduleEntrySize);
        // Run again from planting, the field takes the file's yield goal as its nitrogen basis.
        const NutrientFileRead stored = load_nutrient_file("North22");
        QVERIFY(stored.status == FileReadStatus::Ok);
        QVERIFY(stored.block.inputs.yield_goal > 0.0f);
        QCOMPARE(s.field().seasonal_nitrogen, stored.block.inputs.yield_goal);
    }

    void soilReadingsSkillAndCapacityThroughTheFieldWindow()
    {
        Season s;
        s.create_field();
        const std::filesystem::path file = work_dir() / "probe.csv";
        const std::string text = "date,value\n2022-06-19,22\n2022-06-26,25\n";
        QVERIFY(write_file_atomic(file, std::vector<std::uint8_t>(text.begin(), text.end())));
        s.user.answer_open(QString::fromStdString(file.string()));
        s.user.on_dialog([](QDialog &dialog) {
            auto &readings = static_cast<CSoilReadingsDlg &>(dialog);
            // Evening readings, and learning offered on.
            if (readings.taken_list()->currentIndex() != 0 || !readings.learn_box()->isChecked())
                return int(QDialog::Rejected);
            readings.kind_list()->setCurrentIndex(1);
            if (readings.unit_list()->itemText(1) != QStringLiteral("percent"))
                return int(QDialog::Rejected);
            readings.unit_list()->setCurrentIndex(1);
            return int(QDialog::Accepted);
        });
        s.messages->clear();
        s.frame().dispatch(ID_IMPORT_SOIL_READINGS);
        QCOMPARE(s.user.dialog_titles().back(), QStringLiteral("Import Soil Readings"));
        QCOMPARE(s.messages->texts().back(),
                 std::string("Entered 2 soil readings from probe.csv."));
        const FieldDay &day = s.field().season.days[static_cast<std::size_t>(s.computed_day())];
        QCOMPARE(day.sm_override, 1);
        QVERIFY(std::abs(day.deficit - (s.field().saved.soil.sm_fc - 0.22f) * day.root_depth) <
                1e-4f);
        QVERIFY(s.field().saved.learn_from_readings);
        QCOMPARE(s.cell(s.computed_day(), 7),
                 QString::asprintf("%1.2f", convert_to(Depth, day.deficit)));
        // The reading's day carries the measured mark beside its soil moisture; the day before
        // it, computed by the balance, does not.
        const int column = irrigation_measured_column();
        const QModelIndex read = s.table().index(s.computed_day(), column);
        QVERIFY(!s.table().data(read, Qt::DecorationRole).isNull());
        QCOMPARE(s.table().data(read, Qt::ToolTipRole).toString(),
                 QString::fromUtf8(measured_mark_meaning().data()));
        QVERIFY(s.table()
                    .data(s.table().index(s.computed_day() - 1, column), Qt::DecorationRole)
                    .isNull());
        // The chart draws the two readings as points on their days' deficit.
        QScatterSeries *points = nullptr;
        for (QAbstractSeries *series : s.window()->chart_view()->chart()->series()) {
            if (series->name() == QStringLiteral("Measured"))
                points = qobject_cast<QScatterSeries *>(series);
        }
        QVERIFY(points);
        QCOMPARE(points->count(), 2);
        QCOMPARE(points->at(0).y(), qreal(convert_to(Depth, day.deficit)));

        QString rows, summary, words;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &skill = static_cast<CForecastSkillDlg &>(dialog);
            rows = QString::number(skill.table()->rowCount()) + " " +
                   skill.table()->item(1, 0)->text() + " " + skill.table()->item(1, 4)->text();
            summary = skill.summary()->text();
            words = skill.words()->text();
            return int(QDialog::Rejected);
        });
        s.frame().dispatch(ID_FORECAST_SKILL);
        QCOMPARE(rows, QStringLiteral("2 06/26/22 7"));
        QVERIFY2(summary.startsWith(QStringLiteral("n=2, RMSE=")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("\nCorrected for the drift: n=2, RMSE=")),
                 qPrintable(summary));
        QVERIFY2(words.startsWith(QStringLiteral("The balance runs ")), qPrintable(words));
        // The chart draws the forecast the drift corrected, and says so.
        QStringList names;
        for (QAbstractSeries *series : s.window()->chart_view()->chart()->series())
            names << series->name();
        const QString band =
            QStringLiteral("Forecast, corrected by %1 in/day")
                .arg(double(convert_to(Depth, s.field().season.learned_drift)), 0, 'f', 2);
        QVERIFY2(names.contains(band), qPrintable(names.join(QStringLiteral("|"))));

        s.user.on_dialog([](QDialog &dialog) {
            auto &details = static_cast<CFieldDetailsDlg &>(dialog);
            details.capacity_edit()->setText(QStringLiteral("3"));
            details.accept();
            return details.result();
        });
        s.frame().dispatch(ID_GENERAL_INFO);
        QVERIFY(std::abs(s.field().saved.days_per_mm - 3.0f * 0.03937f) < 1e-7f);
        CLocationSummary *pane = s.location_window()->summary();
        QCOMPARE(pane->headerItem()->text(kStartByColumn), QStringLiteral("Start By"));
        QCOMPARE(pane->topLevelItem(0)->text(kStartByColumn),
                 QString::fromStdString(field_summary_row(s.field())[kStartByColumn]));
        // The panel shows the same start-by day, once the field has a capacity.
        const QString start_by = pane->topLevelItem(0)->text(kStartByColumn);
        QCOMPARE(s.window()->next_irrigation_panel()->start_by_text(),
                 start_by.isEmpty() ? QStringLiteral("-") : start_by);
    }

    // The weather after 9 July taken back and a week's forecast in its place: the chart hatches
    // the forecast's days, and the panel says when the forecast's rain puts the irrigation off.
    void aWeatherForecastShowsOnTheChartAndItsRainOnThePanel()
    {
        Season s;
        s.create_field();
        CLocationDoc &location = *s.field().binding.location;
        const int first = 69; // 9 July
        for (int i = first; i < location.day_count(); ++i)
            location.day(i) = WeatherDay{};
        location.forecast = {first, std::vector<WeatherDay>(7, WeatherDay{1, 15.0f, 34.0f})};
        for (WeatherDay &day : location.forecast.days)
            day.etr_used = 9.0f;
        // A soil at field capacity measured on the last day with weather: the forecast runs on.
        FieldDay &measured =
            s.field()
                .season.days[static_cast<std::size_t>(first - 1 - s.field().binding.day_offset)];
        measured.sm_override = 1;
        measured.deficit = 0.0f;
        const auto series_names = [&] {
            QStringList names;
            for (QAbstractSeries *series : s.window()->chart_view()->chart()->series())
                names << series->name();
            return names;
        };
        // The forecast's days carry the forecast mark beside their crop ET; the last day with
        // weather, and the days after the forecast (run on the means), do not.
        const auto marked = [&](int location_day) {
            const QModelIndex cell = s.table().index(location_day - s.field().binding.day_offset,
                                                     irrigation_forecast_weather_column());
            return !s.table().data(cell, Qt::DecorationRole).isNull() &&
                   s.table().data(cell, Qt::ToolTipRole).toString() ==
                       QString::fromUtf8(forecast_weather_mark_meaning().data());
        };
        for (const float rain : {0.0f, 40.0f}) {
            location.forecast.days[1].rain = rain;
            s.field().run_and_update(0, ViewHint::everything());
            QVERIFY(series_names().contains(QStringLiteral("Forecast weather")));
            QVERIFY(!marked(first - 1));
            QVERIFY(marked(first));
            QVERIFY(marked(first + 6));
            QVERIFY(!marked(first + 7));
            const auto delay = forecast_rain_delay(s.field());
            QCOMPARE(delay.has_value(), rain > 0.0f);
            QCOMPARE(s.window()->next_irrigation_panel()->rain_delay_text(),
                     delay ? QString::fromStdString(rain_delay_text(*delay)) : QString());
        }
        location.forecast = {};
        s.field().run_and_update(0, ViewHint::everything());
        QVERIFY(!series_names().contains(QStringLiteral("Forecast weather")));
        QVERIFY(!marked(first));
        QVERIFY(s.window()->next_irrigation_panel()->rain_delay_text().isEmpty());
    }

    void panelChartAndExportFollowTheRuns()
    {
        Season s;
        s.create_field();
        CFieldFrame *w = s.window();
        // The panel answers with the run's next irrigation; an irrigation entered reruns it.
        const NextIrrigationText before = next_irrigation_text(s.field());
        QVERIFY(!before.when.empty());
        QCOMPARE(w->next_irrigation_panel()->when_text(), QString::fromStdString(before.when));
        QCOMPARE(w->next_irrigation_panel()->start_by_text(), QString()); // no capacity
        QVERIFY(w->next_irrigation_panel()->advice_text().startsWith(QStringLiteral("No ")) ||
                w->next_irrigation_panel()->advice_text().startsWith(QStringLiteral("Irrigat")));
        const int f = s.field().season.last_forecast_day;
        QCOMPARE(w->next_irrigation_panel()->amount_text().endsWith(QStringLiteral(" in")),
                 s.field().season.days[static_cast<std::size_t>(f)].irrigation_needed > 0.0f);

        // The chart is under the tables, a line point for each computed day, redrawn on a run.
        QVERIFY(w->chart_view()->isVisibleTo(w));
        const auto deficit_points = [&] {
            for (QAbstractSeries *series : w->chart_view()->chart()->series()) {
                if (series->name() == QStringLiteral("Deficit"))
                    return static_cast<QLineSeries *>(series)->count();
            }
            return -1;
        };
        QCOMPARE(deficit_points(), int(season_chart(s.field()).days.size()));
        QVERIFY(deficit_points() > 30);
        s.frame().dispatch(ID_VIEW_CHART);
        QVERIFY(!w->chart_view()->isVisibleTo(w));

        // The picture cells explain themselves; the legend lists all ten pictures.
        const int last = s.table().rowCount() - 1;
        QCOMPARE(s.table().data(s.table().index(last, 0), Qt::ToolTipRole).toString(),
                 QStringLiteral("No weather data for the day"));
        QString rain_meaning, measured_meaning, forecast_meaning;
        s.user.on_dialog([&](QDialog &dialog) {
            rain_meaning = dialog.findChild<QLabel *>(QStringLiteral("meaning6"))->text();
            if (const auto *measured =
                    dialog.findChild<QLabel *>(QStringLiteral("meaningMeasured")))
                measured_meaning = measured->text();
            if (const auto *forecast =
                    dialog.findChild<QLabel *>(QStringLiteral("meaningForecastWeather")))
                forecast_meaning = forecast->text();
            return int(QDialog::Accepted);
        });
        s.frame().dispatch(ID_VIEW_LEGEND);
        QCOMPARE(s.user.dialog_titles().last(), QStringLiteral("Legend"));
        QCOMPARE(rain_meaning, QStringLiteral("Rain"));
        QVERIFY(measured_meaning.startsWith(QStringLiteral("Measured")));
        QVERIFY(forecast_meaning.startsWith(QStringLiteral("Forecast weather")));

        // Export writes the table as the command line prints it, with the titles bare, under a
        // name made of the field's and the table's; Copy takes the titles and the selected rows.
        const QString csv =
            QString::fromStdString(work_dir().string()) + QStringLiteral("/north.csv");
        s.user.answer_save(csv);
        w->view()->setFocus();
        s.frame().dispatch(ID_FILE_EXPORT);
        QCOMPARE(s.user.proposed_names().last(),
                 QString::fromStdString(s.field().saved.name) + QStringLiteral(" irrigation.csv"));
        const auto bytes = read_file(csv.toStdString());
        QVERIFY(bytes.has_value());
        const std::string text(bytes->begin(), bytes->end());
        QVERIFY(text.starts_with("Date,GDD("));
        QVERIFY(text.find(",Growth Stage,") != std::string::npos);
        QVERIFY(text.find("\n05/10/22,") != std::string::npos);
        QCOMPARE(std::count(text.begin(), text.end(), '\n'), s.table().rowCount() + 1L);

        w->view()->selectRow(1);
        w->view()->selectionModel()->select(s.table().index(2, 0), QItemSelectionModel::Select |
                                                                       QItemSelectionModel::Rows);
        s.frame().dispatch(ID_EDIT_COPY);
        const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(copied.size(), 4); // the titles, two rows and the end of the last
        QVERIFY(copied[0].startsWith(QStringLiteral("Date\tGDD(")));
        QVERIFY(copied[0].contains(QStringLiteral("\tGrowth Stage\t")));
        QVERIFY(copied[1].startsWith(QStringLiteral("05/11/22\t")));
        QVERIFY(copied[2].startsWith(QStringLiteral("05/12/22\t")));
        QCOMPARE(copied[0].count('\t'), kIrrigationColumns - 1);
        QCOMPARE(copied[1].count('\t'), kIrrigationColumns - 1);
    }

    void unitPresetsSetEveryList()
    {
        CCustomizeUnitsDlg page;
        PreferencesForm form;
        page.set_form(form);
        for (QPushButton *button : page.findChildren<QPushButton *>()) {
            if (button->text() == QStringLiteral("US customary"))
                button->click();
        }
        QCOMPARE(page.list_of(Depth)->currentText(), QStringLiteral("in"));
        QCOMPARE(page.list_of(Temperature)->currentText(), QStringLiteral("Farenheight"));
        for (QPushButton *button : page.findChildren<QPushButton *>()) {
            if (button->text() == QStringLiteral("Metric"))
                button->click();
        }
        PreferencesForm metric;
        page.take_into(metric);
        QCOMPARE(metric.depth_unit, 0);
        QCOMPARE(metric.temperature_unit, 0);
        QCOMPARE(metric.wind_unit, 1);
        // Still a list to edit by hand.
        page.list_of(Depth)->setCurrentIndex(2);
        page.take_into(metric);
        QCOMPARE(metric.depth_unit, 2);
    }

    void printsEveryColumnOnEveryPageOfLetterAndA4()
    {
        Season s;
        s.create_field();
        const TablePrinter table(*s.window()->view(), {QStringLiteral("Tillwise"),
                                                       s.window()->view()->print_header_lines()});
        for (const auto paper : {QPageSize::Letter, QPageSize::A4}) {
            const QString pdf = QString::fromStdString(s.dir.file("north.pdf").string());
            QCOMPARE(test::print_faults(table, *s.window()->view(), paper, pdf), QStringList());
        }
        QCOMPARE(s.window()->view()->print_header_lines().front(),
                 QStringLiteral("North22 - (Field:North   Location: Greeley)"));
    }
};

QTEST_MAIN(TestFieldWindow)
#include "tst_field_window.moc"
