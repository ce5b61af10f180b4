#include "app/commands.h"
#include "app/ui/document_manager.h"
#include "app/ui/new_document_dialog.h"
#include "field/field_doc.h"
#include "location/location_doc.h"
#include "location/reference_et.h"
#include "location/ui/csv_import_dialog.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_info_sheet.h"
#include "location/ui/location_summary.h"
#include "location/ui/location_view.h"
#include "location/ui/row_state_icons.h"
#include "location/ui/weather_day_dialog.h"
#include "location/ui/weather_printer.h"
#include "location/ui/weather_table_model.h"
#include "platform/files.h"
#include "refdata/ui/customize_sheet.h"
#include "refdata/units.h"
#include "support/loopback_http_server.h"
#include "support/recorded_pages.h"
#include "support/ui_test_env.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace tw;

namespace {

const QString kWeatherFile =
    QString::fromStdString(test::data_file("jvu_new_july_2004.txt").string());
const QString kDemoWeather = test::demo_weather_file();

} // namespace

class TestLocationWindow : public QObject
{
    Q_OBJECT

    struct Season : test::LocationSeason
    {
        void create_and_import(QDate first_day = QDate(2004, 7, 1),
                               const QString &file = kWeatherFile)
        {
            test::LocationSeason::create_and_import(first_day, file);
        }
        CLocationFrame *window() { return dynamic_cast<CLocationFrame *>(frame().active_frame()); }
        CLocationDoc &doc() { return window()->document(); }
        WeatherTableModel &table() { return *window()->view()->table(); }
        QString cell(int row, int column)
        {
            return table().data(table().index(row, column), Qt::DisplayRole).toString();
        }
        QString header(int column)
        {
            return table().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        }
        qint64 icon_key(int row)
        {
            return table()
                .data(table().index(row, 0), Qt::DecorationRole)
                .value<QIcon>()
                .cacheKey();
        }
    };

private slots:
    void newLocationIsRefusedWithoutLatitudeThenCreated()
    {
        Season s;
        s.create_and_import();
        QCOMPARE(s.refused, int(QDialog::Rejected));
        QCOMPARE(s.titles, std::vector<std::string>{"Weather Location Information"});
        const auto texts = s.messages->texts();
        QVERIFY(std::find(texts.begin(), texts.end(),
                          "Please click on Station Information tab and enter station data") !=
                texts.end());
        QVERIFY(s.window());
        QCOMPARE(s.doc().name, std::string("Greeley"));
        QCOMPARE(s.doc().day_count(), 215);
        QVERIFY(std::abs(s.doc().latitude - 40.5f) < 1e-6f);
        // 4675 ft typed with the default unit.
        QVERIFY(std::abs(s.doc().elevation - 1424.94f) < 0.01f);
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 1);
        QMdiSubWindow *window = s.frame().mdi_area()->subWindowList().front();
        QCOMPARE(window->windowTitle(), QStringLiteral("Greeley2004 - (Location: Greeley)[*]"));
        QVERIFY(window->isWindowModified());
        QCOMPARE(s.frame().menu_resource(), kLocationMenu);
    }

    void windowHoldsTheSummaryAboveTheTableAtHalfTheMainWindow()
    {
        Season s;
        s.create_and_import();
        QSplitter *splitter = s.window()->splitter();
        QCOMPARE(splitter->orientation(), Qt::Vertical);
        QCOMPARE(splitter->count(), 2);
        QCOMPARE(splitter->widget(0), static_cast<QWidget *>(s.window()->summary()));
        QCOMPARE(splitter->widget(1), static_cast<QWidget *>(s.window()->view()));
        QMdiSubWindow *window = s.frame().mdi_area()->subWindowList().front();
        const QSize area = s.frame().mdi_area()->viewport()->size();
        QCOMPARE(window->width(), area.width());
        QCOMPARE(window->height(), area.height() / 2);
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);

        // No field is open: the eight headers and no rows.
        CLocationSummary *summary = s.window()->summary();
        QCOMPARE(summary->columnCount(), 8);
        QCOMPARE(summary->headerItem()->text(5), QStringLiteral("Start By"));
        QCOMPARE(summary->columnWidth(5),
                 summary->fontMetrics().horizontalAdvance(QStringLiteral("Start By")) + 40);
        QCOMPARE(summary->topLevelItemCount(), 0);
        QCOMPARE(summary->headerItem()->text(3), QStringLiteral("Soil Moisture(in)"));
        QCOMPARE(summary->columnWidth(0),
                 summary->fontMetrics().horizontalAdvance(QStringLiteral("Field")) + 40);
    }

    void importFillsTheTableWithItsUnitsAndRowPictures()
    {
        Season s;
        s.create_and_import();
        QCOMPARE(s.user.file_captions().back(), QStringLiteral("Import Weather Data from File"));
        QCOMPARE(s.user.file_filters().back(),
                 QStringLiteral("Import Weather(*.TXT);; All Files(*.*)"));
        QCOMPARE(s.table().rowCount(), 215);
        QCOMPARE(s.header(0), QStringLiteral("     Date"));
        QCOMPARE(s.header(1), QStringLiteral("Rain(in)"));
        QCOMPARE(s.header(3), QString::fromUtf8("Tmax(\u00B0F)"));
        QCOMPARE(s.cell(0, 0), QStringLiteral("07/01/04"));
        QCOMPARE(s.cell(0, 3), QStringLiteral("88.2"));
        QCOMPARE(s.cell(0, 5), QStringLiteral("22"));
        QCOMPARE(s.cell(0, 6), QStringLiteral("85"));
        QVERIFY(s.cell(0, 8).toDouble() > 0.0);

        // 5.0 mm shows (in inches) with the rain picture; 2.4 mm shows nothing; 2.5 mm shows.
        QCOMPARE(s.cell(2, 1), QStringLiteral("0.2"));
        QCOMPARE(s.cell(3, 1), QString());
        QCOMPARE(s.cell(8, 1), QStringLiteral("0.1"));
        const qint64 rain = row_state_icon(DayMark::Rain).cacheKey();
        const qint64 no_data = row_state_icon(DayMark::NoData).cacheKey();
        QVERIFY(rain != no_data);
        QCOMPARE(s.icon_key(2), rain);
        QCOMPARE(s.icon_key(8), rain);
        QVERIFY(s.icon_key(3) != rain && s.icon_key(3) != no_data);
        QCOMPARE(s.icon_key(10), no_data);
        const auto tip = [&](int row) {
            return s.table().data(s.table().index(row, 0), Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(2), QStringLiteral("Rain"));
        QCOMPARE(tip(3), QString());
        QCOMPARE(tip(10), QStringLiteral("No weather data for the day"));
        QVERIFY(s.frame().mdi_area()->subWindowList().front()->isWindowModified());
    }

    // Import > CSV...: the first lines shown, a column and unit chosen per quantity, OK refused
    // until the lines can be placed on days; one message says what the import did; the next
    // import starts from the mapping accepted.
    void csvImportShowsTheFileAndRemembersTheMapping()
    {
        Season s;
        s.create_and_import();
        const auto csv = s.dir.file("station.csv");
        const std::string text = "Day,High F,Low F,Rs MJ,Wind m/s\n"
                                 "8/1/2004,90,59,25.0,2.0\n"
                                 "8/2/2004,88,60,24.0,3.0\n"
                                 "8/3/2004,188,60,24.0,0.01\n"
                                 "7/31/2005,88,60,24.0,3.0\n";
        QVERIFY(write_file_atomic(
            csv, {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()}));
        s.user.answer_open(QString::fromStdString(csv.string()));
        QStringList shown;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &d = static_cast<CCsvImportDlg &>(dialog);
            shown << d.preview()->horizontalHeaderItem(1)->text() << d.preview()->item(1, 0)->text()
                  << QString::number(d.preview()->rowCount());
            d.column_box(CsvQuantity::TMax)->setCurrentIndex(2);
            d.unit_box(CsvQuantity::TMax)->setCurrentIndex(1);
            d.column_box(CsvQuantity::TMin)->setCurrentIndex(3);
            d.unit_box(CsvQuantity::TMin)->setCurrentIndex(1);
            d.column_box(CsvQuantity::Solar)->setCurrentIndex(4);
            d.unit_box(CsvQuantity::Solar)->setCurrentIndex(1);
            d.column_box(CsvQuantity::Wind)->setCurrentIndex(5);
            d.unit_box(CsvQuantity::Wind)->setCurrentIndex(2);
            d.accept(); // no date yet
            if (d.result() == QDialog::Accepted)
                return int(QDialog::Accepted);
            d.column_box(CsvQuantity::Date)->setCurrentIndex(1);
            d.column_box(CsvQuantity::Day)->setCurrentIndex(0); // "Day" holds the whole date
            d.accept();
            return d.result();
        });
        s.frame().dispatch(ID_IMPORT_CSV);
        QCOMPARE(shown, (QStringList{"High F", "8/2/2004", "4"}));
        QCOMPARE(s.user.file_filters().back(),
                 QStringLiteral("CSV Weather(*.CSV);; All Files(*.*)"));
        const auto &texts = s.messages->texts();
        QVERIFY(texts.size() >= 2);
        QCOMPARE(texts[texts.size() - 2],
                 std::string("Choose the column that holds the date, or the year and day of "
                             "year."));
        QCOMPARE(texts.back(), // one message for the whole file
                 std::string("Imported 3 days.\n"
                             "Skipped 1 line dated outside the season.\n"
                             "Left 2 values out of range unset: maximum temperature on "
                             "2004-08-03, wind on 2004-08-03."));
        const WeatherDay &august = s.doc().day(31);
        QCOMPARE(august.has_data, 1);
        QCOMPARE(august.t_max, 32.2222214f);
        QCOMPARE(august.wind_run, 172.8f);
        QVERIFY(august.etr_used > 3.0f);
        QCOMPARE(s.doc().day(33).t_max, 0.0f); // 188 °F: left unset
        QCOMPARE(s.doc().day(33).t_min, 15.5555553f);
        QCOMPARE(s.doc().day(33).wind_run, 0.0f);
        QCOMPARE(s.doc().day(34).has_data, 0);

        s.user.answer_open(QString::fromStdString(csv.string()));
        QList<int> remembered;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &d = static_cast<CCsvImportDlg &>(dialog);
            remembered << d.column_box(CsvQuantity::Date)->currentIndex()
                       << d.unit_box(CsvQuantity::Wind)->currentIndex()
                       << d.column_box(CsvQuantity::Rain)->currentIndex();
            return int(QDialog::Rejected);
        });
        s.frame().dispatch(ID_IMPORT_CSV);
        QCOMPARE(remembered, (QList<int>{1, 2, 0}));
    }

    void updateWeatherTakesTheSourcesDaysOrSaysWhyNot()
    {
        Season s;
        s.create_and_import(); // 1-10 July 2004
        s.frame().dispatch(ID_UPDATE_WEATHER);
        QCOMPARE(s.messages->texts().back(), std::string("The location has no weather source."));

        test::LoopbackHttpServer server([](const std::string &) {
            return test::LoopbackHttpServer::ok("Date,Tmax,Tmin,Rs\n2004-07-11,30.5,12,25\n");
        });
        s.doc().source = {server.url("/d?from={from}&to={to}"), "", "",
                          "date=Date,t_max=Tmax[C],t_min=Tmin[C],solar=Rs[MJ/m2]", ""};
        s.frame().dispatch(ID_UPDATE_WEATHER);
        // Asked for the days after the last with data through the season's end (yesterday is
        // long after it).
        QCOMPARE(server.targets(), std::vector<std::string>{"/d?from=2004-07-11&to=2005-01-31"});
        QCOMPARE(s.messages->texts().back(), std::string("1 day from 2004-07-11 to 2005-01-31."));
        QCOMPARE(s.doc().day(10).has_data, 1);
        QCOMPARE(s.doc().day(10).t_max, 30.5f);
        QVERIFY(s.doc().is_modified());
        QCOMPARE(s.cell(10, 3), QStringLiteral("86.9")); // Tmax, shown in Fahrenheit
    }

    void demoSeasonFillsAGreeleyLocationFromMay()
    {
        Season s;
        s.create_and_import(QDate(2022, 5, 1), kDemoWeather);
        QCOMPARE(s.doc().base_name, std::string("Greeley2022"));
        QCOMPARE(s.cell(0, 0), QStringLiteral("05/01/22"));
        // The file runs to 29 November: 213 days of the 215 hold weather.
        int with_data = 0;
        for (const WeatherDay &day : s.doc().days)
            with_data += day.has_data;
        QCOMPARE(with_data, 213);
        QCOMPARE(s.icon_key(214), row_state_icon(DayMark::NoData).cacheKey());
        QVERIFY(s.doc().day(60).etr_used > 0.0f);
    }

    void editingADayRecomputesItsEtr()
    {
        Season s;
        s.create_and_import();
        const float before = s.doc().day(1).etr_used;
        QStringList shown;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &day = static_cast<CWeatherDayDlg &>(dialog);
            shown << day.windowTitle() << day.t_max()->text() << day.radiation_label()->text()
                  << (day.use_alternate()->isChecked() ? "alternate" : "computed");
            day.t_max()->setText(QStringLiteral("100"));
            day.accept();
            return day.result();
        });
        // Enter on the second row opens its day.
        CLocationView *view = s.window()->view();
        view->setCurrentIndex(s.table().index(1, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(shown, (QStringList{"Friday, July 2, 2004", "88.7",
                                     "Short Wave Solar Radiation:", "computed"}));
        QVERIFY(std::abs(s.doc().day(1).t_max - 37.7778f) < 1e-3f);
        QVERIFY(s.doc().day(1).etr_used > before);
        QCOMPARE(s.cell(1, 3), QStringLiteral("100.0"));
        QCOMPARE(s.cell(1, 8),
                 QString::asprintf("%1.2f", convert_to(Depth, s.doc().day(1).etr_used)));

        // A day without data, typed in, loses its no-data picture.
        s.user.on_dialog([](QDialog &dialog) {
            auto &day = static_cast<CWeatherDayDlg &>(dialog);
            day.t_min()->setText(QStringLiteral("50"));
            day.t_max()->setText(QStringLiteral("80"));
            day.rh_min()->setText(QStringLiteral("30"));
            day.rh_max()->setText(QStringLiteral("90"));
            day.solar_radiation()->setText(QStringLiteral("550"));
            day.wind_run()->setText(QStringLiteral("100"));
            day.accept();
            return day.result();
        });
        QCOMPARE(s.icon_key(20), row_state_icon(DayMark::NoData).cacheKey());
        s.window()->edit_day(20);
        QVERIFY(s.icon_key(20) != row_state_icon(DayMark::NoData).cacheKey());
        QVERIFY(s.doc().day(20).etr_used > 0.0f);
        s.window()->edit_day(-1);
        QCOMPARE(s.user.pending_dialogs(), std::size_t(0));
    }

    void dayDialogRefusesHumidityAbove100AndFollowsTheEquation()
    {
        Season s;
        s.create_and_import();
        bool stayed_open = false;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &day = static_cast<CWeatherDayDlg &>(dialog);
            day.rh_max()->setText(QStringLiteral("101"));
            day.accept();
            stayed_open = day.result() != QDialog::Accepted;
            return int(QDialog::Rejected);
        });
        s.window()->edit_day(0);
        QVERIFY(stayed_open);
        QCOMPARE(s.messages->texts().back(),
                 std::string("Please enter an integer between 0 and 100."));
        QVERIFY(std::abs(s.doc().day(0).rh_max - 0.85f) < 1e-6f);

        // With the ETR equation only Date, Rain and Etr show and the typed ETr is forced.
        s.doc().et_method = EtrDirect;
        s.doc().update_all_views(ViewHint::everything());
        QStringList shown;
        for (int c = 0; c < 9; ++c) {
            if (!s.window()->view()->isColumnHidden(c))
                shown << s.header(c);
        }
        QCOMPARE(shown, (QStringList{"     Date", "Rain(in)", "Etr(in)"}));
        bool forced = false;
        bool weather_off = false;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &day = static_cast<CWeatherDayDlg &>(dialog);
            forced = day.use_alternate()->isChecked() && !day.use_alternate()->isEnabled();
            weather_off = !day.t_min()->isEnabled() && !day.wind_run()->isEnabled() &&
                          day.alternate_etr()->isEnabled();
            return int(QDialog::Rejected);
        });
        s.window()->edit_day(0);
        QVERIFY(forced);
        QVERIFY(weather_off);
    }

    void cloudCoverTakesThePlaceOfRadiationWhenThePreferencesAskForIt()
    {
        Season s;
        s.create_and_import();
        custom_settings().cloud_cover_input = 1;
        QStringList seen;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &day = static_cast<CWeatherDayDlg &>(dialog);
            seen << day.radiation_label()->text()
                 << (day.solar_radiation()->isHidden() ? "no radiation field" : "radiation field");
            for (int i = 0; i < day.cloud_cover()->count(); ++i)
                seen << day.cloud_cover()->itemText(i);
            day.cloud_cover()->setCurrentIndex(4);
            day.accept();
            return day.result();
        });
        s.window()->edit_day(4);
        QCOMPARE(seen, (QStringList{"Average Daily Cloud Cover:", "no radiation field",
                                    "Clear, no clouds", "Light scattered clouds", "Light overcast",
                                    "Broken heavy clouds", "Heavy cloud cover"}));
        const WeatherDay &day = s.doc().day(4);
        QCOMPARE(day.cloud_cover, 4);
        const float clear = radiation_from_cloud_cover(0, day_of_year(s.doc().date_of(4)),
                                                       s.doc().latitude, s.doc().elevation);
        QVERIFY(std::abs(day.solar_radiation - 0.2f * clear) < 1e-3f * clear);
    }

    void acceptingCelsiusRetitlesAndRedrawsTheTable()
    {
        Season s;
        s.create_and_import();
        QCOMPARE(s.cell(0, 3), QStringLiteral("88.2"));
        QSignalSpy headers(&s.table(), &QAbstractItemModel::headerDataChanged);
        QSignalSpy rows(&s.table(), &QAbstractItemModel::dataChanged);
        s.user.on_dialog(test::accept_with<CCustomizeSheet>([](CCustomizeSheet &sheet) {
            sheet.units_page()->list_of(Temperature)->setCurrentIndex(0);
            sheet.units_page()->list_of(Depth)->setCurrentIndex(0);
        }));
        s.frame().dispatch(ID_CUSTOMIZE);
        QCOMPARE(headers.size(), 1);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.front().at(1).toModelIndex().row(), 214);
        QCOMPARE(s.header(3), QString::fromUtf8("Tmax(\u00B0C)"));
        QCOMPARE(s.cell(0, 3), QStringLiteral("31.2"));
        QCOMPARE(s.cell(2, 1), QStringLiteral("5.0"));
        QCOMPARE(s.window()->view()->columnWidth(3),
                 s.window()->view()->fontMetrics().horizontalAdvance(s.header(3)) + 15);
    }

    void printsEveryColumnOnEveryPageOfLetterAndA4()
    {
        Season s;
        s.create_and_import();
        const WeatherTablePrinter table(s.doc(), *s.window()->view());
        for (const auto paper : {QPageSize::Letter, QPageSize::A4}) {
            const QString pdf = QString::fromStdString(s.dir.file("weather.pdf").string());
            QCOMPARE(test::print_faults(table, *s.window()->view(), paper, pdf), QStringList());
        }

        // Print goes through the printer dialog; cancelling it prints nothing.
        s.user.answer_printer(false);
        s.frame().dispatch(ID_FILE_PRINT);
    }

    void editingTheSeasonLengthResizesTheTable()
    {
        Season s;
        s.create_and_import();
        const float etr = s.doc().day(0).etr_used;
        bool edit_mode = false;
        s.user.on_dialog([&](QDialog &dialog) {
            auto &sheet = static_cast<CLocationInfoSheet &>(dialog);
            edit_mode = sheet.name_edit()->isReadOnly() && !sheet.start_date_edit()->isEnabled() &&
                        sheet.season_length()->value() == 215;
            sheet.season_length()->setValue(150);
            sheet.accept();
            return sheet.result();
        });
        s.frame().dispatch(ID_GENERAL_INFO);
        QVERIFY(edit_mode);
        QCOMPARE(s.doc().day_count(), 150);
        QCOMPARE(s.table().rowCount(), 150);
        // Recomputed from the same weather; the station's heights went through feet and back,
        // which the unit constants do not do bit for bit.
        QVERIFY(std::abs(s.doc().day(0).etr_used - etr) < 1e-3f * etr);
    }

    void theSourcePageShowsSetsAndClearsTheWeatherSource()
    {
        Season s;
        s.start();
        CLocationDoc doc;
        doc.name = "Greeley";
        doc.latitude = 40.5f;
        doc.source = {"https://x.example/d?s={station}", "GLY04", "", "date=Date", ""};
        {
            CLocationInfoSheet sheet(doc, SheetMode::Edit, {}, s.dir.path());
            QCOMPARE(sheet.source_url_edit()->text(),
                     QStringLiteral("https://x.example/d?s={station}"));
            QCOMPARE(sheet.source_columns_edit()->text(), QStringLiteral("date=Date"));
            sheet.forecast_url_edit()->setText(QStringLiteral("  https://x.example/f  "));
            sheet.accept();
            QCOMPARE(sheet.result(), int(QDialog::Accepted));
            QCOMPARE(doc.source.forecast_url, std::string("https://x.example/f"));
        }
        CLocationInfoSheet sheet(doc, SheetMode::Edit, {}, s.dir.path());
        sheet.clear_source_button()->click();
        QVERIFY(sheet.source_station_edit()->text().isEmpty());
        QVERIFY(sheet.forecast_url_edit()->text().isEmpty());
        sheet.accept();
        QVERIFY(doc.source.empty());
    }

    void stationPageDerivesPressureAndCopiesAStation()
    {
        Season s;
        s.start();
        CLocationDoc doc;
        CLocationInfoSheet sheet(doc, SheetMode::New, {}, s.dir.path());
        QVERIFY(sheet.stations()->count() > 0);
        QVERIFY(sheet.pressure_edit()->isReadOnly());
        sheet.elevation_edit()->setText(QStringLiteral("0"));
        emit sheet.elevation_edit()->editingFinished();
        QCOMPARE(sheet.pressure_edit()->text(), QStringLiteral("1013"));
        sheet.choose_station(0);
        QVERIFY(sheet.latitude_edit()->text().toDouble() != 0.0);
        // Reference type None lets DeltaT and Kzero be typed; the others do not.
        sheet.reference_type()->button(0)->click();
        QVERIFY(sheet.delta_t_edit()->isEnabled());
        sheet.reference_type()->button(2)->click();
        QVERIFY(!sheet.k_zero_edit()->isEnabled());
    }

    void newLocationStartsAtItsNameTakesTheTypedDateAndOneClickOnAStation()
    {
        Season s;
        s.start();
        CLocationDoc doc;
        CLocationInfoSheet sheet(doc, SheetMode::New, {}, s.dir.path());
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QCOMPARE(sheet.focusWidget(), static_cast<QWidget *>(sheet.name_edit()));

        // A date typed whole over the field's text, with or without its separators.
        QDateEdit *start = sheet.start_date_edit();
        const struct
        {
            const char *typed;
            QDate date;
        } dates[] = {{"05/01/2022", QDate(2022, 5, 1)},
                     {"5/1/2022", QDate(2022, 5, 1)},
                     {"12312021", QDate(2021, 12, 31)}};
        for (const auto &d : dates) {
            start->setDate(QDate(2026, 12, 9));
            start->setFocus();
            start->selectAll();
            QTest::keyClicks(start, QString::fromLatin1(d.typed));
            QTest::keyClick(start, Qt::Key_Tab);
            QCOMPARE(start->date(), d.date);
        }

        sheet.findChild<QTabWidget *>()->setCurrentIndex(1);
        QListWidget *stations = sheet.stations();
        QVERIFY(stations->count() > 0);
        QCOMPARE(sheet.latitude_edit()->text().toDouble(), 0.0);
        QTest::mouseClick(stations->viewport(), Qt::LeftButton, {},
                          stations->visualItemRect(stations->item(0)).center());
        QVERIFY(sheet.latitude_edit()->text().toDouble() != 0.0);
    }

    void summaryListsTheFieldsAndTheirChangesKeepTheLocationOpen()
    {
        Season s;
        s.create_and_import();
        auto field = new_field(s.doc(), [](CFieldDoc &f) {
            f.saved.name = "North";
            f.saved.soil.sm_fc = 0.3f;
            f.saved.soil.awhc = 0.15f;
            return true;
        });
        QVERIFY(field);
        CLocationSummary *summary = s.window()->summary();
        QCOMPARE(summary->topLevelItemCount(), 1);
        QCOMPARE(summary->topLevelItem(0)->text(0), QStringLiteral("North"));
        QVERIFY(!summary->topLevelItem(0)->text(2).isEmpty());

        // A modified field holds its location open.
        s.frame().dispatch(ID_FILE_CLOSE);
        QCOMPARE(s.messages->texts().back(),
                 std::string("Please close all modified fields using Location Weather First"));
        QCOMPARE(s.frame().mdi_area()->subWindowList().size(), 1);
        field.reset();
        s.doc().update_all_views(ViewHint::location_fields());
        QCOMPARE(summary->topLevelItemCount(), 0);
    }

    void savedLocationReopensWithItsDays()
    {
        Season s;
        s.create_and_import();
        const QString path = QString::fromStdString(s.dir.file("Greeley2004.loc").string());
        s.user.answer_save(path);
        s.frame().dispatch(ID_FILE_SAVE);
        QCOMPARE(s.user.proposed_names().back(), QStringLiteral("Greeley2004.loc"));
        QVERIFY(!s.doc().is_modified());
        s.frame().dispatch(ID_FILE_CLOSE);
        QVERIFY(s.frame().mdi_area()->subWindowList().isEmpty());

        s.user.answer_open(path);
        s.frame().dispatch(ID_FILE_OPEN);
        QVERIFY(s.window());
        QCOMPARE(s.doc().name, std::string("Greeley"));
        QCOMPARE(s.cell(0, 3), QStringLiteral("88.2"));
        QCOMPARE(s.frame().mdi_area()->subWindowList().front()->windowTitle(),
                 QStringLiteral("Greeley2004 - (Location: Greeley)[*]"));
    }
};

QTEST_MAIN(TestLocationWindow)
#include "tst_location_window.moc"
