#include "app/commands.h"
#include "field/ui/field_details_dialog.h"
#include "location/location_doc.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_info_sheet.h"
#include "platform/edition.h"
#include "platform/files.h"
#include "support/test_env.h"
#include "support/ui_test_env.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

using namespace tw;

namespace {

QStringList items_of(const QComboBox &box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

// The texts of a menu of the main frame's menu bar, separators left out.
QStringList menu_texts(CMainFrame &frame, const QString &title)
{
    QStringList texts;
    for (QAction *top : frame.menuBar()->actions()) {
        if (top->text() != title || !top->menu())
            continue;
        for (QAction *item : top->menu()->actions()) {
            if (!item->isSeparator())
                texts << item->text();
        }
    }
    return texts;
}

// The program started as the earlier release, and released again after the test.
struct Release1Program
{
    test::ScopedEdition edition{release1()};
    test::ProgramUnderTest program;

    // A location through File > New and its sheet, which creates station.db.
    void new_location()
    {
        program.user.on_dialog(test::choose_new_type(0));
        program.user.on_dialog([](QDialog &dialog) {
            auto &sheet = static_cast<CLocationInfoSheet &>(dialog);
            sheet.name_edit()->setText(QStringLiteral("Greeley"));
            sheet.latitude_edit()->setText(QStringLiteral("40.5"));
            sheet.accept();
            return sheet.result();
        });
        program.frame().dispatch(ID_FILE_NEW);
    }
};

} // namespace

class TestRelease1 : public QObject
{
    Q_OBJECT

private slots:
    void release1StartsWithoutTheTipWindowAndNamesItself()
    {
        Release1Program r;
        QVERIFY(r.program.start());
        QVERIFY(r.program.user.dialog_titles().isEmpty());
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tillwise 1"));
        QVERIFY(r.program.frame().windowTitle().startsWith(QStringLiteral("Tillwise 1")));
        QCOMPARE(menu_texts(r.program.frame(), QStringLiteral("&Help")),
                 QStringList{QStringLiteral("&About Tillwise 1...")});

        r.program.frame().dispatch(ID_TIP_OF_THE_DAY);
        r.program.frame().dispatch(ID_APP_ABOUT);
        QCOMPARE(r.program.user.dialog_titles(), QStringList{QStringLiteral("About Tillwise 1")});
        r.program.user.on_dialog([](QDialog &) { return int(QDialog::Rejected); });
        r.program.frame().dispatch(ID_CUSTOMIZE);
        QCOMPARE(r.program.user.dialog_titles().back(), QStringLiteral("Customize Tillwise 1"));
    }

    void release1LocationHasThreeEquationsTypedEtrOneImportAndNoSummary()
    {
        Release1Program r;
        r.program.start();
        QStringList equations;
        bool reference_shown = true;
        r.program.user.on_dialog(test::choose_new_type(0));
        r.program.user.on_dialog([&](QDialog &dialog) {
            auto &sheet = static_cast<CLocationInfoSheet &>(dialog);
            equations = items_of(*sheet.et_equation());
            sheet.et_equation()->setCurrentIndex(1);
            reference_shown = !sheet.reference_type()->buttons().front()->isHidden() &&
                              sheet.reference_type()->buttons().front()->isVisibleTo(&sheet);
            sheet.name_edit()->setText(QStringLiteral("Greeley"));
            sheet.start_date_edit()->setDate(QDate(2022, 5, 1));
            sheet.elevation_edit()->setText(QStringLiteral("4675"));
            sheet.latitude_edit()->setText(QStringLiteral("40.5"));
            sheet.accept();
            return sheet.result();
        });
        r.program.frame().dispatch(ID_FILE_NEW);
        QCOMPARE(equations, (QStringList{"Kimberly Penman", "Jensen-Haise", "Hargreaves", "ETR"}));
        QVERIFY(!reference_shown);

        auto *location = dynamic_cast<CLocationFrame *>(r.program.frame().active_frame());
        QVERIFY(location);
        QCOMPARE(location->document().et_method, std::int32_t(JensenHaise));
        QVERIFY(!location->summary());
        QCOMPARE(menu_texts(r.program.frame(), QStringLiteral("&Import")),
                 (QStringList{"JVU", "USDA", "USDA (no RH)", "Kansas State"}));
        QCOMPARE(menu_texts(r.program.frame(), QStringLiteral("&Help")),
                 QStringList{QStringLiteral("&About Tillwise 1...")});
    }

    void release1FieldOffersThreeSystemsAndNoPerennialPlanting()
    {
        Release1Program r;
        r.program.start();
        r.new_location();

        QStringList systems;
        QString efficiency;
        bool perennial_shown = true;
        r.program.user.on_dialog(test::choose_new_type(1));
        r.program.user.on_dialog([&](QDialog &dialog) {
            auto &details = static_cast<CFieldDetailsDlg &>(dialog);
            systems = items_of(*details.system_list());
            details.system_list()->setCurrentIndex(1);
            emit details.system_list()->activated(1);
            efficiency = details.efficiency_edit()->text();
            perennial_shown = details.perennial_box()->isVisibleTo(&details);
            return int(QDialog::Rejected);
        });
        r.program.frame().dispatch(ID_FILE_NEW);
        QCOMPARE(systems, (QStringList{"Sprinkler", "Furrow", "Flood"}));
        QCOMPARE(efficiency.toDouble(), 50.0);
        QVERIFY(!perennial_shown);
    }

    void release1CropDatabaseIsTheEarlierLayout()
    {
        Release1Program r;
        r.program.start();
        r.new_location();
        QCOMPARE(size_of_file(r.program.dir.file("station.db")),
                 std::optional<std::uintmax_t>(1300));
        r.program.user.on_dialog(test::choose_new_type(1));
        r.program.frame().dispatch(ID_FILE_NEW);
        QCOMPARE(size_of_file(r.program.dir.file("crop.db")), std::optional<std::uintmax_t>(928));
    }
};

QTEST_MAIN(TestRelease1)
#include "tst_release1.moc"
