#include "app/commands.h"
#include "app/farm_folder.h"
#include "app/ui/document_manager.h"
#include "app/ui/main_frame.h"
#include "app/ui/new_document_dialog.h"
#include "app/ui/tillwise_app.h"
#include "platform/files.h"
#include "platform/ui/qt_settings_store.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"
#include "refdata/tip_of_day.h"
#include "refdata/ui/customize_sheet.h"
#include "refdata/ui/tip_dialog.h"
#include "refdata/units.h"
#include "support/test_env.h"
#include "support/ui_test_env.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <fstream>

using namespace tw;

namespace {

// A document of plain text, enough to drive the document and window mechanics.
class NoteDoc : public Document
{
public:
    std::string text;
    int refreshed = 0;
};

class NoteFrame : public DocumentFrame
{
public:
    bool handles_command(int) const override { return false; }
    void run_command(int) override {}
    int menu_resource() const override { return kLocationMenu; }
    void next_pane(bool) override {}
};

class NoteKind : public DocumentKind
{
public:
    std::unique_ptr<Document> create_new(QWidget *) override
    {
        auto doc = std::make_unique<NoteDoc>();
        doc->set_title("Note" + std::to_string(++created));
        return doc;
    }
    std::unique_ptr<Document> read(std::span<const std::uint8_t> bytes) override
    {
        auto doc = std::make_unique<NoteDoc>();
        doc->text.assign(bytes.begin(), bytes.end());
        return doc;
    }
    SaveOutcome save(Document &doc, const std::filesystem::path &path) override
    {
        const std::string &text = static_cast<NoteDoc &>(doc).text;
        return save_document(doc, std::vector<std::uint8_t>(text.begin(), text.end()), path,
                             "Unable to save the note file " + path.string());
    }
    std::string proposed_file_name(const Document &doc) const override
    {
        return doc.title() + ".loc";
    }
    DocumentFrame *create_frame(Document &) override { return new NoteFrame; }
    void refresh_after_preferences(Document &doc) override
    {
        ++static_cast<NoteDoc &>(doc).refreshed;
    }
    int created = 0;
};

struct Item
{
    QString text;
    QString prompt;
};

QList<Item> items_of(QMenu *menu)
{
    QList<Item> items;
    for (QAction *action : menu->actions()) {
        if (action->isVisible())
            items.append({action->isSeparator() ? QStringLiteral("-") : action->text(),
                          action->statusTip()});
    }
    return items;
}

QMenu *menu_titled(CMainFrame &frame, int resource, const QString &title)
{
    for (QAction *action : frame.bar_of(resource)) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

} // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT

    // The program with notes in place of locations, so that the window mechanics are tried
    // apart from what a location does.
    struct Program : test::ProgramUnderTest
    {
        NoteKind kind;

        bool start(const QStringList &arguments = {})
        {
            const bool ok = ProgramUnderTest::start(arguments);
            app.documents().set_kind(WindowKind::Location, &kind);
            return ok;
        }
        QMdiArea &area() { return *frame().mdi_area(); }
    };

private slots:
    void startsMaximizedWithDefaultsAndOpensNothingNamedOnTheCommandLine()
    {
        Program p;
        custom_settings().temperature_unit = 0;
        QString tip_text;
        QString tip_title;
        p.user.on_dialog([&](QDialog &dialog) {
            auto *tip = qobject_cast<CTipDlg *>(&dialog);
            tip_text = tip ? tip->tip_label()->text() : QString();
            tip_title = dialog.windowTitle();
            return int(QDialog::Accepted);
        });
        QVERIFY(p.start({QStringLiteral("season.loc")}));
        QCOMPARE(p.messages->texts(),
                 std::vector<std::string>{"Unable to Find the Customization File.  You Can "
                                          "Create One With the Customize Options."});
        QCOMPARE(custom_settings().temperature_unit, 1);
        QVERIFY(p.frame().isVisible());
        QVERIFY(p.frame().windowState() & Qt::WindowMaximized);
        QVERIFY(p.area().subWindowList().isEmpty());
        QCOMPARE(p.frame().windowTitle(), QStringLiteral("Tillwise"));
        QCOMPARE(tip_text, QString::fromUtf8(kGettingStartedText));
        QCOMPARE(tip_title, QStringLiteral("Tip of the Day"));
        QCOMPARE(p.frame().idle_label()->text(), QStringLiteral("Tillwise is Ready"));
        QStringList indicators;
        for (QLabel *label : p.frame().indicators())
            indicators << label->text();
        QCOMPARE(indicators, (QStringList{"CAP", "NUM", "SCRL"}));
    }

