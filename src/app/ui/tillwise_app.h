#pragma once

#include "app/document_types.h"
#include "app/ui/document_manager.h"
#include "platform/ui/document_frame.h"

#include <QStringList>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace tw {

class CMainFrame;
class ContextHelp;
class SettingsStore;

/// What the command line asks for: an embedded or automation start runs without a window and
/// without the welcome window. Document names are not opened at start-up.
struct StartOptions
{
    bool embedded = false;
    bool show_splash = true;
};
StartOptions parse_command_line(const QStringList &arguments);

/// The application: starts the program, owns the document types and the open documents, and
/// carries out the commands that belong to no document.
class CTillwiseApp : public CommandTarget
{
public:
    explicit CTillwiseApp(SettingsStore &store);
    ~CTillwiseApp();

    /// Start-up in order: preferences, document types, main window, command line, the window
    /// shown maximized, the welcome window. False when the program is to end at once.
    bool init_instance(const QStringList &arguments);

    CMainFrame *main_frame() const { return frame_.get(); }
    DocumentManager &documents() { return manager_; }
    const DocumentTypes &types() const { return types_; }
    SettingsStore &settings() { return store_; }

    /// Works in the farm folder from now on: created and seeded when new, made the working and
    /// current directory, remembered in the settings store. False after the message when it
    /// cannot be made.
    bool use_farm_folder(const std::filesystem::path &folder);
    /// File > Farm Folder...: another folder; the preferences of that folder then apply.
    void choose_farm_folder();

    /// Binds a command of a later dialog (the databases) to the application.
    void set_command_handler(int command, std::function<void()> handler);

    /// After the preferences were accepted: every field reruns from day 0, every location
    /// redraws.
    void refresh_after_preferences();
    /// The welcome window; `always` for the menu command, else only when it is to show at
    /// start-up.
    void show_tip(bool always);

    bool handles_command(int command) const override;
    void run_command(int command) override;

    /// Binds the kind that builds a type's documents and windows (the field windows come with
    /// their own kind).
    void set_kind(WindowKind which, std::unique_ptr<DocumentKind> kind);

private:
    void register_document_kinds();
    void register_database_commands();
    void run_document_command(int command, Document &doc);
    void customize();
    void about();
    void help_contents();
    void print_setup();
    Document *active_document() const;

    SettingsStore &store_;
    DocumentTypes types_;
    std::vector<std::unique_ptr<DocumentKind>> kinds_;
    DocumentManager manager_; // outlives the frame: the windows tell it when they go
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<ContextHelp> context_help_;
    std::map<int, std::function<void()>> handlers_;
};

} // namespace tw
