#include "fertility/answers.h"
#include "fertility/field_facts.h"
#include "fertility/nutrient_file.h"
#include "fertility/schedule_entry.h"
#include "fertility/source_library.h"
#include "fertility/ui/application_dialog.h"
#include "fertility/ui/blend_dialog.h"
#include "fertility/ui/fertilizer_wizard.h"
#include "fertility/ui/method_calcs_dialog.h"
#include "fertility/ui/schedule_dialog.h"
#include "fertility/ui/wizard_page_dialog.h"
#include "field/field_fixtures.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "support/fertilizer_wizard_script.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace tw;

namespace {

using test::choose;
using test::on_page;

template<typename W>
W *named(QDialog &dialog, const char *key)
{
    return dialog.findChild<W *>(QString::fromUtf8(key));
}

void type_into(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

bool has_label(QDialog &dialog, const QString &text)
{
    for (const QLabel *label : dialog.findChildren<QLabel *>()) {
        if (label->text() == text)
            return true;
    }
    return false;
}

std::size_t bytes_of(const std::filesystem::path &path)
{
    return static_cast<std::size_t>(size_of_file(path).value_or(0));
}

/// What the user was told or asked, in order.
QStringList said(test::ScopedMessages &messages)
{
    QStringList texts;
    for (const std::string &text : messages->texts())
        texts << QString::fromStdString(text);
    return texts;
}

QStringList row_texts(const QTreeWidget &list, int row)
{
    QStringList cells;
    for (int c = 0; c < list.columnCount(); ++c)
        cells << list.topLevelItem(row)->text(c);
    return cells;
}

} // namespace

class TestFertilizerWizard : public QObject
{
    Q_OBJECT

    // A corn field "north" planted on 1 May 2022 over ten weeks of weather: its files are north22.
    struct CornField
    {
        test::ScopedWorkDir dir;
        test::ScopedMessages messages;
        test::ScopedSettings settings;
        test::ScriptedInteraction user;
        std::unique_ptr<CLocationDoc> location = test::make_location(150, 70);
        std::unique_ptr<CFieldDoc> field = test::make_field(*location, test::corn());
        QWidget window;

