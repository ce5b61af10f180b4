#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Moving the earlier release's crop.db and station.db forward to the current layouts. The old
// files stay beside the new ones as crop.db.release1 and station.db.release1.
namespace tw {

struct MigratedFile
{
    std::string name; ///< "crop.db" or "station.db"
    std::size_t records = 0;
    std::uintmax_t old_bytes = 0;
    std::uintmax_t new_bytes = 0;
};

struct MigrationResult
{
    bool ok = false;
    /// Whether any file of the folder changed; false after a failure that put everything back.
    bool changed = false;
    std::vector<MigratedFile> migrated;
    /// A line for each file left as it was: in the current layout already, or migrated before.
    std::vector<std::string> notes;
    std::string error; ///< why nothing (or, when changed, not everything) was migrated
};

/// The name the old file keeps ("crop.db.release1").
std::string release1_backup_name(std::string_view db_name);

/// Converts whichever of crop.db and station.db is in dir: stage flags renumbered, one harvest a
/// season, anemometer 2.0 m and reference crop 2. Both files are checked before either is
/// touched, and both are replaced together or neither is. A file is converted only when its
/// records read as the earlier layout (names are text, numbers in their ranges); one that reads
/// as the current layout is left alone. A backup that holds the file itself, or the file's
/// earlier contents, is what an interrupted migration left: the migration goes on from it. Any
/// other file at the backup's name fails the migration with nothing changed.
MigrationResult migrate_release1_databases(const std::filesystem::path &dir);

} // namespace tw
