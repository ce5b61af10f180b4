#include "fertility/nutrient_file.h"
#include "field/daily_entry_form.h"
#include "field/field_fixtures.h"
#include "leaching/leaching_analysis.h"
#include "leaching/leaching_report.h"
#include "leaching/ui/field_view2.h"
#include "leaching/ui/leaching_windows.h"
#include "leaching/ui/nitrogen_table_model.h"
#include "location/ui/row_state_icons.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "support/ui_test_env.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace tw;

namespace {

const int kPlanting = serial_from_civil(2022, 5, 10);

/// A corn field "north" planted on 10 May 2022 on a location with weather from 1 May for
/// `weather_days`, after a consultation when `nutrients` are given.
struct Season
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    test::ScopedSettings settings;
    test::ScriptedInteraction user;
    std::unique_ptr<CLocationDoc> location;
    std::unique_ptr<CFieldDoc> field;

    Season(int weather_days, const NutrientBlock *nutrients, const CropRecord &crop = test::corn(),
           test::Weather weather = {})
        : location(test::make_location(200, weather_days, weather))
    {
        if (nutrients)
            write_file_atomic(dir.file("north22.FRT"), encode_nutrient_block(*nutrients));
        field = test::make_field(*location, crop, kPlanting - location->start_date.day());
        messages->clear();
    }

    void enter(int month, int day, float irrigation_in, float n_applied = 0.0f)
    {
        auto form = DailyEntryForm::open(*field, serial_from_civil(2022, month, day) - kPlanting);
        QVERIFY(form);
        form->irrigation = irrigation_in;
        form->n_applied = n_applied;
        form->accept();
    }
};

/// A pre-season consultation: 120 lb/acre preplant and 40 of soil credits; a midseason one with
/// its soil test on that day.
NutrientBlock consultation(int midseason_test_day = 0)
{
    NutrientBlock block;
    block.inputs.planting_date = StoredDate::from_day(kPlanting);
    block.mass_balance.residual = 40.0f;
    block.first_entry_nitrogen = 120;
    if (midseason_test_day) {
        block.inputs.midseason_mode = 1;
        block.inputs.soil_test_date = midseason_test_day;
    }
    return block;
}

QString cell(const NitrogenTableModel &table, int row, int column)
{
    return table.data(table.index(row, column), Qt::DisplayRole).toString();
}

qint64 picture(const NitrogenTableModel &table, int row)
{
    return table.data(table.index(row, 0), Qt::DecorationRole).value<QIcon>().cacheKey();
}

struct ShownLine
{
    QString label, value, grade;
    bool shown = false;
};

/// The lines of the report's group frame of that title, as the grid lays them out.
std::vector<ShownLine> group_lines(QDialog &dialog, std::string_view title)
{
    std::vector<ShownLine> lines;
    for (QGroupBox *box : dialog.findChildren<QGroupBox *>()) {
        if (box->title() != QString::fromUtf8(title.data(), qsizetype(title.size())))
            continue;
        auto *grid = static_cast<QGridLayout *>(box->layout());
        for (int r = 0; grid->itemAtPosition(r, 0); ++r) {
            const auto text = [&](int c) {
                return static_cast<QLabel *>(grid->itemAtPosition(r, c)->widget());
            };
            lines.push_back({text(0)->text(), text(1)->text(), text(2)->text(),
                             text(0)->isVisibleTo(&dialog) && text(1)->isVisibleTo(&dialog)});
        }
    }
    return lines;
}

} // namespace

class TestLeachingWindows : public QObject
{
    Q_OBJECT

private slots:
    void nitrogenTableShowsTheFieldsDays()
    {
        const NutrientBlock nutrients = consultation();
        Season s(60, &nutrients);
        CFieldView2 view(*s.field);
        const NitrogenTableModel &table = *view.table();

        const QStringList titles = {"Date      ",      "N.Available(lbs/Acre)",
                                    "N.App(lbs/Acre)", "Crop Uptake(lbs/Acre)",
                                    "Deep Perc(in)",   "N.Leached(lbs/Acre)"};
        QCOMPARE(table.columnCount(), 6);
        for (int c = 0; c < 6; ++c) {
            QCOMPARE(table.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
            // Room for the title as the header draws it, with its margins.
            if (c > 0) {
                QVERIFY(view.columnWidth(c) >=
                        view.fontMetrics().horizontalAdvance(titles[c]) + 15);
                QVERIFY(view.columnWidth(c) >= view.horizontalHeader()->sectionSizeHint(c));
            }
        }
        // The date beside its picture is not cut short by the width of the column's title.
        QVERIFY(view.columnWidth(0) >= view.fontMetrics().horizontalAdvance(titles[0]) + 15);
        QVERIFY(view.columnWidth(0) >= view.sizeHintForIndex(table.index(0, 0)).width());
        QCOMPARE(table.rowCount(), s.field->day_count());
        QCOMPARE(cell(table, 0, 0), QStringLiteral("05/10/22"));
        QCOMPARE(cell(table, 0, 1), QStringLiteral("160")); // preplant 120 and 40 of credits
        QCOMPARE(cell(table, 0, 2), QString());

        // Days without weather (from 30 June) carry the no-data picture, the others none.
        const qint64 none = row_state_icon(DayMark::None).cacheKey();
        const qint64 no_data = row_state_icon(DayMark::NoData).cacheKey();
        QCOMPARE(picture(table, 50), none);
        QCOMPARE(picture(table, 51), no_data);
        QCOMPARE(picture(table, table.rowCount() - 1), no_data);
        QCOMPARE(table.data(table.index(51, 0), Qt::ToolTipRole).toString(),
                 QStringLiteral("No weather data for the day"));
        QVERIFY(!table.data(table.index(50, 0), Qt::ToolTipRole).isValid());

        // An entry on 1 June rewrites that day and every later row, and no earlier one.
        QSignalSpy changed(view.table(), &QAbstractItemModel::dataChanged);
        s.enter(6, 1, 0.0f, 40.0f);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), 22);
        QCOMPARE(changed[0][1].toModelIndex().row(), table.rowCount() - 1);
        QCOMPARE(cell(table, 22, 0), QStringLiteral("06/01/22"));
        QCOMPARE(cell(table, 22, 2), QStringLiteral("40"));