        // The new field's season run has told that it has no nutrient file yet.
        CornField() { messages->clear(); }
        bool run() { return run_fertilizer_wizard(&window, *field); }
        bool wrote_nothing() const
        {
            return !file_exists(dir.file("north22.FRT")) && !file_exists(dir.file("north22.LCH"));
        }
    };

private slots:
    void preseasonConsultationSchedulesPreplantAndWritesTheFiles()
    {
        CornField f;
        QString proposed;
        f.user.on_dialog(on_page<CWizardPageDlg>([&](CWizardPageDlg &page) {
            QLineEdit *goal = named<QLineEdit>(page, "yield_goal");
            QCOMPARE(goal->text(), QStringLiteral("150"));
            // Wide enough for "Fertilizer Wizard (Pre-Season Evaluation)" in its title bar.
            QVERIFY(page.minimumWidth() >
                    page.fontMetrics().horizontalAdvance(page.windowTitle()) + 100);
            QVERIFY(has_label(page, QStringLiteral("BU/Acre")));
            named<QCheckBox>(page, "soil_test_available")->click();
            // 101 above the crop's average yield of 150: asked, and No keeps the page.
            type_into(goal, QStringLiteral("251"));
            f.messages->queue_answer(false);
            page.next_button()->click();
            QCOMPARE(page.result(), int(QDialog::Rejected));
            f.messages->queue_answer(true);
            page.next_button()->click();
        }));
        f.user.on_dialog(on_page<CWizardPageDlg>([&](CWizardPageDlg &page) {
            QVERIFY(!named<QLineEdit>(page, "irrigation_amount"));
            page.next_button()->click();
        }));
        f.user.on_dialog(on_page<CWizardPageDlg>([&](CWizardPageDlg &page) {
            QComboBox *harvest = named<QComboBox>(page, "legume_harvest");
            QVERIFY(!harvest->isEnabled());
            page.next_button()->click();
            QCOMPARE(page.result(), int(QDialog::Rejected));
            choose(named<QComboBox>(page, "previous_crop"), QStringLiteral("Soybeans"));
            QVERIFY(harvest->isEnabled());
            page.next_button()->click();
            choose(harvest, QStringLiteral("Harvested"));
            page.next_button()->click();
            QCOMPARE(page.result(), int(QDialog::Rejected));
            choose(named<QComboBox>(page, "pre_legume_nitrogen"), QStringLiteral("Average"));
            page.next_button()->click();
        }));
        f.user.on_dialog(on_page<CWizardPageDlg>([&](CWizardPageDlg &page) {
            QVERIFY(has_label(page, QStringLiteral("Nebraska  Soil Testing Method:")));
            QLineEdit *nitrogen = named<QLineEdit>(page, "final_n");
            QCheckBox *preplant = named<QCheckBox>(page, "preplant");
            QVERIFY(preplant->isChecked());
            proposed = nitrogen->text();
            type_into(nitrogen, QStringLiteral("0"));
            QVERIFY(preplant->isEnabled() && !preplant->isChecked());
            type_into(nitrogen, proposed);
            preplant->click();
            page.calculations_button()->click();
            page.next_button()->click();
        }));
        f.user.on_dialog([](QDialog &sheet) {
            auto *tabs = sheet.findChild<QTabWidget *>();
            const QStringList titles = {tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)};
            [&] {
                QCOMPARE(titles, QStringList({"Nebraska Method", "Nitrogen Mass Balance Method",
                                              "JVU Uptake Efficiency Method"}));
                auto *first = static_cast<CMethodCalcsDlg *>(tabs->widget(0));
                QCOMPARE(first->windowTitle(), QStringLiteral("Calculation Method"));
                QVERIFY(first->text()->toPlainText().contains("Basic Recommendation"));
            }();
            return int(QDialog::Accepted);
        });
        f.user.on_dialog(on_page<CFertilizerApplicationDlg>([&](CFertilizerApplicationDlg &page) {
            QVERIFY(page.rain_list()->isEnabled());
            QCOMPARE(page.rain_list()->currentText(), QStringLiteral("None within 7 days"));
            QComboBox *materials = page.material_list();
            QCOMPARE(materials->itemText(materials->count() - 1), QStringLiteral("(New Blend)"));
            QVERIFY(!page.state_button(0)->isEnabled());
            page.method_list()->showPopup();
            choose(materials, QStringLiteral("Urea (46-0-0)"));
            QVERIFY(page.state_button(0)->isEnabled() && !page.state_button(2)->isEnabled());
            page.method_list()->showPopup();
            page.state_button(0)->click();
            page.accept();
            page.method_list()->showPopup();
            page.method_list()->hidePopup();
            QCOMPARE(page.method_list()->count(), 4);
            choose(page.method_list(), QStringLiteral("Surface Broadcast"));
            page.accept();
        }));
        f.user.on_dialog(on_page<CScheduleDlg>([&](CScheduleDlg &page) {
            QTreeWidget *list = page.list();
            QStringList headers;
            for (int c = 0; c < list->columnCount(); ++c)
                headers << list->headerItem()->text(c);
            QCOMPARE(headers, QStringList({"Stage", "Material", "lb/acre", "Application Method",
                                           "Nitrogen", "Phosphorus", "Potassium"}));
            QCOMPARE(list->topLevelItemCount(), 1);
            const QStringList row = row_texts(*list, 0);
            QCOMPARE(row.mid(0, 2), QStringList({"Preplant:", "Urea"}));
            QCOMPARE(row.mid(3), QStringList({"Surface Broadcast", row[4], "0", "0"}));
            QVERIFY(row[2].toInt() > row[4].toInt() && row[4].toInt() > 0);
            // No soil test: nothing of phosphorus or potassium is recommended.
            const QStringList totals = {page.total(0)->text(), page.total(1)->text(),
                                        page.total(2)->text()};
            QCOMPARE(totals, QStringList({row[4], "0", "0"}));
            // 300 lb of urea, the most one application takes, fall short of the corn's nitrogen.
            QCOMPARE(page.shortfalls().size(), std::size_t(1));
            QVERIFY(page.shortfalls()[0]->text().startsWith("The schedule supplies " + row[4] +
                                                            " of " + proposed.section('.', 0, 0)));
            page.finish_button()->click();
        }));

        QVERIFY(f.run());

