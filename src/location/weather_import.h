#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The weather import readers: five line formats filling the empty days of a location.
namespace tw {

class CLocationDoc;

enum class WeatherFormat {
    JvuNew,
    JvuOld,
    Usda,
    UsdaNoRh,
    KansasState,
};

/// Reads weather text into the days of the location that hold no data, from its start date on,
/// then (when any day was filled) recomputes ET and marks the location modified. Returns the
/// number of days filled.
int import_weather_text(CLocationDoc &location, WeatherFormat format, std::string_view text);

/// The import command after the file was chosen: reads the file (a file that cannot be opened
/// shows its message and changes nothing) and tells the fields from day 0. Returns the number of
/// days filled, or -1 when the file could not be read.
int import_weather(CLocationDoc &location, WeatherFormat format, const std::filesystem::path &file);

/// The text of a weather file (at most its first 64 MiB); nothing after the message when it cannot
/// be opened.
std::optional<std::string> read_weather_text(const std::filesystem::path &file);

/// What every import command does with its file: reads it (a file that cannot be opened shows its
/// message, changes nothing and gives -1), hands its text to the reader, and tells the fields from
/// day 0 when the reader filled no day. Returns what the reader returned.
int import_weather_file(CLocationDoc &location, const std::filesystem::path &file,
                        const std::function<int(std::string_view)> &reader);

} // namespace tw
