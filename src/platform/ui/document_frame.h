#pragma once

#include "platform/document.h"

#include <QSize>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QMdiSubWindow;

namespace tw {

/// Something that carries out menu commands: a document window, or the application.
class CommandTarget
{
public:
    /// Whether the command is carried out here (its menu item is enabled).
    virtual bool handles_command(int command) const = 0;
    virtual void run_command(int command) = 0;

protected:
    ~CommandTarget() = default;
};

/// The contents of a document's window: the panes, and the commands of its menu bar.
class DocumentFrame
    : public QWidget
    , public CommandTarget
{
    Q_OBJECT

public:
    using QWidget::QWidget;
    /// The menu bar shown while the window is active (258, 259).
    virtual int menu_resource() const = 0;
    /// F6 / Shift+F6: the keyboard focus goes to the next or previous pane.
    virtual void next_pane(bool forward) = 0;
    /// Sets up the window that holds the frame inside a main-window area of the given size.
    virtual void place(QMdiSubWindow &, const QSize &) {}
    /// A window that closes only with its document (File > Close) ignores a close request of its
    /// own.
    virtual bool closes_with_document_only() const { return false; }
};

/// What one document type does in the program: create, read and write its documents and open
/// windows on them. The document type table says which types exist; a kind is bound to a type
/// when its windows are built.
class DocumentKind
{
public:
    virtual ~DocumentKind() = default;
    /// A new document, or nothing when the user cancels its creation.
    virtual std::unique_ptr<Document> create_new(QWidget *parent) = 0;
    /// A document from the bytes of its file. Read errors are reported by the document; what was
    /// read stays. Nothing when no document of this kind can be opened now.
    virtual std::unique_ptr<Document> read(std::span<const std::uint8_t> bytes) = 0;
    /// Saves the document to `path` through its type's save, the one the command line uses.
    virtual SaveOutcome save(Document &doc, const std::filesystem::path &path) = 0;
    /// The file name offered when the document is first saved.
    virtual std::string proposed_file_name(const Document &doc) const = 0;
    /// The title a document takes from its file's base name.
    virtual void title_from_file(Document &doc, const std::string &base_name) const
    {
        doc.set_title(base_name);
    }
    virtual DocumentFrame *create_frame(Document &doc) = 0;
    /// After the preferences changed: bring the document and its windows up to date.
    virtual void refresh_after_preferences(Document &doc) = 0;
    /// Whether the document may close now (it tells the user why not).
    virtual bool can_close(const Document &) const { return true; }
    /// The document's last window is going; the document goes next.
    virtual void closing(Document &) {}
    /// The open documents that cannot outlive this one (a location's fields): they close with it.
    virtual std::vector<Document *> dependents(const Document &) const { return {}; }
};

} // namespace tw