        QCOMPARE(
            f.user.dialog_titles(),
            QStringList({"Fertilizer Wizard (Pre-Season Evaluation)", "Field and Water Management",
                         "Previous Season Data", "Pre-Season Results", "Calculation Methods",
                         "Preplant (Nitrogen)", "Fertilizer Application Schedule"}));
        QCOMPARE(
            said(f.messages),
            QStringList(
                {"Are you sure this yield goal is obtainable?",
                 "Are you sure this yield goal is obtainable?", "Please enter previous crop name",
                 "Please enter legume harvest management", "Please enter Nitrogen before legume",
                 // METHOD_2.KB made for the computation.
                 "Creating a New File with Default Values.",
                 "Please select material and application phase before application method",
                 "Please select application phase before application method",
                 "Please select application method before continuing"}));
        QCOMPARE(bytes_of(f.dir.file("north22.FRT")), kNutrientFileSize);
        QCOMPARE(bytes_of(f.dir.file("north22.LCH")), kScheduleEntrySize);
    }

    void phosphorusAndPotassiumWithoutNitrogenAreScheduled()
    {
        CornField f;
        test::queue_plain_questions(f.user);
        f.user.on_dialog(on_page<CWizardPageDlg>([&](CWizardPageDlg &page) {
            type_into(named<QLineEdit>(page, "final_n"), QStringLiteral("0"));
            type_into(named<QLineEdit>(page, "phosphorus"), QStringLiteral("45"));
            type_into(named<QLineEdit>(page, "potassium"), QStringLiteral("60"));
            QCheckBox *preplant = named<QCheckBox>(page, "preplant");
            QVERIFY(!preplant->isChecked());
            preplant->click();
            page.next_button()->click();
        }));
        for (const char *material :
             {"Triple Superphosphate (0-45-0)", "Potassium Chloride (Murate) (0-0-60)"}) {
            f.user.on_dialog(on_page<CFertilizerApplicationDlg>([material](auto &page) {
                choose(page.material_list(), QString::fromUtf8(material));
                page.state_button(0)->click();
                page.method_list()->showPopup();
                page.method_list()->hidePopup();
                choose(page.method_list(), QStringLiteral("Surface Broadcast"));
                page.accept();
            }));
        }
        f.user.on_dialog(on_page<CScheduleDlg>([&](CScheduleDlg &page) {
            QCOMPARE(page.list()->topLevelItemCount(), 2);
            const QStringList totals = {page.total(0)->text(), page.total(1)->text(),
                                        page.total(2)->text()};
            QCOMPARE(totals, QStringList({"0", "45", "60"}));
            QVERIFY(page.shortfalls().empty());
            page.finish_button()->click();
        }));
        QVERIFY(f.run());
        QCOMPARE(f.user.pending_dialogs(), std::size_t(0));
        QCOMPARE(bytes_of(f.dir.file("north22.LCH")), 2 * kScheduleEntrySize);
    }

    void backFromTheFirstPageWritesNothing()
    {
        CornField f;
        f.user.on_dialog(
            on_page<CWizardPageDlg>([](CWizardPageDlg &page) { page.back_button()->click(); }));

        QVERIFY(!f.run());
        QCOMPARE(f.user.dialog_titles(),
                 QStringList({"Fertilizer Wizard (Pre-Season Evaluation)"}));
        QVERIFY(f.wrote_nothing());
    }

    void aSecondConsultationOfTheCornFieldCorrectsAtMidseason()
    {
        CornField f;
        // The pre-season consultation answered from the example file, then the season run again.
        std::string error;
        auto answers = parse_answers(test::read_text(std::filesystem::path(TILLWISE_SOURCE_DIR) /
                                                     "data" / "examples" / "corn_preseason.ini"),
                                     error);
        QVERIFY2(answers, error.c_str());
        FertilizerConsultation preseason(fertility_inputs(), field_facts(*f.field), today_serial());
        QVERIFY2(answer_consultation(preseason, *answers, error), error.c_str());
        QVERIFY(preseason.finish());
        f.field->run_and_update(0, ViewHint::everything());
        const std::string before = test::read_text(f.dir.file("north22.FRT"));

        f.user.on_dialog(on_page<CWizardPageDlg>([](CWizardPageDlg &page) {
            QVERIFY(named<QLineEdit>(page, "yield_goal")->isReadOnly());
            QVERIFY(named<QLineEdit>(page, "applications_count")->isReadOnly());
            QCOMPARE(named<QDateEdit>(page, "soil_test_date")->date(), QDate::currentDate());
            page.next_button()->click();
        }));
        f.user.on_dialog(on_page<CWizardPageDlg>([](CWizardPageDlg &page) {
            QStringList groups;
            for (const QGroupBox *box : page.findChildren<QGroupBox *>())
                groups << box->title() + (box->isEnabled() ? "" : " (disabled)");
            QCOMPARE(groups, QStringList({"Pre-Season Test", "New Soil Test (disabled)"}));
            QVERIFY(!page.calculations_button()->isEnabled());
            QVERIFY(!named<QCheckBox>(page, "preplant"));
        }));

        QVERIFY(!f.run());
        QCOMPARE(f.user.dialog_titles(),
                 QStringList({"Fertlizer Wizard (Midseason Nitrogen Correction)",
                              "Midseason Correction Results"}));
        QCOMPARE(test::read_text(f.dir.file("north22.FRT")), before);
    }

