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
    std::vector<MigratedFile> migrated;
    std::string error; ///< why nothing (or, after a failed write, not everything) was migrated
};

/// The name the old file keeps ("crop.db.release1").
std::string release1_backup_name(std::string_view db_name);

/// Converts whichever of crop.db and station.db is in dir: stage flags renumbered, one harvest a
/// season, anemometer 2.0 m and reference crop 2. Both files are checked before either is
/// touched: a file that is not a whole number of earlier records, or whose backup name is taken,
/// fails the migration with nothing changed.
MigrationResult migrate_release1_databases(const std::filesystem::path &dir);

} // namespace tw
