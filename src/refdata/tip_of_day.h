#pragma once

#include "platform/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// Shown instead of a tip when tips.txt cannot be read.
constexpr std::string_view kGettingStartedText =
    "To begin you have to create a location with weather information and fields.  Start by "
    "selecting File->new->Location to create the location. Then import weather or enter weather "
    "data manually. Once you have a location with weather data you can create fields and schedule "
    "irrigations and fertilizer applications.";

/// The welcome window's state: which tip it shows and whether it greets the user at start-up.
/// Where the next start goes on is kept in the settings store (section "Tip"), tied to the
/// modification time of tips.txt so that a replaced file starts again at its first tip.
class TipOfDay
{
public:
    TipOfDay(SettingsStore &settings, std::filesystem::path tips_file);

    /// Reads the settings and the file and finds the tip to show.
    void prepare();
    /// Whether "&Show on StartUp" starts ticked.
    bool show_on_startup() const { return show_on_startup_; }
    const std::string &text() const { return text_; }
    /// "&Next Tip" only works while a tips file is open.
    bool can_show_next() const { return bytes_.has_value(); }
    void next_tip();
    /// "&Close": remembers the state of the check box.
    void close(bool show_on_startup);
    /// Always, shown or not: the next start goes on after the tip found here.
    void finish();

private:
    void find_next_tip();

    SettingsStore &settings_;
    std::filesystem::path tips_file_;
    bool show_on_startup_ = true;
    std::string text_;
    std::optional<std::vector<std::uint8_t>> bytes_;
    std::size_t position_ = 0;
};

/// The file's last-modified time in the C library's date-and-time text form
/// ("Wed Jun 30 21:49:08 1993"), nothing when the file has none.
std::optional<std::string> modified_time_text(const std::filesystem::path &path);

} // namespace tw
