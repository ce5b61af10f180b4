#include "location/ui/location_kind.h"

#include "location/location_doc.h"
#include "location/location_file.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_info_sheet.h"
#include "platform/message_port.h"
#include "platform/ui/interaction.h"

#include <filesystem>

namespace tw {

LocationKind::LocationKind(std::function<std::vector<CLocationDoc *>()> open_locations,
                           SettingsStore &store)
    : open_locations_(std::move(open_locations))
    , store_(store)
{}

std::vector<std::string> LocationKind::open_names(const CLocationDoc *except) const
{
    std::vector<std::string> names;
    for (const CLocationDoc *doc : open_locations_()) {
        if (doc != except)
            names.push_back(doc->name);
    }
    return names;
}

std::unique_ptr<Document> LocationKind::create_new(QWidget *parent)
{
    auto doc = std::make_unique<CLocationDoc>();
    CLocationInfoSheet sheet(*doc, SheetMode::New, open_names(nullptr),
                             std::filesystem::current_path(), parent);
    if (interaction().exec(sheet) != QDialog::Accepted)
        return nullptr;
    return doc;
}

std::unique_ptr<Document> LocationKind::read(std::span<const std::uint8_t> bytes)
{
    auto doc = std::make_unique<CLocationDoc>();
    // A header that cannot be read shows the archive message; the location keeps what was read
    // and opens all the same.
    if (decode_location(bytes, *doc) == LocationRead::Failed)
        messages().inform(kArchiveErrorMessage);
    return doc;
}

SaveOutcome LocationKind::save(Document &doc, const std::filesystem::path &path)
{
    return save_location_file(static_cast<CLocationDoc &>(doc), path);
}

std::string LocationKind::proposed_file_name(const Document &doc) const
{
    return static_cast<const CLocationDoc &>(doc).base_name + ".loc";
}

DocumentFrame *LocationKind::create_frame(Document &doc)
{
    auto &location = static_cast<CLocationDoc &>(doc);
    return new CLocationFrame(
        location, [this, &location] { return open_names(&location); }, store_);
}

void LocationKind::refresh_after_preferences(Document &doc)
{
    doc.update_all_views(ViewHint::everything());
}

bool LocationKind::can_close(const Document &doc) const
{
    return static_cast<const CLocationDoc &>(doc).can_close();
}

std::vector<Document *> LocationKind::dependents(const Document &doc) const
{
    std::vector<Document *> fields;
    for (LocationField *field : static_cast<const CLocationDoc &>(doc).fields()) {
        if (auto *field_doc = dynamic_cast<Document *>(field))
            fields.push_back(field_doc);
    }
    return fields;
}

} // namespace tw
