#include "app/ui/tillwise_app.h"

#include "app/active_location.h"
#include "app/commands.h"
#include "app/farm_folder.h"
#include "app/ui/about_dialog.h"
#include "app/ui/context_help.h"
#include "app/ui/help_window.h"
#include "app/ui/main_frame.h"
#include "fertility/ui/fertilizer_wizard.h"
#include "field/ui/crops_database_dialog.h"
#include "field/ui/field_kind.h"
#include "leaching/ui/leaching_windows.h"
#include "location/location_doc.h"
#include "location/ui/location_kind.h"
#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/ui/interaction.h"
#include "platform/ui/shared_printer.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"
#include "refdata/preferences_form.h"
#include "refdata/tip_of_day.h"
#include "refdata/ui/customize_sheet.h"
#include "refdata/ui/soil_dialogs.h"
#include "refdata/ui/station_dialogs.h"
#include "refdata/ui/tip_dialog.h"

#include <QApplication>
#include <QMdiArea>
#include <QWhatsThis>

#include <system_error>

namespace tw {

StartOptions parse_command_line(const QStringList &arguments)
{
    StartOptions options;
    for (const QString &argument : arguments) {
        const bool flag = argument.startsWith('/') || argument.startsWith('-');
        const QString name = argument.mid(1);
        if (flag && (name.compare(QStringLiteral("Embedding"), Qt::CaseInsensitive) == 0 ||
                     name.compare(QStringLiteral("Automation"), Qt::CaseInsensitive) == 0)) {
            options.embedded = true;
            options.show_splash = false;
        }
    }
    return options;
}

CTillwiseApp::CTillwiseApp(SettingsStore &store)
    : store_(store)
    , types_(DocumentTypes::standard())
    , manager_(types_, store_)
{}

CTillwiseApp::~CTillwiseApp()
{
    context_help_.reset();
    // The windows go first: their panes watch the documents the manager owns.
    if (frame_)
        QObject::disconnect(&manager_, nullptr, frame_.get(), nullptr);
    manager_.discard_windows();
    frame_.reset();
}

bool CTillwiseApp::init_instance(const QStringList &arguments)
{
    QApplication::setApplicationDisplayName(QString::fromUtf8(app_title()));
    load_custom_settings();
    register_document_kinds();
    register_database_commands();

    frame_ = std::make_unique<CMainFrame>();
    frame_->set_app_target(this);
    if (has_guide()) {
        context_help_ = std::make_unique<ContextHelp>();
        // Shift+F1, then a click on a figure or a column title: what it means.
        frame_->addAction(QWhatsThis::createAction(frame_.get()));
    }
    frame_->set_close_query([this] { return manager_.save_all_modified(); });
    manager_.attach(frame_->mdi_area());
    frame_->set_recent_files(manager_.recent().entries());
    QObject::connect(&manager_, &DocumentManager::recent_files_changed, frame_.get(),
                     [this] { frame_->set_recent_files(manager_.recent().entries()); });
    QObject::connect(&manager_, &DocumentManager::documents_changed, frame_.get(),
                     &CMainFrame::update_command_states);

    // The desktop's file associations for .loc and .fld come with the installed program, not
    // from a start of it. A document named on the command line is not opened.
    const StartOptions options = parse_command_line(arguments);
    if (options.embedded)
        return true;
    frame_->showMaximized();
    if (options.show_splash && edition().tip_window)
        show_tip(false);
    return true;
}

bool CTillwiseApp::use_farm_folder(const std::filesystem::path &folder)
{
    const std::vector<std::string> failed = open_farm_folder(folder);
    std::error_code ec;
    if (work_dir() == folder)
        std::filesystem::current_path(folder, ec);
    if (!failed.empty()) {
        std::string names;
        for (const std::string &name : failed)
            names += "\n  " + name;
        messages().inform("The farm folder " + folder.string() +
                              " could not be given these files:" + names,
                          "Farm Folder", MessageIcon::Warning);
    }
    if (work_dir() != folder)
        return false;
    remember_farm_folder(store_, folder);
    return true;
}

void CTillwiseApp::choose_farm_folder()
{
    const QString chosen = interaction().existing_folder(
        frame_.get(), QStringLiteral("Farm Folder"), QString::fromStdString(work_dir().string()));
    if (chosen.isEmpty() || !use_farm_folder(chosen.toStdString()))
        return;
    // The folder's own preferences apply to every open document.
    load_custom_settings();
    refresh_after_preferences();
}

void CTillwiseApp::register_document_kinds()
{
    auto locations = std::make_unique<LocationKind>(
        [this] {
            std::vector<CLocationDoc *> docs;
            if (const DocumentType *type = types_.location_type()) {
                for (Document *doc : manager_.documents_of(*type))
                    docs.push_back(static_cast<CLocationDoc *>(doc));
            }
            return docs;
        },
        store_);
    set_kind(WindowKind::Location, std::move(locations));

    FieldServices fields;
    fields.location_for_field = [this](std::span<const std::uint8_t> field_bytes) {
        DocumentWindow *window = manager_.active_window();
        return location_for_field({window != nullptr, window ? &window->document() : nullptr},
                                  field_bytes);
    };
    fields.open_window = [this](Document &doc, WindowKind view) { manager_.new_window(doc, view); };
    fields.open_location = [this](const std::filesystem::path &path) {
        return dynamic_cast<CLocationDoc *>(manager_.open_document(path));
    };
    fields.consultations.fertilizer = [this](CFieldDoc &field) {
        run_fertilizer_wizard(frame_.get(), field);
    };
    fields.consultations.leaching_summary = [this](CFieldDoc &doc) {
        show_leaching_summary(frame_.get(), doc);
    };
    fields.settings = &store_;
    set_kind(WindowKind::Field, std::make_unique<FieldKind>(fields, WindowKind::Field));
    set_kind(WindowKind::FieldNitrogen,
             std::make_unique<FieldKind>(fields, WindowKind::FieldNitrogen));
}

void CTillwiseApp::register_database_commands()
{
    const auto modal = [this]<typename Dialog>() {
        return [this] {
            Dialog dialog(frame_.get());
            interaction().exec(dialog);
        };
    };
    set_command_handler(ID_SOILS, modal.operator()<CSoilsDatabaseDlg>());
    set_command_handler(ID_STATIONS, modal.operator()<CStationsDatabaseDlg>());
    set_command_handler(ID_CROPS, modal.operator()<CCropsDatabaseDlg>());
}

void CTillwiseApp::set_kind(WindowKind which, std::unique_ptr<DocumentKind> kind)
{
    manager_.set_kind(which, kind.get());
    kinds_.push_back(std::move(kind));
}

void CTillwiseApp::set_command_handler(int command, std::function<void()> handler)
{
    handlers_[command] = std::move(handler);
    if (frame_)
        frame_->update_command_states();
}

void CTillwiseApp::show_tip(bool always)
{
    TipOfDay tip(store_, work_file("tips.txt"));
    run_tip_of_day(tip, frame_.get(), always);
}

void CTillwiseApp::refresh_after_preferences()
{
    const auto registered = types_.registered();
    for (std::size_t i = 0; i < registered.size() && i < 2; ++i) {
        DocumentKind *kind = manager_.kind_of(*registered[i]);
        if (!kind)
            continue;
        for (Document *doc : manager_.documents_of(*registered[i]))
            kind->refresh_after_preferences(*doc);
    }
}

void CTillwiseApp::customize()
{
    CCustomizeSheet sheet(PreferencesForm::from(custom_settings()), frame_.get());
    if (interaction().exec(sheet) != QDialog::Accepted)
        return;
    sheet.form().apply_to(custom_settings());
    refresh_after_preferences();
    save_custom_settings();
}

void CTillwiseApp::about()
{
    CAboutDlg dialog(frame_.get());
    interaction().exec(dialog);
}

void CTillwiseApp::help_contents()
{
    show_help(*frame_, {guide_pages().front().file, {}});
}

void CTillwiseApp::print_setup()
{
    interaction().choose_printer(shared_printer(), frame_.get());
}

Document *CTillwiseApp::active_document() const
{
    DocumentWindow *window = manager_.active_window();
    return window ? &window->document() : nullptr;
}

bool CTillwiseApp::handles_command(int command) const
{
    if (command >= ID_FILE_MRU_FILE1 && command < ID_FILE_MRU_FILE1 + 5)
        return static_cast<std::size_t>(command - ID_FILE_MRU_FILE1) <
               manager_.recent().entries().size();
    switch (command) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_APP_EXIT:
    case ID_CUSTOMIZE:
    case ID_APP_ABOUT:
    case ID_HELP_FINDER:
    case ID_FARM_FOLDER:
    case ID_TIP_OF_THE_DAY: return true;
    case ID_FILE_CLOSE:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_WINDOW_NEW: return active_document() != nullptr;
    default: return handlers_.count(command) != 0;
    }
}

