#pragma once

#include "field/field_doc.h"
#include "platform/ui/document_frame.h"
#include "platform/window_kind.h"

#include <functional>

namespace tw {

class SettingsStore;

/// Where the fertility and leaching work plug into the field windows. A consultation that is not
/// given leaves its step out: a new field goes on without it, and its command is disabled.
struct FieldConsultations
{
    /// The fertilizer wizard for a field: run when a field is created, and by "Fertilizer
    /// Consultation" (which then reruns the field from day 0).
    std::function<void(CFieldDoc &)> fertilizer;
    /// The leaching analysis and its report ("Leaching Summary").
    std::function<void(CFieldDoc &)> leaching_summary;
};

/// What a field window needs from the program.
struct FieldServices
{
    /// The location a field binds to: the active window's. Given the bytes of a field being opened
    /// (none for a new one); nothing, after the message, when there is no location to bind to.
    std::function<CLocationDoc *(std::span<const std::uint8_t>)> location_for_field;
    /// Opens another window on a field, of the irrigation or the nitrogen kind.
    std::function<void(Document &, WindowKind)> open_window;
    /// Opens a location file in its window (or finds it open); nothing when it cannot.
    std::function<CLocationDoc *(const std::filesystem::path &)> open_location;
    FieldConsultations consultations;
    /// Where the windows remember how the user shared their height between table and chart.
    SettingsStore *settings = nullptr;
};

/// Fields in the program: a new one comes through the field details dialog, files are .fld, and
/// a window is a CFieldFrame. The program keeps two: one opens irrigation windows (registered
/// for File > New and Open), one nitrogen windows.
class FieldKind : public DocumentKind
{
public:
    FieldKind(FieldServices services, WindowKind shows);

    std::unique_ptr<Document> create_new(QWidget *parent) override;
    std::unique_ptr<Document> read(std::span<const std::uint8_t> bytes) override;
    SaveOutcome save(Document &doc, const std::filesystem::path &path) override;
    std::string proposed_file_name(const Document &doc) const override;
    DocumentFrame *create_frame(Document &doc) override;
    void refresh_after_preferences(Document &doc) override;
    void closing(Document &doc) override;

private:
    FieldServices services_;
    WindowKind shows_;
};

} // namespace tw
