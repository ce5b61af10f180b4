#include "app/commands.h"
#include "field/ui/crop_sheet.h"
#include "field/ui/crops_database_dialog.h"
#include "platform/files.h"
#include "platform/work_dir.h"
#include "refdata/database.h"
#include "refdata/ui/soil_dialogs.h"
#include "refdata/ui/station_dialogs.h"
#include "support/ui_test_env.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace tw;

namespace {

QStringList column_texts(const QTreeWidget &list, int column)
{
    QStringList texts;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        texts << list.topLevelItem(i)->text(column);
    return texts;
}

std::vector<std::uint8_t> bytes_of(const char *name)
{
    return read_file(work_file(name)).value_or(std::vector<std::uint8_t>{});
}

} // namespace

class TestDatabaseDialogs : public QObject
{
    Q_OBJECT

    struct Program : test::ProgramUnderTest
    {
        Program()
        {
            user.on_dialog([](QDialog &) { return int(QDialog::Rejected); }); // the tip window
            start();
        }
    };

private slots:
    void soilsDialogAddsAdobeFirstAndWritesOnlyOnSave()
    {
        Program p;
        std::vector<std::uint8_t> before;
        QStringList headings;
        QStringList loam;
        p.user.on_dialog([&](QDialog &dialog) {
            auto &soils = static_cast<CSoilsDatabaseDlg &>(dialog);
            before = bytes_of("soil.db");
            for (int c = 0; c < 5; ++c)
                headings << soils.list()->headerItem()->text(c);
            QTreeWidgetItem *row = soils.list()->topLevelItem(3);
            for (int c = 0; c < 5; ++c)
                loam << row->text(c);
            soils.add_button()->click();
            soils.list()->setCurrentItem(soils.list()->topLevelItem(2));
            soils.delete_button()->click();
            soils.cancel_button()->click();
            return soils.result();
        });
        p.user.on_dialog(test::accept_with<CSoilAttributesDlg>(
            [](CSoilAttributesDlg &soil) { soil.name_edit()->setText(QStringLiteral("Zed")); }));
        p.frame().dispatch(ID_SOILS);
        QCOMPARE(p.user.dialog_titles().mid(1), (QStringList{"Soils Database", "Soil Attributes"}));
        QCOMPARE(headings, (QStringList{"Soil Name", "Soil Type", "SM_FC (in/ft)", "SM_PWP (in/ft)",
                                        "AWHC (in/ft)"}));
        QCOMPARE(loam, (QStringList{"Loam", "Loam", "4.110", "1.600", "2.510"}));
        QCOMPARE(p.messages->texts().back(),
                 std::string("Are you sure you want to delete Fine Sandy Loam (Fine Sandy Loam)"));
        QVERIFY(!before.empty());
        QVERIFY(bytes_of("soil.db") == before);

        QString awhc;
        QStringList names;
        p.user.on_dialog([&](QDialog &dialog) {
            auto &soils = static_cast<CSoilsDatabaseDlg &>(dialog);
            soils.add_button()->click();
            names = column_texts(*soils.list(), 0);
            soils.save_button()->click();
            return soils.result();
        });
        p.user.on_dialog(test::accept_with<CSoilAttributesDlg>([&](CSoilAttributesDlg &soil) {
            soil.name_edit()->setText(QStringLiteral("Adobe"));
            soil.type_edit()->setText(QStringLiteral("Clay"));
            soil.field_capacity_edit()->setText(QStringLiteral("4.0"));
            soil.wilting_point_edit()->setText(QStringLiteral("1.5"));
            QFocusEvent focus(QEvent::FocusIn);
            QCoreApplication::sendEvent(soil.awhc_edit(), &focus);
            awhc = soil.awhc_edit()->text();
        }));
        p.frame().dispatch(ID_SOILS);
        QCOMPARE(awhc, QStringLiteral("2.5"));
        QCOMPARE(names.size(), 14);
        QCOMPARE(names.front(), QStringLiteral("Adobe"));
        const std::vector<SoilRecord> saved = load_soils();
        QCOMPARE(saved.size(), std::size_t(14));
        QCOMPARE(saved.front().name, std::string("Adobe"));
        QVERIFY(std::abs(saved.front().awhc - 2.5f / 12.0f) < 1e-6f);
    }

