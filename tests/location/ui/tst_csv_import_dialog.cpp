#include "location/csv_import_form.h"
#include "location/ui/csv_import_dialog.h"
#include "refdata/units.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace tw;

namespace {

// A station's export as a new user meets it: units written in the names, none in some.
const std::string kStationFile =
    "Date,Tmax(F),Tmin(F),RHmax,RHmin,Solar(W/m2),Wind(m/s),Precip(in)\n"
    "2022-05-01,75.2,41,91,18,287.5,2.0,0\n"
    "2022-05-02,113,45,97,41,170.2,0.05,0.18\n"
    "2022-05-03,,50,66,12,301.0,3.5,M\n";

CsvImportForm station_form()
{
    return CsvImportForm(csv_preview(kStationFile, 8), std::nullopt);
}

} // namespace

class TestCsvImportDialog : public QObject
{
    Q_OBJECT

    test::ScopedSettings settings;
    test::ScopedMessages messages;

private slots:
    void init()
    {
        messages->clear();
        // Shown in °C, mm, km/day and langleys whatever the file holds.
        settings->temperature_unit = 0;
        settings->depth_unit = 0;
        settings->wind_unit = 1;
        settings->radiation_unit = 2;
    }

    // The pickers start from the header: each column where its name says, each unit as written,
    // a humidity without a unit in percent because its values are.
    void headerPreselectsColumnsAndUnits()
    {
        CsvImportForm form = station_form();
        CCsvImportDlg d(form, {}, {});
        const auto column = [&](CsvQuantity q) { return d.column_box(q)->currentText(); };
        const auto unit = [&](CsvQuantity q) { return d.unit_box(q)->currentText(); };
        QCOMPARE(column(CsvQuantity::Date), QStringLiteral("Date"));
        QCOMPARE(column(CsvQuantity::TMax), QStringLiteral("Tmax(F)"));
        QCOMPARE(unit(CsvQuantity::TMax), QStringLiteral("F"));
        QCOMPARE(unit(CsvQuantity::TMin), QStringLiteral("F"));
        QCOMPARE(column(CsvQuantity::RhMin), QStringLiteral("RHmin"));
        QCOMPARE(unit(CsvQuantity::RhMax), QStringLiteral("percent"));
        QCOMPARE(unit(CsvQuantity::Solar), QStringLiteral("W/m2"));
        QCOMPARE(unit(CsvQuantity::Wind), QStringLiteral("m/s"));
        QCOMPARE(unit(CsvQuantity::Rain), QStringLiteral("in"));
        QCOMPARE(column(CsvQuantity::DewPoint), QStringLiteral("(not in the file)"));
        QCOMPARE(column(CsvQuantity::Year), QStringLiteral("(not in the file)"));
        QVERIFY(!d.replace_box()->isChecked());
    }

    // What will be stored: the values in the user's units; a value out of range and a cell
    // without a number are marked, and the marks follow the unit chosen.
    void previewShowsConvertedValuesAndMarksWhatIsLeftUnset()
    {
        CsvImportForm form = station_form();
        CCsvImportDlg d(form, {}, {});
        QTableWidget &t = *d.stored_preview();
        QCOMPARE(t.rowCount(), 3);
        QCOMPARE(t.horizontalHeaderItem(1)->text(), QStringLiteral("Maximum Temperature (°C)"));
        QCOMPARE(t.item(0, 0)->text(), QStringLiteral("2022-05-01"));
        QCOMPARE(t.item(0, 1)->text(), QStringLiteral("24.0"));  // 75.2 °F
        QCOMPARE(t.item(0, 3)->text(), QStringLiteral("91"));    // percent
        QCOMPARE(t.item(0, 6)->text(), QStringLiteral("172.8")); // 2 m/s, km/day
        QCOMPARE(t.item(1, 7)->text(), QStringLiteral("4.6"));   // 0.18 in
        const auto marked = [&](int row, int column) {
            return !t.item(row, column)->toolTip().isEmpty();
        };
        QCOMPARE(t.item(1, 1)->text(), QStringLiteral("45.0")); // 113 °F: in range
        QVERIFY(!marked(1, 1));
        QVERIFY(marked(1, 6)); // 0.05 m/s is 4.3 km/day, below 10
        QVERIFY(marked(2, 1)); // no number
        QCOMPARE(t.item(2, 1)->text(), QString());
        QVERIFY(marked(2, 7)); // "M"
        QVERIFY(!marked(0, 1));

        // Left at °C, as the first users did, 113 goes past 70 °C and is marked before anything
        // is stored.
        d.unit_box(CsvQuantity::TMax)->setCurrentIndex(0);
        QCOMPARE(t.item(1, 1)->text(), QStringLiteral("113.0"));
        QVERIFY(marked(1, 1));
        QVERIFY(t.item(1, 1)->toolTip().contains(QStringLiteral("Out of range")));
    }

    // OK with nothing that dates a line says in words what to choose, and stays open.
    void okWithoutADateSaysWhatIsMissing()
    {
        CsvImportForm form(csv_preview("A,B\n1,2\n", 8), std::nullopt);
        CCsvImportDlg d(form, {}, {});
        QCOMPARE(d.stored_preview()->rowCount(), 0);
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(
            messages->texts().back(),
            std::string("Choose the column that holds the date, or the year and day of year."));
        d.column_box(CsvQuantity::Year)->setCurrentIndex(1);
        d.accept();
        QCOMPARE(messages->texts().back(), std::string("Choose the column that holds the day of "
                                                       "year, or the month and the day of month."));
        d.column_box(CsvQuantity::DayOfYear)->setCurrentIndex(2);
        d.replace_box()->setChecked(true);
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(form.replace());
    }

    // A preset sets every picker; the choices saved under a name join the list.
    void presetsChooseAndSave()
    {
        CsvImportForm form = station_form();
        const CsvWeatherMap preset =
            parse_csv_weather_map("date=Date,t_max=Tmax(F)[C],rain=Gone[mm]").map.value();
        std::vector<std::pair<std::string, std::string>> saved;
        CCsvImportDlg d(form, {{"mine", preset}},
                        [&](const std::string &name, const CsvWeatherMap &m) {
                            saved.emplace_back(name, csv_weather_map_text(m));
                            return true;
                        });
        QCOMPARE(d.preset_box()->count(), 2);
        d.preset_box()->setCurrentIndex(1);
        emit d.preset_box()->activated(1);
        QCOMPARE(d.unit_box(CsvQuantity::TMax)->currentText(), QStringLiteral("C"));
        QCOMPARE(d.column_box(CsvQuantity::TMin)->currentIndex(), 0);
        QCOMPARE(d.column_box(CsvQuantity::Rain)->currentIndex(), 0);
        QCOMPARE(d.preset_name()->text(), QStringLiteral("mine"));

        d.preset_name()->setText(QStringLiteral("bad name"));
        d.save_preset();
        QVERIFY(saved.empty());
        d.preset_name()->setText(QStringLiteral("gly04"));
        d.save_preset();
        QCOMPARE(saved.size(), std::size_t{1});
        QCOMPARE(saved[0].second, std::string("date=Date,t_max=Tmax(F)[C]"));
        QCOMPARE(d.preset_box()->count(), 3);
    }
};

QTEST_MAIN(TestCsvImportDialog)
#include "tst_csv_import_dialog.moc"