    void embeddedStartShowsNoWindow()
    {
        Program p;
        QVERIFY(p.start({QStringLiteral("/Embedding")}));
        QVERIFY(!p.frame().isVisible());
        QVERIFY(p.user.dialog_titles().isEmpty());
    }

    void startUpOffShowsNoTipButTheWelcomeCommandDoes()
    {
        Program p;
        p.store.write_int("Tip", "StartUp", 1);
        std::ofstream(p.dir.file("tips.txt")) << "Tip A\nTip B\n";
        p.start();
        QVERIFY(p.user.dialog_titles().isEmpty());
        QString shown;
        bool was_ticked = true;
        bool next_shown = true;
        p.user.on_dialog([&](QDialog &dialog) {
            auto &tip = static_cast<CTipDlg &>(dialog);
            shown = tip.tip_label()->text();
            was_ticked = tip.startup_box()->isChecked();
            next_shown = tip.next_button()->isVisible();
            tip.startup_box()->setChecked(true);
            QTest::mouseClick(tip.close_button(), Qt::LeftButton);
            return dialog.result();
        });
        p.frame().dispatch(ID_TIP_OF_THE_DAY);
        // The silent start already moved past tip A.
        QCOMPARE(shown, QStringLiteral("Tip B\n"));
        QVERIFY(!was_ticked);
        QVERIFY(!next_shown);
        QCOMPARE(p.store.read_int("Tip", "StartUp", 1), 0);
    }

    void tipWindowCyclesThroughTheTipsFromStartToStart()
    {
        Program p;
        std::ofstream(p.dir.file("tips.txt")) << "; comment\n\nTip A\n  indented\nTip B\n";
        QStringList shown;
        for (int i = 0; i < 3; ++i) {
            p.user.on_dialog([&](QDialog &dialog) {
                shown << static_cast<CTipDlg &>(dialog).tip_label()->text().trimmed();
                return int(QDialog::Accepted);
            });
            p.app.show_tip(false);
        }
        QCOMPARE(shown, (QStringList{"Tip A", "Tip B", "Tip A"}));
    }