    void stationsDialogDerivesThePressureFromTheElevation()
    {
        Program p;
        QString pressure;
        bool greyed_for_grass = false;
        bool typed_for_none = false;
        QStringList names;
        p.user.on_dialog([&](QDialog &dialog) {
            auto &stations = static_cast<CStationsDatabaseDlg &>(dialog);
            stations.add_button()->click();
            names = column_texts(*stations.list(), 0);
            stations.save_button()->click();
            return stations.result();
        });
        p.user.on_dialog(
            test::accept_with<CStationAttributesDlg>([&](CStationAttributesDlg &station) {
                station.name_edit()->setText(QStringLiteral("Fort Morgan"));
                station.elevation_edit()->setText(QStringLiteral("4662")); // ft
                emit station.elevation_edit()->editingFinished();
                pressure = station.pressure_edit()->text();
                station.reference_crop()->button(1)->click();
                greyed_for_grass =
                    !station.k_zero_edit()->isEnabled() && !station.delta_t_edit()->isEnabled();
                station.reference_crop()->button(0)->click();
                typed_for_none = station.k_zero_edit()->isEnabled();
            }));
        p.frame().dispatch(ID_STATIONS);
        QCOMPARE(p.user.dialog_titles().mid(1),
                 (QStringList{"Stations Database (Weather Locations)", "Station Attributes"}));
        // 860.3 mb at 4662 ft, shown in whole millibars.
        QCOMPARE(pressure, QStringLiteral("860"));
        QVERIFY(greyed_for_grass);
        QVERIFY(typed_for_none);
        QCOMPARE(names.indexOf(QStringLiteral("Fort Morgan")),
                 names.indexOf(QStringLiteral("Fort Collins")) + 1);
        const std::vector<StationRecord> saved = load_stations();
        QCOMPARE(saved.size(), std::size_t(26));

        // Cancel after a deletion leaves the file as it was.
        const auto before = bytes_of("station.db");
        p.user.on_dialog([](QDialog &dialog) {
            auto &stations = static_cast<CStationsDatabaseDlg &>(dialog);
            stations.list()->setCurrentItem(stations.list()->topLevelItem(0));
            stations.delete_button()->click();
            stations.cancel_button()->click();
            return stations.result();
        });
        p.frame().dispatch(ID_STATIONS);
        QVERIFY(bytes_of("station.db") == before);
    }

    void databaseDialogsOpenShowingEveryColumnAndTheirWholeCaption()
    {
        Program p;
        for (const int command : {ID_SOILS, ID_STATIONS, ID_CROPS}) {
            QStringList faults;
            p.user.on_dialog([&](QDialog &dialog) {
                auto &database = static_cast<DatabaseDialog &>(dialog);
                database.show();
                QTreeWidget &list = *database.list();
                if (list.header()->length() > list.viewport()->width())
                    faults << QStringLiteral("columns hidden");
                if (list.viewport()->height() < 10 * list.sizeHintForRow(0))
                    faults << QStringLiteral("fewer than ten rows shown");
                QFont bold = database.font();
                bold.setBold(true);
                if (database.width() <
                    QFontMetrics(bold).horizontalAdvance(database.windowTitle()) + 100)
                    faults << QStringLiteral("caption cut");
                database.hide();
                return int(QDialog::Rejected);
            });
            p.frame().dispatch(command);
            QCOMPARE(faults, QStringList());
        }
    }

    void cropsDialogAddsACropThroughTheSheet()
    {
        Program p;
        QStringList names;
        p.user.on_dialog([&](QDialog &dialog) {
            auto &crops = static_cast<CCropsDatabaseDlg &>(dialog);
            crops.add_button()->click();
            names = column_texts(*crops.list(), 0) + column_texts(*crops.list(), 1);
            crops.save_button()->click();
            return crops.result();
        });
        QStringList tips;
        p.user.on_dialog(test::accept_with<CCropSheet>([&](CCropSheet &sheet) {
            sheet.general_page()->name_edit()->setText(QStringLiteral("BEANS"));
            sheet.general_page()->hybrid_edit()->setText(QStringLiteral("PINTO"));
            const CCropFertilityPage &fertility = *sheet.fertility_page();
            tips << fertility.p_level_edits()[0]->toolTip()
                 << fertility.k_level_edits()[2]->toolTip();
        }));
        p.frame().dispatch(ID_CROPS);
        QCOMPARE(p.user.dialog_titles().mid(1),
                 (QStringList{"Crops Database", "Modify Crops Database Details"}));
        QCOMPARE(names, (QStringList{"BEANS", "CORN", "PINTO", "MIDSEASON"}));
        // The soil-test fields hold the rates paid at each class, as their tips say.
        QCOMPARE(tips, (QStringList{"lb P2O5 per acre recommended when the phosphorus soil test is "
                                    "Low (Olsen below 8 ppm, Bray below 6, AB-DTPA below 4); a "
                                    "Very High test gets none",
                                    "lb K2O per acre recommended when the potassium soil test is "
                                    "High (121 to 180 ppm); a Very High test (above 180 ppm) gets "
                                    "none"}));
        const std::vector<CropRecord> saved = load_crops();
        QCOMPARE(saved.size(), std::size_t(2));
        QCOMPARE(saved.front().stage_count, 5); // the new-crop template
    }
};

QTEST_MAIN(TestDatabaseDialogs)
#include "tst_database_dialogs.moc"
