#include "platform/document.h"

#include <algorithm>

namespace tw {

void Document::set_title(std::string_view proposed)
{
    store_title(std::string(proposed));
}

void Document::store_title(std::string title)
{
    title_ = std::move(title);
    notify_state();
}

std::optional<FileStamp> Document::expected_stamp(const std::filesystem::path &path) const
{
    return path == path_ ? disk_stamp_ : std::nullopt;
}

void Document::set_modified(bool modified)
{
    if (modified_ == modified)
        return;
    modified_ = modified;
    notify_state();
}

void Document::add_view(DocumentView *view)
{
    if (view && std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void Document::remove_view(DocumentView *view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void Document::update_all_views(ViewHint hint, DocumentView *except)
{
    // A view may close itself while it is told, so walk a copy.
    const std::vector<DocumentView *> views = views_;
    for (DocumentView *view : views) {
        if (view != except && std::find(views_.begin(), views_.end(), view) != views_.end())
            view->on_update(hint);
    }
}

void Document::notify_state()
{
    const std::vector<DocumentView *> views = views_;
    for (DocumentView *view : views)
        view->on_state_changed();
}

SaveOutcome save_document(Document &doc, std::span<const std::uint8_t> bytes,
                          const std::filesystem::path &path, std::string_view failure_text)
{
    std::string error;
    WriteFailure failure = WriteFailure::None;
    if (!write_file_atomic(path, bytes, &error, &failure, doc.expected_stamp(path)))
        return {false, failure == WriteFailure::Stale,
                save_failure_message(failure_text, error, failure)};
    doc.set_disk_stamp(stamp_of(bytes));
    doc.set_path(path);
    doc.set_modified(false);
    return {true, false, {}};
}

} // namespace tw
