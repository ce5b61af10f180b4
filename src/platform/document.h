#pragma once

#include "platform/files.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// What changed in a document, as its views are told.
struct ViewHint
{
    enum class Kind {
        Day,            ///< the values of `day` changed (and, in a field, of the days after it)
        Everything,     ///< every value may have changed, the titles and units too
        PlantingDate,   ///< a field's days moved with its planting date: every row is new
        LocationFields, ///< a location's fields changed: only its summary of fields redraws
    };

    Kind kind = Kind::Everything;
    int day = 0; ///< with Day only

    static ViewHint changed_day(int d) { return {Kind::Day, d}; }
    static ViewHint everything() { return {Kind::Everything, 0}; }
    static ViewHint planting_date() { return {Kind::PlantingDate, 0}; }
    static ViewHint location_fields() { return {Kind::LocationFields, 0}; }
    friend bool operator==(const ViewHint &, const ViewHint &) = default;
};

/// A view of a document, told what changed.
class DocumentView
{
public:
    virtual ~DocumentView() = default;
    virtual void on_update(ViewHint hint) = 0;
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
    void update_all_views(ViewHint hint, DocumentView *except = nullptr);

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

/// What a save came to: saved, or the message the user is told.
struct SaveOutcome
{
    bool saved = false;
    /// The file changed on disk since the document read it (the message says so); a window may
    /// offer to reload it.
    bool stale = false;
    std::string message;
};

/// Replaces `path` with the document's bytes whole or not at all, and refuses when the file
/// changed on disk since the document read or saved it. A saved document takes the path and
/// the file's stamp and is no longer modified; a failure's message starts with `failure_text`
/// (a stale or read-only file's message stands alone).
SaveOutcome save_document(Document &doc, std::span<const std::uint8_t> bytes,
                          const std::filesystem::path &path, std::string_view failure_text);

} // namespace tw
