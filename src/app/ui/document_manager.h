#pragma once

#include "app/document_types.h"
#include "app/recent_files.h"
#include "platform/document.h"
#include "platform/ui/document_frame.h"

#include <QMdiSubWindow>
#include <QObject>

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

class QMdiArea;

namespace tw {

class DocumentManager;
class SettingsStore;

/// One window on a document: it carries the document's title ("[*]" for the modified mark, ":n"
/// when the document has several windows) and asks the manager before it closes.
class DocumentWindow
    : public QMdiSubWindow
    , public DocumentView
{
    Q_OBJECT

public:
    DocumentWindow(DocumentManager &manager, Document &doc, DocumentFrame *frame);
    ~DocumentWindow() override;

    Document &document() const { return doc_; }
    DocumentFrame *frame() const { return frame_; }
    void update_title(int number, int count);

    void on_update(ViewHint) override {}
    void on_state_changed() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    DocumentManager &manager_;
    Document &doc_;
    DocumentFrame *frame_;
};

/// The open documents and their windows: File > New, Open, Save, Save As, Close, the recent-file
/// list, and the ask-to-save on closing.
class DocumentManager : public QObject
{
    Q_OBJECT

public:
    DocumentManager(const DocumentTypes &types, SettingsStore &store);
    ~DocumentManager() override;
    /// The program ends: every window goes without asking (the documents stay until the manager
    /// goes).
    void discard_windows();

    void attach(QMdiArea *area) { area_ = area; }
    /// Binds the kind that builds the documents of every type with this window.
    void set_kind(WindowKind which, DocumentKind *kind);

    const DocumentTypes &types() const { return types_; }
    const RecentFiles &recent() const { return recent_; }

    /// File > New: the user picks one of the registered types when there are several.
    void file_new(QWidget *parent);
    Document *new_document(const DocumentType &type, QWidget *parent);
    /// File > Open: the file dialog with the registered types' filters.
    void file_open(QWidget *parent);
    /// Opens a file, or brings its window to the front when it is open already.
    Document *open_document(const std::filesystem::path &path);
    bool save(Document &doc);
    bool save_as(Document &doc);
    /// Closes every window of the document after asking to save; false when it stays open.
    bool close_document(Document &doc);
    /// On exit: asks to save each modified document; false when the user cancels.
    bool save_all_modified();
    /// Window > New Window.
    DocumentWindow *new_window(Document &doc);
    /// Another window on the document, of the kind bound to `view` (a field's nitrogen window).
    DocumentWindow *new_window(Document &doc, WindowKind view);

    std::vector<Document *> documents() const;
    std::vector<Document *> documents_of(const DocumentType &type) const;
    const DocumentType *type_of(const Document &doc) const;
    DocumentKind *kind_of(const DocumentType &type) const;
    std::vector<DocumentWindow *> windows_of(const Document &doc) const;
    DocumentWindow *active_window() const;

    // Called by DocumentWindow.
    bool window_may_close(DocumentWindow &window);
    void window_destroyed(DocumentWindow &window);

signals:
    void recent_files_changed();
    void documents_changed();

private:
    struct Open
    {
        std::unique_ptr<Document> doc;
        const DocumentType *type;
        std::vector<DocumentWindow *> windows;
    };

    Open *find(const Document &doc);
    const Open *find(const Document &doc) const;
    Document *adopt(std::unique_ptr<Document> doc, const DocumentType &type);
    bool ask_to_save(Document &doc);
    /// Another program saved the document's file since it was read: the user may reload it.
    void offer_to_reload(Document &doc, const std::string &error);
    void reload(const std::filesystem::path &path);
    bool write(Document &doc, const std::filesystem::path &path);
    void remember(const std::filesystem::path &path);
    void close_dependents(const DocumentKind &kind, const Document &doc);
    void renumber(const Document &doc);

    const DocumentTypes &types_;
    SettingsStore &store_;
    QMdiArea *area_ = nullptr;
    RecentFiles recent_;
    std::map<WindowKind, DocumentKind *> kinds_;
    std::vector<Open> open_;
    bool discarding_ = false;
};

} // namespace tw