    void blendForAFertigationThenRescheduleAndCloseWritesNothing()
    {
        CornField f;
        test::queue_plain_questions(f.user);
        f.user.on_dialog(on_page<CWizardPageDlg>([&](CWizardPageDlg &page) {
            named<QCheckBox>(page, "preplant")->click();
            named<QCheckBox>(page, "fertigation")->click();
            page.next_button()->click();
            QLineEdit *count = named<QLineEdit>(page, "fertigations");
            type_into(count, QStringLiteral("16"));
            page.next_button()->click();
            type_into(count, QStringLiteral("1"));
            page.next_button()->click();
        }));
        f.user.on_dialog(on_page<CFertilizerApplicationDlg>([&](CFertilizerApplicationDlg &page) {
            QCOMPARE(page.windowTitle(), QStringLiteral("Fertigation #1 (Nitrogen)"));
            QVERIFY(!page.rain_list()->isEnabled());
            choose(page.material_list(), QStringLiteral("(New Blend)"));
            QCOMPARE(page.material_list()->currentText(), QStringLiteral("Farm UAN (28-0-0)"));
            QVERIFY(page.state_button(1)->isEnabled() && !page.state_button(2)->isEnabled());
            page.state_button(1)->click();
            page.method_list()->showPopup();
            page.method_list()->hidePopup();
            choose(page.method_list(), QStringLiteral("Sprinkler Applicate"));
            page.accept();
        }));
        f.user.on_dialog(on_page<CNewBlendDlg>([&](CNewBlendDlg &blend) {
            QCOMPARE(blend.windowTitle(), QStringLiteral("New Fertilizer Blend"));
            QCOMPARE(blend.maximum_edit(3)->text(), QStringLiteral("300"));
            blend.name_edit()->setText(QStringLiteral("Farm UAN"));
            blend.accept();
            type_into(blend.percent_edit(0), QStringLiteral("128"));
            blend.accept();
            type_into(blend.percent_edit(0), QStringLiteral("28"));
            blend.accept();
            blend.state_box(1)->click();
            f.messages->queue_answer(false);
            blend.accept();
        }));
        f.user.on_dialog(on_page<CScheduleDlg>([&](CScheduleDlg &page) {
            QCOMPARE(row_texts(*page.list(), 0).mid(0, 2),
                     QStringList({"Fertigation #1", "Farm UAN"}));
            page.reschedule_button()->click();
        }));
        f.user.on_dialog([](QDialog &page) {
            [&] { QCOMPARE(page.windowTitle(), QStringLiteral("Pre-Season Results")); }();
            return int(QDialog::Rejected); // the window closed
        });

        QVERIFY(!f.run());

        QCOMPARE(
            said(f.messages),
            QStringList({"Creating a New File with Default Values.",
                         "Number of fertigations must be specified",
                         "Please enter an integer between 0 and 15.", "Blend must contain nitrogen",
                         "Please enter a number between 0 and 100.",
                         "You must allow at least one application phase",
                         "Do You wish to permanently save this blend in the Fertilizer Library"}));
        QCOMPARE(f.user.pending_dialogs(), std::size_t(0));
        QVERIFY(f.wrote_nothing());
        // Not kept: the library holds its thirteen defaults.
        QCOMPARE(bytes_of(f.dir.file("N_FERT.LIB")), 13 * kSourceMaterialSize);
    }
};

QTEST_MAIN(TestFertilizerWizard)
#include "tst_fertilizer_wizard.moc"
