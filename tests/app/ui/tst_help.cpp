#include "app/commands.h"
#include "app/help_topics.h"
#include "app/ui/document_manager.h"
#include "app/ui/help_window.h"
#include "cli/cli.h"
#include "field/ui/field_chart_view.h"
#include "field/ui/field_frame.h"
#include "field/ui/field_view.h"
#include "field/ui/irrigation_table_model.h"
#include "field/ui/next_irrigation_panel.h"
#include "leaching/ui/field_view2.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_summary.h"
#include "location/ui/location_view.h"
#include "refdata/custom_settings.h"
#include "support/ui_test_env.h"

#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

#include <sstream>

using namespace tw;

class TestHelp : public QObject
{
    Q_OBJECT

    // The demo's Greeley location and its consulted corn field, open in their windows.
    struct Demo : test::ProgramUnderTest
    {
        Demo()
        {
            std::ostringstream out, err;
            const int status = cli::run(
                {"--workdir", dir.path().string(), "demo", "--data", TILLWISE_DEMO_DATA}, out, err);
            if (status != 0)
                qFatal("demo: %s", err.str().c_str());
            start();
            app.documents().open_document(dir.path() / "Greeley2022.loc");
            app.documents().open_document(dir.path() / "lirf-corn.fld");
        }
        template<typename Frame>
        Frame *window()
        {
            for (QMdiSubWindow *window : frame().mdi_area()->subWindowList()) {
                if (auto *shown = qobject_cast<Frame *>(window->widget())) {
                    frame().mdi_area()->setActiveSubWindow(window);
                    return shown;
                }
            }
            return nullptr;
        }
        CHelpWindow &help() { return CHelpWindow::of(frame()); }
    };

    static QString page_of(const CHelpWindow &help)
    {
        const QUrl source = help.browser()->source();
        return source.fileName() + (source.hasFragment() ? "#" + source.fragment() : QString());
    }

    static QStringList anchors_of(QTextDocument &document)
    {
        QStringList anchors;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() > 0)
                anchors << block.charFormat().anchorNames()
                        << block.begin().fragment().charFormat().anchorNames();
        }
        return anchors;
    }

    /// Every column title of a table explains itself, as its tool tip and What's This; resting
    /// the pointer on the first title shows the tip.
    static void expect_explained_titles(QTableView &table)
    {
        QAbstractItemModel &model = *table.model();
        for (int c = 0; c < model.columnCount(); ++c) {
            const QString title = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            const QString tip = model.headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString();
            QVERIFY2(tip.size() > 20, qPrintable(title));
            QCOMPARE(model.headerData(c, Qt::Horizontal, Qt::WhatsThisRole).toString(), tip);
        }
        QHeaderView &header = *table.horizontalHeader();
        const QPoint at(header.sectionViewportPosition(1) + 5, header.height() / 2);
        QHelpEvent hover(QEvent::ToolTip, at, header.viewport()->mapToGlobal(at));
        QApplication::sendEvent(header.viewport(), &hover);
        QTRY_COMPARE(QToolTip::text(), model.headerData(1, Qt::Horizontal, Qt::ToolTipRole));
        QToolTip::hideText();
    }

