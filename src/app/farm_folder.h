#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The desktop program works in a farm folder: the reference and knowledge files live there, and
// the file dialogs start there. A program started from a desktop menu would otherwise work in the
// home folder and meet a missing-file box for every file.
namespace tw {

class SettingsStore;

inline constexpr const char *kFarmFolderSection = "Settings";
inline constexpr const char *kFarmFolderKey = "FarmFolder";
inline constexpr const char *kRelease1FarmFolderKey = "Release1FarmFolder";

/// The folder the running release remembered in the settings store, else "Tillwise" ("Tillwise1"
/// for the earlier release) in the home folder.
std::filesystem::path farm_folder(const SettingsStore &store, const std::filesystem::path &home);
void remember_farm_folder(SettingsStore &store, const std::filesystem::path &folder);

/// Creates the folder when it is missing, makes it the working directory and writes each default
/// reference and knowledge file of the running release it lacks, without the boxes a missing file
/// shows later. Files already there are left as they are. The names of the files that could not be
/// written (all of them, the folder first, when it cannot be made).
std::vector<std::string> open_farm_folder(const std::filesystem::path &folder);

} // namespace tw