void CTillwiseApp::run_command(int command)
{
    if (command >= ID_FILE_MRU_FILE1 && command < ID_FILE_MRU_FILE1 + 5) {
        const auto &entries = manager_.recent().entries();
        const auto slot = static_cast<std::size_t>(command - ID_FILE_MRU_FILE1);
        if (slot < entries.size())
            manager_.open_document(std::filesystem::path(std::string(entries[slot])));
        return;
    }
    switch (command) {
    case ID_FILE_NEW: manager_.file_new(frame_.get()); return;
    case ID_FILE_OPEN: manager_.file_open(frame_.get()); return;
    case ID_FILE_PRINT_SETUP: print_setup(); return;
    case ID_APP_EXIT: frame_->close(); return;
    case ID_CUSTOMIZE: customize(); return;
    case ID_APP_ABOUT: about(); return;
    case ID_HELP_FINDER: help_contents(); return;
    case ID_TIP_OF_THE_DAY:
        if (edition().tip_window)
            show_tip(true);
        return;
    case ID_FARM_FOLDER: choose_farm_folder(); return;
    default: break;
    }
    if (Document *doc = active_document())
        run_document_command(command, *doc);
    if (const auto it = handlers_.find(command); it != handlers_.end())
        it->second();
}

void CTillwiseApp::run_document_command(int command, Document &doc)
{
    switch (command) {
    case ID_FILE_CLOSE: manager_.close_document(doc); break;
    case ID_FILE_SAVE: manager_.save(doc); break;
    case ID_FILE_SAVE_AS: manager_.save_as(doc); break;
    case ID_WINDOW_NEW: manager_.new_window(doc); break;
    default: break;
    }
}

} // namespace tw