    void mainMenuBarHoldsItsCommandsWithTheirPrompts()
    {
        Program p;
        p.start();
        QCOMPARE(p.frame().menu_resource(), kMainMenu);
        QStringList bar;
        for (QAction *action : p.frame().bar_of(kMainMenu))
            bar << action->text();
        QCOMPARE(bar, (QStringList{"&File", "&Databases", "Customize", "&View", "&Help"}));
        QCOMPARE(p.frame().bar_of(kMainMenu)[2]->statusTip(),
                 QStringLiteral("Customize Calculation Methods and Units Preferences"));

        const QList<Item> file = items_of(menu_titled(p.frame(), kMainMenu, "&File"));
        const QStringList file_texts{"&New\tCtrl+N",
                                     "&Open...\tCtrl+O",
                                     "&Farm Folder...",
                                     "-",
                                     "P&rint Setup...",
                                     "-",
                                     "Recent File",
                                     "-",
                                     "E&xit"};
        QCOMPARE(file.size(), file_texts.size());
        for (int i = 0; i < file.size(); ++i)
            QCOMPARE(file[i].text, file_texts[i]);
        QCOMPARE(file[0].prompt, QStringLiteral("Create a new document"));

        const QList<Item> databases = items_of(menu_titled(p.frame(), kMainMenu, "&Databases"));
        QCOMPARE(databases.size(), 3);
        const std::pair<const char *, const char *> expected[] = {
            {"Soils", "Edit Soil Databases"},
            {"Stations", "Edit Stations Database"},
            {"Crops", "Edit Crops Database"},
        };
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(databases[i].text, QString::fromLatin1(expected[i].first));
            QCOMPARE(databases[i].prompt, QString::fromLatin1(expected[i].second));
        }
        const QList<Item> view = items_of(menu_titled(p.frame(), kMainMenu, "&View"));
        QCOMPARE(view[0].text, QStringLiteral("&Toolbar"));
        QCOMPARE(view[1].text, QStringLiteral("&Status Bar"));
        const QList<Item> help = items_of(menu_titled(p.frame(), kMainMenu, "&Help"));
        QCOMPARE(help.size(), 4);
        QCOMPARE(help[0].text, QStringLiteral("&Welcome ..."));
        QCOMPARE(help[0].prompt, QStringLiteral("Displays a Tip of the Day."));
        QCOMPARE(help[1].text, QStringLiteral("-"));
        QCOMPARE(help[2].text, QStringLiteral("Tillwise &Help\tF1"));
        QCOMPARE(help[2].prompt, QStringLiteral("Open the user's guide at its contents"));
        QCOMPARE(help[3].text, QStringLiteral("&About Tillwise..."));
    }

    void locationMenuBarHoldsTheDocumentCommands()
    {
        Program p;
        p.start();
        QStringList bar;
        for (QAction *action : p.frame().bar_of(kLocationMenu))
            bar << action->text();
        QCOMPARE(bar, (QStringList{"&File", "&Edit", "&Import", "&Databases", "&View", "&Window",
                                   "&Help"}));
        QStringList file;
        for (const Item &item : items_of(menu_titled(p.frame(), kLocationMenu, "&File")))
            file << item.text;
        QCOMPARE(file, (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S",
                                    "Save &As...", "&Export...", "&Farm Folder...", "-",
                                    "&Print...\tCtrl+P", "Print Preview", "P&rint Setup...", "-",
                                    "Recent File", "-", "E&xit"}));
        const QList<Item> edit = items_of(menu_titled(p.frame(), kLocationMenu, "&Edit"));
        QStringList edit_texts;
        for (const Item &item : edit)
            edit_texts << item.text;
        QCOMPARE(edit_texts, (QStringList{"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                                          "&Paste\tCtrl+V", "-", "General Location/Station Info",
                                          "Customization Preferences"}));
        QCOMPARE(edit[6].prompt, QStringLiteral("Edit Location General Information"));
        QCOMPARE(edit[7].text, QStringLiteral("Customization Preferences"));
        QCOMPARE(edit[7].prompt,
                 QStringLiteral("Customize Calculation Methods and Units Preferences"));

        const QList<Item> import = items_of(menu_titled(p.frame(), kLocationMenu, "&Import"));
        const QString service =
            QStringLiteral("Import Weather Data Downloaded From http://weather.tillwise.example");
        const QList<std::pair<QString, QString>> expected = {
            {"JVU (new)", service},
            {"JVU (old)", service},
            {"USDA", "Import Weather Data in USDA defined comma delineated format"},
            {"USDA (no RH)", "Import Weather Data in USDA defined comma delineated format, "
                             "excluding relative humidity"},
            {"Kansas State", "Import weather data from Kansas Statue file format"},
            {"CSV...", "Import weather data from a station's CSV file, choosing each column and "
                       "its unit"},
            {"Update Weather",
             "Fetch the days after the last day with data from the location's weather source"},
        };
        QCOMPARE(import.size(), expected.size());
        for (int i = 0; i < import.size(); ++i) {
            QCOMPARE(import[i].text, expected[i].first);
            QCOMPARE(import[i].prompt, expected[i].second);
        }
        QStringList window;
        for (const Item &item : items_of(menu_titled(p.frame(), kLocationMenu, "&Window")))
            window << item.text;
        QCOMPARE(window, (QStringList{"&New Window", "&Cascade", "&Tile", "&Arrange Icons"}));
        QStringList databases;
        for (const Item &item : items_of(menu_titled(p.frame(), kLocationMenu, "&Databases")))
            databases << item.text + '|' + item.prompt;
        QCOMPARE(databases,
                 (QStringList{"Soils|Edit Soil Databases", "Stations|Edit Stations Database",
                              "Crops|Edit Crops Database"}));
        QStringList help;
        for (const Item &item : items_of(menu_titled(p.frame(), kLocationMenu, "&Help")))
            help << item.text;
        QCOMPARE(help,
                 (QStringList{"&Welcome ...", "-", "Tillwise &Help\tF1", "&About Tillwise..."}));
        for (const int bar_id : {kMainMenu, kLocationMenu, kFieldMenu})
            QCOMPARE(items_of(menu_titled(p.frame(), bar_id, "&Help"))[0].text,
                     QStringLiteral("&Welcome ..."));
    }

    void acceleratorsAreBoundToTheirCommands()
    {
        Program p;
        p.start();
        const auto &keys = p.frame().accelerator_actions();
        const auto shortcuts_of = [&](int command) {
            QStringList texts;
            for (const QKeySequence &key : keys.at(command)->shortcuts())
                texts << key.toString();
            return texts;
        };
        QCOMPARE(shortcuts_of(ID_FILE_NEW), QStringList{"Ctrl+N"});
        QCOMPARE(shortcuts_of(ID_FILE_OPEN), QStringList{"Ctrl+O"});
        QCOMPARE(shortcuts_of(ID_FILE_SAVE), QStringList{"Ctrl+S"});
        QCOMPARE(shortcuts_of(ID_FILE_PRINT), QStringList{"Ctrl+P"});
        QCOMPARE(shortcuts_of(ID_EDIT_UNDO), (QStringList{"Ctrl+Z", "Alt+Backspace"}));
        QCOMPARE(shortcuts_of(ID_EDIT_CUT), (QStringList{"Ctrl+X", "Shift+Del"}));
        QCOMPARE(shortcuts_of(ID_EDIT_COPY), (QStringList{"Ctrl+C", "Ctrl+Ins"}));
        QCOMPARE(shortcuts_of(ID_EDIT_PASTE), (QStringList{"Ctrl+V", "Shift+Ins"}));
        QCOMPARE(shortcuts_of(ID_NEXT_PANE), QStringList{"F6"});
        QCOMPARE(shortcuts_of(ID_PREV_PANE), QStringList{"Shift+F6"});

        // Ctrl+N reaches File > New, which asks for the document type.
        QApplication::setActiveWindow(&p.frame());
        QVERIFY(QTest::qWaitForWindowActive(&p.frame()));
        QTest::keyClick(&p.frame(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(p.user.dialog_titles().back(), QStringLiteral("New"));
    }

    void toolbarButtonsHaveTipsAndFlyByPrompts()
    {
        Program p;
        p.start();
        QToolBar *toolbar = p.frame().tool_bar();
        QVERIFY(toolbar->isVisible());
        QCOMPARE(p.frame().toolBarArea(toolbar), Qt::TopToolBarArea);
        QCOMPARE(toolbar->allowedAreas(), Qt::AllToolBarAreas);
        QStringList tips;
        for (QAction *action : toolbar->actions()) {
            if (action->isSeparator())
                continue;
            tips << action->toolTip();
            QVERIFY(!action->statusTip().isEmpty());
            QVERIFY(!action->icon().isNull());
        }
        QCOMPARE(tips,
                 (QStringList{"New", "Open", "Save", "Print",
                              "Customize Calculation Methods and Units Preferences", "About"}));
        p.frame().dispatch(ID_VIEW_TOOLBAR);
        QVERIFY(!toolbar->isVisible());
    }

    void fileNewOffersLocationAndFieldAndOpenTheirFilters()
    {
        Program p;
        p.start();
        QStringList offered;
        p.user.on_dialog([&](QDialog &dialog) {
            auto &chooser = static_cast<NewDocumentDialog &>(dialog);
            for (int i = 0; i < chooser.list()->count(); ++i)
                offered << chooser.list()->item(i)->text();
            // "&New" is the list's label with its shortcut, not a literal ampersand.
            for (const QLabel *label : chooser.findChildren<QLabel *>())
                offered << (label->buddy() == chooser.list() ? label->text() : QString());
            return int(QDialog::Rejected);
        });
        p.frame().dispatch(ID_FILE_NEW);
        QCOMPARE(offered, (QStringList{"Location", "Field", "&New"}));
        QVERIFY(p.area().subWindowList().isEmpty());

        p.frame().dispatch(ID_FILE_OPEN);
        QCOMPARE(p.user.file_filters().back(),
                 QStringLiteral("Location(weather) Files (*loc);;Field Files(*.fld)"));
    }

    void documentsCarryTheirStateAndAskToSaveBeforeClosing()
    {
        Program p;
        p.start();
        p.user.on_dialog([](QDialog &dialog) {
            static_cast<NewDocumentDialog &>(dialog).list()->setCurrentRow(0);
            return int(QDialog::Accepted);
        });
        p.frame().dispatch(ID_FILE_NEW);
        QCOMPARE(p.area().subWindowList().size(), 1);
        QMdiSubWindow *window = p.area().subWindowList().front();
        QCOMPARE(window->windowTitle(), QStringLiteral("Note1[*]"));
        QCOMPARE(p.frame().menu_resource(), kLocationMenu);
        Document &doc = static_cast<DocumentWindow *>(window)->document();
        static_cast<NoteDoc &>(doc).text = "season";
        doc.set_modified();
        QVERIFY(window->isWindowModified());

        // A second window numbers both.
        p.frame().dispatch(ID_WINDOW_NEW);
        QCOMPARE(p.area().subWindowList().size(), 2);
        QCOMPARE(p.area().subWindowList()[0]->windowTitle(), QStringLiteral("Note1:1[*]"));
        p.area().subWindowList()[1]->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(p.area().subWindowList().size(), 1);
        QVERIFY(p.user.asked_to_save().isEmpty());

        // Closing the last window asks; Cancel keeps it.
        p.user.answer_ask_to_save(SaveAnswer::Cancel);
        QVERIFY(!window->close());
        QCOMPARE(p.user.asked_to_save(), QStringList{"Note1"});

        // Save answers with the Save As dialog; the file is written and remembered.
        const QString path = QString::fromStdString(p.dir.file("Season.loc").string());
        p.user.answer_save(path);
        p.frame().dispatch(ID_FILE_SAVE);
        QCOMPARE(p.user.proposed_names().back(), QStringLiteral("Note1.loc"));
        QCOMPARE(test::read_text(p.dir.file("Season.loc")), std::string("season"));
        QVERIFY(!doc.is_modified());
        QCOMPARE(window->windowTitle(), QStringLiteral("Season[*]"));
        QCOMPARE(p.app.documents().recent().entries().front(), path.toStdString());

        p.frame().dispatch(ID_FILE_CLOSE);
        QVERIFY(p.area().subWindowList().isEmpty());
        QCOMPARE(p.frame().menu_resource(), kMainMenu);

        // The recent file reopens it.
        p.frame().dispatch(ID_FILE_MRU_FILE1);
        QCOMPARE(p.area().subWindowList().size(), 1);
        auto &reopened = static_cast<NoteDoc &>(p.app.documents().active_window()->document());
        QCOMPARE(reopened.text, std::string("season"));
        // Opening it again only brings its window forward.
        p.app.documents().open_document(p.dir.file("Season.loc"));
        QCOMPARE(p.area().subWindowList().size(), 1);

        // Exit asks for each modified document, and No lets the program end.
        reopened.set_modified();
        p.user.answer_ask_to_save(SaveAnswer::Discard);
        QVERIFY(p.frame().close());
        QCOMPARE(p.user.asked_to_save().size(), 2);
    }

    // Another program saved the file after it was opened: the save is refused, and the user
    // either keeps the window's unsaved text (No) or reloads what the other program wrote (Yes).
    void saveOverAFileChangedElsewhereOffersToReloadIt()
    {
        Program p;
        p.start();
        const std::filesystem::path file = p.dir.file("Shared.loc");
        std::ofstream(file) << "first";
        p.app.documents().open_document(file);
        auto window = [&] { return p.area().subWindowList().front(); };
        auto doc = [&]() -> NoteDoc & {
            return static_cast<NoteDoc &>(static_cast<DocumentWindow *>(window())->document());
        };
        doc().text = "mine";
        doc().set_modified();
        std::ofstream(file) << "theirs, longer";

        p.messages->clear();
        p.messages->queue_answer(false);
        p.frame().dispatch(ID_FILE_SAVE);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(test::read_text(file), std::string("theirs, longer"));
        QCOMPARE(p.messages->texts().size(), std::size_t{1});
        QVERIFY(p.messages->texts()[0].find("was changed by another program") != std::string::npos);
        QVERIFY(
            p.messages->texts()[0].ends_with("Do you want to reload it (your changes are lost)?"));
        QCOMPARE(doc().text, std::string("mine"));
        QVERIFY(doc().is_modified());

        p.messages->queue_answer(true);
        p.frame().dispatch(ID_FILE_SAVE);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(p.area().subWindowList().size(), 1);
        QCOMPARE(doc().text, std::string("theirs, longer"));
        QVERIFY(!doc().is_modified());
        QVERIFY(p.user.asked_to_save().isEmpty());
        QCOMPARE(test::read_text(file), std::string("theirs, longer"));
    }

    // Choosing a farm folder makes it the working folder, gives it the reference files it
    // lacks without touching the ones it has, applies its preferences to the open documents
    // and is remembered; cancelling the chooser changes nothing.
    void farmFolderIsSeededAppliedAndRemembered()
    {
        Program p;
        p.start();
        p.app.documents().new_document(*p.app.types().location_type(), nullptr);
        auto &note = static_cast<NoteDoc &>(p.app.documents().active_window()->document());
        const std::filesystem::path before = work_dir();
        const std::filesystem::path cwd = std::filesystem::current_path();

        p.user.answer_folder(QString());
        p.frame().dispatch(ID_FARM_FOLDER);
        QCOMPARE(work_dir(), before);
        QCOMPARE(note.refreshed, 0);

        const std::filesystem::path farm = p.dir.file("farm");
        std::filesystem::create_directory(farm);
        CustomSettings metric;
        metric.depth_unit = 0;
        const CustomSettingsImage image = encode_custom_settings(metric);
        std::ofstream(farm / "custom.con", std::ios::binary)
            .write(reinterpret_cast<const char *>(image.data()), std::streamsize(image.size()));
        custom_settings().depth_unit = 1;

        p.user.answer_folder(QString::fromStdString(farm.string()));
        p.frame().dispatch(ID_FARM_FOLDER);
        QCOMPARE(work_dir(), farm);
        for (const char *name : {"soil.db", "crop.db", "station.db", "N_FERT.LIB", "REC.KB"})
            QVERIFY2(file_exists(farm / name), name);
        QCOMPARE(test::read_text(farm / "custom.con"),
                 std::string(reinterpret_cast<const char *>(image.data()), image.size()));
        QCOMPARE(custom_settings().depth_unit, 0);
        QCOMPARE(note.refreshed, 1);
        QCOMPARE(farm_folder(p.store, p.dir.path()), farm);
        QCOMPARE(p.user.file_captions().back(), QStringLiteral("Farm Folder"));
        std::filesystem::current_path(cwd);
    }

    void customizeCancelChangesNothingAndOkAppliesAndSaves()
    {
        Program p;
        p.start();
        p.app.documents().new_document(*p.app.types().location_type(), nullptr);
        auto &note = static_cast<NoteDoc &>(p.app.documents().active_window()->document());

        p.user.on_dialog([](QDialog &dialog) {
            auto &sheet = static_cast<CCustomizeSheet &>(dialog);
            sheet.units_page()->list_of(Temperature)->setCurrentIndex(0);
            return int(QDialog::Rejected);
        });
        p.frame().dispatch(ID_CUSTOMIZE);
        QCOMPARE(custom_settings().temperature_unit, 1);
        QCOMPARE(note.refreshed, 0);
        QVERIFY(!file_exists(p.dir.file("custom.con")));

        custom_settings().radiation_unit = 5; // not on the page
        p.user.on_dialog(test::accept_with<CCustomizeSheet>([](CCustomizeSheet &sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Customize Tillwise"));
            QCOMPARE(sheet.pages()->tabText(0), QStringLiteral("Units"));
            QCOMPARE(sheet.pages()->tabText(1), QStringLiteral("Calculations"));
            QCOMPARE(sheet.units_page()->list_of(Radiation)->currentIndex(), -1);
            QCOMPARE(sheet.units_page()->list_of(Temperature)->currentText(),
                     QStringLiteral("Farenheight"));
            QCOMPARE(sheet.units_page()->display_group()->checkedId(), 1);
            sheet.units_page()->list_of(Temperature)->setCurrentIndex(0);
            sheet.calculations_page()->solar_radiation()->button(1)->click();
        }));
        p.frame().dispatch(ID_CUSTOMIZE);
        QCOMPARE(custom_settings().temperature_unit, 0);
        QCOMPARE(custom_settings().cloud_cover_input, 1);
        QCOMPARE(custom_settings().radiation_unit, 5);
        QCOMPARE(note.refreshed, 1);
        QCOMPARE(size_of_file(p.dir.file("custom.con")).value_or(0), std::uintmax_t(152));
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_main_frame.moc"
