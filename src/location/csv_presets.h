#pragma once

#include "location/csv_weather.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Named maps for station networks' CSV exports, kept in a reference file of the working folder
// that the user may edit: one "NAME: MAP" a line, the map as --map takes it; lines starting with
// '#' are comments. A missing file is created with the shipped presets.
namespace tw {

constexpr std::string_view kCsvPresetsFile = "csvmaps.txt";

struct CsvPreset
{
    std::string name;
    CsvWeatherMap map;
};

/// The file's text as the program ships it.
std::string_view shipped_csv_presets();

/// The presets of a file's text; a line that does not read as one is passed over.
std::vector<CsvPreset> parse_csv_presets(std::string_view text);

/// The presets of the working folder's file, creating it when missing; the shipped ones when it
/// cannot be read or written.
std::vector<CsvPreset> load_csv_presets();

/// The preset of that name (compared without regard to case), or nothing.
std::optional<CsvWeatherMap> find_csv_preset(const std::vector<CsvPreset> &presets,
                                             std::string_view name);

/// Why a name cannot name a preset, or nothing.
std::optional<std::string> csv_preset_name_problem(std::string_view name);

/// The file's text with the preset added, or put in place of the one of the same name.
std::string with_csv_preset(std::string_view text, std::string_view name, const CsvWeatherMap &map);

/// Saves the preset in the working folder's file; false after the message.
bool save_csv_preset(std::string_view name, const CsvWeatherMap &map);

} // namespace tw
