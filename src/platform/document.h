#pragma once

#include "platform/files.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// A view of a document: told with an integer hint what changed (a day index, or a negative code
/// the document type defines).
class DocumentView
{
public:
    virtual ~DocumentView() = default;
    virtual void on_update(int hint) = 0;
    /// The title or the modified flag changed.
    virtual void on_state_changed() {}
};

/// What the location and field documents share: a title, a modified flag, the file they were
/// read from or saved to, and the views to notify.
class Document
{
public:
    Document() = default;
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;
    virtual ~Document() = default;

    const std::string &title() const { return title_; }
    /// Document types override this to decorate the proposed title.
    virtual void set_title(std::string_view proposed);

    bool is_modified() const { return modified_; }
    void set_modified(bool modified = true);

    const std::filesystem::path &path() const { return path_; }
    void set_path(std::filesystem::path path) { path_ = std::move(path); }

    /// What the document's file held when the document read or last saved it.
    void set_disk_stamp(std::optional<FileStamp> stamp) { disk_stamp_ = stamp; }
    /// What a save to `path` must still find there: the stamp when path is the document's own
    /// file, nothing for any other (a new file, or Save As elsewhere).
    std::optional<FileStamp> expected_stamp(const std::filesystem::path &path) const;

    void add_view(DocumentView *view);
    void remove_view(DocumentView *view);
    const std::vector<DocumentView *> &views() const { return views_; }
    /// Tells every view but `except` (the one that made the change, if any).
    void update_all_views(int hint, DocumentView *except = nullptr);

protected:
    void store_title(std::string title);

private:
    void notify_state();

    std::string title_;
    bool modified_ = false;
    std::filesystem::path path_;
    std::optional<FileStamp> disk_stamp_;
    std::vector<DocumentView *> views_;
};

} // namespace tw
