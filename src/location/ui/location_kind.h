#pragma once

#include "platform/ui/document_frame.h"

#include <functional>
#include <string>
#include <vector>

namespace tw {

class CLocationDoc;
class SettingsStore;

/// Locations in the program: new ones come from the location sheet in new mode, files are the
/// location archive, and a window is a CLocationFrame.
class LocationKind : public DocumentKind
{
public:
    /// `open_locations` lists the open location documents (their names may not be taken again).
    /// `store` keeps what the location windows remember between runs (the last CSV mapping).
    LocationKind(std::function<std::vector<CLocationDoc *>()> open_locations, SettingsStore &store);

    std::unique_ptr<Document> create_new(QWidget *parent) override;
    std::unique_ptr<Document> read(std::span<const std::uint8_t> bytes) override;
    SaveOutcome save(Document &doc, const std::filesystem::path &path) override;
    std::string proposed_file_name(const Document &doc) const override;
    DocumentFrame *create_frame(Document &doc) override;
    void refresh_after_preferences(Document &doc) override;
    bool can_close(const Document &doc) const override;
    /// The fields bound to the location.
    std::vector<Document *> dependents(const Document &doc) const override;

private:
    std::vector<std::string> open_names(const CLocationDoc *except) const;

    std::function<std::vector<CLocationDoc *>()> open_locations_;
    SettingsStore &store_;
};

} // namespace tw
