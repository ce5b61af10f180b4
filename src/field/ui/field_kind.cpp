#include "field/ui/field_kind.h"

#include "field/field_details_form.h"
#include "field/ui/field_details_dialog.h"
#include "field/ui/field_frame.h"
#include "platform/dates.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/interaction.h"
#include "refdata/database.h"

#include <optional>

namespace tw {

FieldKind::FieldKind(FieldServices services, WindowKind shows)
    : services_(std::move(services))
    , shows_(shows)
{}

std::unique_ptr<Document> FieldKind::create_new(QWidget *parent)
{
    // The wait cursor covers the work after the dialog, not the dialog.
    std::optional<WaitCursor> wait;
    const auto details = [&](CFieldDoc &field) {
        FieldDetailsForm form(field, load_crops(), load_soils());
        CFieldDetailsDlg dialog(form, parent);
        if (interaction().exec(dialog) != QDialog::Accepted)
            return false;
        wait.emplace();
        return true;
    };
    CLocationDoc *location = services_.location_for_field({});
    if (!location)
        return nullptr;
    return new_field(*location, details, services_.consultations.fertilizer);
}

std::unique_ptr<Document> FieldKind::read(std::span<const std::uint8_t> bytes)
{
    const WaitCursor wait;
    // The title follows from the file name once the shell knows it.
    const auto settle = [this](const CFieldDoc &field, CLocationDoc &open) {
        return ask_which_location(field, open, services_.open_location);
    };
    CLocationDoc *location = services_.location_for_field(bytes);
    if (!location)
        return nullptr;
    return open_field(*location, bytes, {}, settle);
}

SaveOutcome FieldKind::save(Document &doc, const std::filesystem::path &path)
{
    return save_field_file(static_cast<CFieldDoc &>(doc), path);
}

std::string FieldKind::proposed_file_name(const Document &doc) const
{
    const auto &field = static_cast<const CFieldDoc &>(doc);
    return field.saved.name + format_date(field.saved.planting_date.day(), "%y") + ".fld";
}

DocumentFrame *FieldKind::create_frame(Document &doc)
{
    return new CFieldFrame(static_cast<CFieldDoc &>(doc), services_, shows_);
}

void FieldKind::refresh_after_preferences(Document &doc)
{
    const WaitCursor wait;
    static_cast<CFieldDoc &>(doc).rerun_all();
}

void FieldKind::closing(Document &doc)
{
    static_cast<CFieldDoc &>(doc).unbind();
}

} // namespace tw
