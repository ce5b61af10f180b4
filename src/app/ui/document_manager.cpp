#include "app/ui/document_manager.h"

#include "app/ui/new_document_dialog.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/ui/interaction.h"

#include <QCloseEvent>
#include <QMdiArea>

#include <algorithm>

namespace tw {
namespace {

QString qt_text(const std::string &text)
{
    return QString::fromStdString(text);
}

QString filter_of(const DocumentType &type)
{
    // The type's filter text ends in its pattern in parentheses, as the file dialog reads it.
    return qt_text(type.strings.filter_name);
}

// Documents are small; a file beyond this is read no further than this and left to its type to
// refuse.
constexpr std::size_t kMaxDocumentBytes = std::size_t{64} << 20;

std::filesystem::path path_of(const QString &name)
{
    return std::filesystem::path(name.toStdString());
}

} // namespace

DocumentWindow::DocumentWindow(DocumentManager &manager, Document &doc, DocumentFrame *frame)
    : manager_(manager)
    , doc_(doc)
    , frame_(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(frame);
    doc_.add_view(this);
}

DocumentWindow::~DocumentWindow()
{
    // The panes are views of the document: they go before the document may.
    doc_.remove_view(this);
    delete widget();
    manager_.window_destroyed(*this);
}

void DocumentWindow::update_title(int number, int count)
{
    QString title = qt_text(doc_.title());
    if (count > 1)
        title += ':' + QString::number(number);
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(doc_.is_modified());
}

void DocumentWindow::on_state_changed()
{
    const auto windows = manager_.windows_of(doc_);
    const auto it = std::find(windows.begin(), windows.end(), this);
    update_title(static_cast<int>(it - windows.begin()) + 1, static_cast<int>(windows.size()));
    emit manager_.documents_changed();
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    if (!frame_->closes_with_document_only() && manager_.window_may_close(*this))
        event->accept();
    else
        event->ignore();
}

DocumentManager::DocumentManager(const DocumentTypes &types, SettingsStore &store)
    : types_(types)
    , store_(store)
{
    recent_.load(store_);
}

DocumentManager::~DocumentManager()
{
    // Windows still open go first: their panes watch the documents.
    discard_windows();
}

void DocumentManager::discard_windows()
{
    // The last opened go first: a field opened after its location goes before it. Each window
    // takes its document with it when it is the document's last; the kinds are not asked, as
    // everything goes.
    discarding_ = true;
    while (!open_.empty()) {
        Open &last = open_.back();
        if (last.windows.empty())
            open_.pop_back();
        else
            delete last.windows.back();
    }
}

void DocumentManager::set_kind(WindowKind which, DocumentKind *kind)
{
    kinds_[which] = kind;
}

DocumentKind *DocumentManager::kind_of(const DocumentType &type) const
{
    const auto it = kinds_.find(type.view);
    return it == kinds_.end() ? nullptr : it->second;
}

void DocumentManager::file_new(QWidget *parent)
{
    const auto registered = types_.registered();
    if (registered.empty())
        return;
    std::size_t chosen = 0;
    if (registered.size() > 1) {
        QStringList names;
        for (const std::string &name : types_.new_choices())
            names << qt_text(name);
        NewDocumentDialog dialog(names, parent);
        if (interaction().exec(dialog) != QDialog::Accepted || dialog.chosen() < 0)
            return;
        chosen = static_cast<std::size_t>(dialog.chosen());
    }
    new_document(*registered[chosen], parent);
}

Document *DocumentManager::new_document(const DocumentType &type, QWidget *parent)
{
    DocumentKind *kind = kind_of(type);
    if (!kind)
        return nullptr;
    std::unique_ptr<Document> doc = kind->create_new(parent);
    if (!doc)
        return nullptr;
    return adopt(std::move(doc), type);
}

void DocumentManager::file_open(QWidget *parent)
{
    QStringList filters;
    for (const DocumentType *type : types_.registered())
        filters << filter_of(*type);
    const QString name =
        interaction().open_file_name(parent, QStringLiteral("Open"), filters.join(";;"));
    if (!name.isEmpty())
        open_document(path_of(name));
}

Document *DocumentManager::open_document(const std::filesystem::path &path)
{
    for (Open &open : open_) {
        if (open.doc->path() == path) {
            if (area_ && !open.windows.empty())
                area_->setActiveSubWindow(open.windows.front());
            return open.doc.get();
        }
    }
    const DocumentType *type = types_.type_for_file(path.filename().string());
    if (!type)
        type = types_.registered().empty() ? nullptr : types_.registered().front();
    DocumentKind *kind = type ? kind_of(*type) : nullptr;
    if (!kind)
        return nullptr;
    const auto bytes = read_file(path, kMaxDocumentBytes);
    if (!bytes) {
        messages().inform("Failed to open document.");
        recent_.remove(path.string());
        emit recent_files_changed();
        return nullptr;
    }
    std::unique_ptr<Document> doc = kind->read(*bytes);
    if (!doc)
        return nullptr;
    doc->set_path(path);
    doc->set_disk_stamp(stamp_of(*bytes));
    kind->title_from_file(*doc, path.stem().string());
    doc->set_modified(false);
    remember(path);
    return adopt(std::move(doc), *type);
}

bool DocumentManager::save(Document &doc)
{
    if (doc.path().empty())
        return save_as(doc);
    return write(doc, doc.path());
}

bool DocumentManager::save_as(Document &doc)
{
    const DocumentType *type = type_of(doc);
    DocumentKind *kind = type ? kind_of(*type) : nullptr;
    if (!kind)
        return false;
    const QString proposed = doc.path().empty() ? qt_text(kind->proposed_file_name(doc))
                                                : QString::fromStdString(doc.path().string());
    const QString name = interaction().save_file_name(active_window(), QStringLiteral("Save As"),
                                                      proposed, filter_of(*type));
    if (name.isEmpty())
        return false;
    std::filesystem::path path = path_of(name);
    if (path.extension().empty())
        path += type->strings.filter_ext;
    if (!write(doc, path))
        return false;
    doc.set_path(path);
    kind->title_from_file(doc, path.stem().string());
    remember(path);
    return true;
}

bool DocumentManager::write(Document &doc, const std::filesystem::path &path)
{
    const DocumentType *type = type_of(doc);
    DocumentKind *kind = type ? kind_of(*type) : nullptr;
    if (!kind)
        return false;
    const SaveOutcome outcome = kind->save(doc, path);
    if (outcome.stale)
        offer_to_reload(doc, outcome.message);
    else if (!outcome.saved)
        messages().inform(outcome.message);
    return outcome.saved;
}

void DocumentManager::offer_to_reload(Document &doc, const std::string &error)
{
    if (!messages().ask_yes_no(error + ".\nDo you want to reload it (your changes are lost)?"))
        return;
    // The save may have been asked for by a close still under way, so the document is replaced
    // once that has unwound.
    QMetaObject::invokeMethod(
        this, [this, path = doc.path()] { reload(path); }, Qt::QueuedConnection);
}

void DocumentManager::reload(const std::filesystem::path &path)
{
    for (Open &open : open_) {
        if (open.doc->path() != path)
            continue;
        Document &doc = *open.doc;
        const DocumentType *type = type_of(doc);
        DocumentKind *kind = type ? kind_of(*type) : nullptr;
        if (kind && !kind->can_close(doc))
            return;
        doc.set_modified(false);
        if (close_document(doc))
            open_document(path);
        return;
    }
}

bool DocumentManager::ask_to_save(Document &doc)
{
    if (!doc.is_modified())
        return true;
    switch (interaction().ask_to_save(active_window(), qt_text(doc.title()))) {
    case SaveAnswer::Save: return save(doc);
    case SaveAnswer::Discard: return true;
    case SaveAnswer::Cancel: return false;
    }
    return false;
}

bool DocumentManager::close_document(Document &doc)
{
    const DocumentType *type = type_of(doc);
    DocumentKind *kind = type ? kind_of(*type) : nullptr;
    if ((kind && !kind->can_close(doc)) || !ask_to_save(doc))
        return false;
    // Closing the last window destroys the document, so no window may ask again.
    doc.set_modified(false);
    const auto windows = windows_of(doc);
    for (DocumentWindow *window : windows)
        delete window;
    return true;
}

bool DocumentManager::save_all_modified()
{
    for (Document *doc : documents()) {
        if (!ask_to_save(*doc))
            return false;
    }
    return true;
}

DocumentWindow *DocumentManager::new_window(Document &doc)
{
    const Open *open = find(doc);
    return open ? new_window(doc, open->type->view) : nullptr;
}

DocumentWindow *DocumentManager::new_window(Document &doc, WindowKind view)
{
    Open *open = find(doc);
    const auto bound = kinds_.find(view);
    DocumentKind *kind = bound == kinds_.end() ? nullptr : bound->second;
    if (!open || !kind || !area_)
        return nullptr;
    auto *window = new DocumentWindow(*this, doc, kind->create_frame(doc));
    open->windows.push_back(window);
    area_->addSubWindow(window);
    window->frame()->place(*window, area_->viewport()->size());
    renumber(doc);
    window->show();
    area_->setActiveSubWindow(window);
    emit documents_changed();
    return window;
}

bool DocumentManager::window_may_close(DocumentWindow &window)
{
    Open *open = find(window.document());
    if (!open || open->windows.size() > 1)
        return true;
    DocumentKind *kind = kind_of(*open->type);
    return (!kind || kind->can_close(window.document())) && ask_to_save(window.document());
}

void DocumentManager::window_destroyed(DocumentWindow &window)
{
    Open *open = find(window.document());
    if (!open)
        return;
    std::erase(open->windows, &window);
    if (!open->windows.empty()) {
        renumber(*open->doc);
        emit documents_changed();
        return;
    }
    Document *doc = open->doc.get();
    DocumentKind *kind = discarding_ ? nullptr : kind_of(*open->type);
    if (kind) {
        close_dependents(*kind, *doc);
        kind->closing(*doc);
    }
    std::erase_if(open_, [doc](const Open &o) { return o.doc.get() == doc; });
    emit documents_changed();
}

void DocumentManager::close_dependents(const DocumentKind &kind, const Document &doc)
{
    // They may not outlive the document; the kind has already refused a close that would lose
    // their changes.
    for (Document *dependent : kind.dependents(doc)) {
        if (find(*dependent)) {
            for (DocumentWindow *w : windows_of(*dependent))
                delete w;
        }
    }
}

Document *DocumentManager::adopt(std::unique_ptr<Document> doc, const DocumentType &type)
{
    Document *raw = doc.get();
    open_.push_back({std::move(doc), &type, {}});
    if (!new_window(*raw)) {
        open_.pop_back();
        return nullptr;
    }
    return raw;
}

void DocumentManager::remember(const std::filesystem::path &path)
{
    recent_.add(path.string());
    recent_.save(store_);
    emit recent_files_changed();
}

void DocumentManager::renumber(const Document &doc)
{
    const auto windows = windows_of(doc);
    for (std::size_t i = 0; i < windows.size(); ++i)
        windows[i]->update_title(static_cast<int>(i) + 1, static_cast<int>(windows.size()));
}

std::vector<Document *> DocumentManager::documents() const
{
    std::vector<Document *> docs;
    for (const Open &open : open_)
        docs.push_back(open.doc.get());
    return docs;
}

std::vector<Document *> DocumentManager::documents_of(const DocumentType &type) const
{
    std::vector<Document *> docs;
    for (const Open &open : open_) {
        if (open.type->view == type.view)
            docs.push_back(open.doc.get());
    }
    return docs;
}

const DocumentType *DocumentManager::type_of(const Document &doc) const
{
    const Open *open = find(doc);
    return open ? open->type : nullptr;
}

std::vector<DocumentWindow *> DocumentManager::windows_of(const Document &doc) const
{
    const Open *open = find(doc);
    return open ? open->windows : std::vector<DocumentWindow *>{};
}

DocumentWindow *DocumentManager::active_window() const
{
    return area_ ? qobject_cast<DocumentWindow *>(area_->currentSubWindow()) : nullptr;
}

DocumentManager::Open *DocumentManager::find(const Document &doc)
{
    for (Open &open : open_) {
        if (open.doc.get() == &doc)
            return &open;
    }
    return nullptr;
}

const DocumentManager::Open *DocumentManager::find(const Document &doc) const
{
    return const_cast<DocumentManager *>(this)->find(doc);
}

} // namespace tw