private slots:
    void helpMenuOpensTheGuideWithItsContents()
    {
        Demo p;
        QStringList help;
        for (QAction *action : p.frame().bar_of(kFieldMenu).back()->menu()->actions())
            help << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(help,
                 (QStringList{"&Welcome ...", "-", "Tillwise &Help\tF1", "&About Tillwise..."}));

        p.frame().dispatch(ID_HELP_FINDER);
        CHelpWindow &window = p.help();
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Tillwise Help"));
        QCOMPARE(page_of(window), QStringLiteral("index.md"));
        QCOMPARE(window.browser()->document()->begin().text(),
                 QStringLiteral("Tillwise User's Guide"));

        // The contents: every page, each with its sections; a section opens where it begins.
        QTreeWidget &contents = *window.contents();
        QCOMPARE(contents.topLevelItemCount(), int(guide_pages().size()));
        QTreeWidgetItem *field_page = contents.topLevelItem(2);
        QCOMPARE(field_page->text(0), QStringLiteral("Reading the field window"));
        QTreeWidgetItem *chart = nullptr;
        for (int i = 0; i < field_page->childCount(); ++i) {
            if (field_page->child(i)->text(0) == QStringLiteral("The water-balance chart"))
                chart = field_page->child(i);
        }
        QVERIFY(chart);
        emit contents.itemClicked(chart, 0);
        QCOMPARE(page_of(window), QStringLiteral("field-window.md#the-water-balance-chart"));
        QVERIFY(anchors_of(*window.browser()->document())
                    .contains(QStringLiteral("the-water-balance-chart")));
        QVERIFY(window.browser()->verticalScrollBar()->value() > 0);

        // A link between pages leads to the page and its section.
        window.browser()->setSource(QUrl(QStringLiteral("glossary.md#taw")));
        QCOMPARE(page_of(window), QStringLiteral("glossary.md#taw"));
    }

    void f1OpensTheSectionOfTheWindowOrDialogInUse()
    {
        Demo p;
        CFieldFrame *field = p.window<CFieldFrame>();
        QVERIFY(field);
        QTest::keyClick(field->view(), Qt::Key_F1);
        QCOMPARE(page_of(p.help()), QStringLiteral("field-window.md"));
        QCOMPARE(p.help().browser()->document()->begin().text(),
                 QStringLiteral("Reading the field window"));

        CLocationFrame *location = p.window<CLocationFrame>();
        QTest::keyClick(location->view(), Qt::Key_F1);
        QCOMPARE(page_of(p.help()), QStringLiteral("location-window.md"));

        // In a modal dialog the guide opens in a help window of the dialog's own, at the
        // dialog's section, so that it can be read while the dialog stays open.
        p.window<CFieldFrame>();
        QString shown;
        bool own_window = false;
        p.user.on_dialog([&](QDialog &dialog) {
            dialog.show();
            QTest::keyClick(&dialog, Qt::Key_F1);
            CHelpWindow &help = CHelpWindow::of(dialog);
            own_window = help.parentWidget() == &dialog && help.isVisible();
            shown = page_of(help);
            return int(QDialog::Rejected);
        });
        p.frame().dispatch(ID_VIEW_LEGEND);
        QVERIFY(own_window);
        QCOMPARE(shown, QStringLiteral("field-window.md#the-legend"));
    }

    void everyColumnTitleAndChartSeriesHasATip()
    {
        Demo p;
        CFieldFrame *field = p.window<CFieldFrame>();
        expect_explained_titles(*field->view());
        expect_explained_titles(*field->nitrogen_view());
        CLocationFrame *location = p.window<CLocationFrame>();
        expect_explained_titles(*location->view());

        QTreeWidgetItem *titles = location->summary()->headerItem();
        for (int c = 0; c < location->summary()->columnCount(); ++c) {
            QVERIFY2(titles->toolTip(c).size() > 20, qPrintable(titles->text(c)));
            QCOMPARE(titles->whatsThis(c), titles->toolTip(c));
        }

        // Each series tells what it shows over its legend entry; What's This tells them all.
        QChart *chart = field->chart_view()->chart();
        QVERIFY(chart->series().size() >= 7);
        for (QAbstractSeries *series : chart->series()) {
            const QString tip = series->property("toolTip").toString();
            QVERIFY2(tip.size() > 20, qPrintable(series->name()));
            QVERIFY(field->chart_view()->whatsThis().contains(tip.toHtmlEscaped()));
            const auto markers = chart->legend()->markers(series);
            QCOMPARE(markers.size(), 1);
            emit markers.front()->hovered(true);
            QTRY_COMPARE(QToolTip::text(), tip);
            emit markers.front()->hovered(false);
        }

        for (QLabel *figure : field->next_irrigation_panel()->findChildren<QLabel *>())
            QVERIFY2(!figure->toolTip().isEmpty(), qPrintable(figure->text()));
    }

    void tipsFollowTheUnitsOfThePreferences()
    {
        Demo p;
        CFieldFrame *field = p.window<CFieldFrame>();
        const auto tip = [&] {
            return field->view()
                ->model()
                ->headerData(6, Qt::Horizontal, Qt::ToolTipRole)
                .toString();
        };
        QVERIFY(tip().contains(QStringLiteral("in in.")));
        custom_settings().depth_unit = 0; // mm
        p.app.refresh_after_preferences();
        QVERIFY(tip().contains(QStringLiteral("in mm.")));
        QLabel *amount = nullptr;
        for (QLabel *label : field->next_irrigation_panel()->findChildren<QLabel *>()) {
            if (label->text() == QStringLiteral("Gross amount:"))
                amount = label;
        }
        QVERIFY(amount);
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), amount->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(amount, &hover);
        QVERIFY(amount->toolTip().contains(QStringLiteral("in mm")));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