        // A new display unit of depth retitles the drainage column and fits its width.
        s.settings->depth_unit = 0;
        s.field->rerun_all();
        QCOMPARE(table.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Deep Perc(mm)"));
        QCOMPARE(view.columnWidth(4),
                 view.fontMetrics().horizontalAdvance(QStringLiteral("Deep Perc(mm)")) + 15);
    }

    void midseasonSummaryShowsTheNoticeThenTheReport()
    {
        const NutrientBlock nutrients = consultation(serial_from_civil(2022, 6, 20));
        Season s(60, &nutrients);
        s.enter(6, 19, 1.0f);
        s.enter(6, 20, 1.0f); // the day of the soil test is past the analysed part
        const auto run = leaching_summary_command(*s.field);
        QVERIFY(run && run->midseason);

        QString notice_date;
        std::vector<ShownLine> irrigation, fertility;
        QString advice;
        s.user.on_dialog([&](QDialog &dialog) {
            notice_date = static_cast<CLeachingConsultationDlg &>(dialog).date_edit()->text();
            return int(QDialog::Accepted);
        });
        s.user.on_dialog([&](QDialog &dialog) {
            irrigation = group_lines(dialog, "Irrigation Management (in)");
            fertility = group_lines(dialog, "Fertility Managemen (LB/Acre)");
            advice = static_cast<CLeachingReportDlg &>(dialog).advice()->toPlainText();
            return int(QDialog::Accepted);
        });
        show_leaching_summary(nullptr, *s.field);

        QCOMPARE(s.user.dialog_titles(),
                 QStringList({"Leaching Consultation", "Leaching Analysis Results"}));
        QCOMPARE(notice_date, QStringLiteral("06/20/22"));
        QCOMPARE(irrigation.size(), 6u);
        QCOMPARE(irrigation[0].label, QStringLiteral("Total Water Applied:"));
        QCOMPARE(irrigation[0].value, QStringLiteral("1.00"));
        QCOMPARE(irrigation[1].value, QStringLiteral("1"));
        QCOMPARE(irrigation[4].label, QStringLiteral("Leaching Index"));
        const QStringList grades = {"Low", "Medium", "High", "Excessive"};
        QVERIFY(grades.contains(irrigation[4].value));
        QCOMPARE(fertility.size(), 5u);
        QCOMPARE(fertility[3].label, QStringLiteral("Nitrogen Leached:"));
        QVERIFY(grades.contains(fertility[3].grade));
        QVERIFY(fertility[3].shown);
        QCOMPARE(fertility[4].label, QStringLiteral("Nitrogen Available For Leaching:"));
        QVERIFY(!fertility[4].shown);
        QVERIFY(advice.startsWith(" *  "));
        QCOMPARE(advice, QString::fromStdString(advice_paragraph(run->summary, run->stress)));
        QVERIFY(s.messages->texts().empty());
    }

    void refusedSummaryShowsItsMessageAndNoWindow()
    {
        const struct
        {
            bool consulted;
            CropRecord crop;
            std::string message;
        } cases[] = {
            {false, test::corn(),
             "Can't Open Nutrient File.  You Must Run Fertility Scheduler First!"},
            {true, test::short_crop(), std::string(kNotEnoughDataMessage)},
        };
        for (const auto &c : cases) {
            const NutrientBlock nutrients = consultation();
            // Hot days: the forecast after them calls for an irrigation before the crop's
            // Stop Irrigating day.
            Season s(20, c.consulted ? &nutrients : nullptr, c.crop, {12.0f, 35.0f, 15.0f});
            show_leaching_summary(nullptr, *s.field);
            QCOMPARE(s.messages->texts(), std::vector<std::string>{c.message});
            QVERIFY(s.user.dialog_titles().isEmpty());
        }
    }
};

QTEST_MAIN(TestLeachingWindows)
#include "tst_leaching_windows.moc"
