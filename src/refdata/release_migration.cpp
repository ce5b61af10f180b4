#include "refdata/release_migration.h"

#include "platform/files.h"
#include "refdata/database.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <span>

namespace tw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

/// Where a file of the folder stands before the migration.
enum class FileState { Absent, ToMigrate, MigratedBefore, Current, Empty };

struct PendingFile
{
    std::string name;
    fs::path path;
    fs::path backup;
    FileState state = FileState::Absent;
    bool backup_there = false; ///< an interrupted migration kept the old file already
    Bytes old_bytes;
    Bytes new_bytes;
    std::size_t records = 0;
};

// Each record's index is kept as it is stored: every reader renumbers it anyway.
template<class Decode, class Encode>
Bytes convert(std::span<const std::uint8_t> bytes, std::size_t old_size, Decode decode,
              Encode encode)
{
    Bytes converted;
    for (std::size_t at = 0; at + old_size <= bytes.size(); at += old_size) {
        const auto image = encode(decode(bytes.subspan(at, old_size)));
        converted.insert(converted.end(), image.begin(), image.end());
    }
    return converted;
}

Bytes convert_kind(std::int32_t kind, std::span<const std::uint8_t> bytes)
{
    const std::size_t old_size = db_record_size(kind, release1());
    if (kind == DbCrops) {
        return convert(
            bytes, old_size, [](auto b) { return decode_crop(b, CropLayout::Release1); },
            [](const CropRecord &r) { return encode_crop(r, CropLayout::Current); });
    }
    return convert(
        bytes, old_size, [](auto b) { return decode_station(b, StationLayout::Release1); },
        [](const StationRecord &r) { return encode_station(r, StationLayout::Current); });
}

// --- what a record of either layout holds -------------------------------------------------------

bool is_text(const std::string &text, bool may_be_empty)
{
    return (may_be_empty || !text.empty()) && std::none_of(text.begin(), text.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7f;
           });
}

bool within(float value, float low, float high)
{
    return std::isfinite(value) && value >= low && value <= high;
}

/// Bounds wide enough for any station or crop in either unit system, narrow enough that the bytes
/// of the other layout, read at the wrong offsets, fall outside them.
constexpr float kAnyValue = 1e6f;

bool plausible_station(const StationRecord &s, StationLayout layout)
{
    const bool common =
        is_text(s.name, false) && within(s.latitude, -90.0f, 90.0f) &&
        within(s.elevation, -1000.0f, 30000.0f) && within(s.pressure, 0.0f, 2000.0f) &&
        within(s.warm_month_tmin, -100.0f, 200.0f) && within(s.warm_month_tmax, -100.0f, 200.0f) &&
        within(s.jh_ct, -kAnyValue, kAnyValue) && within(s.jh_tx, -kAnyValue, kAnyValue);
    if (!common || layout == StationLayout::Release1)
        return common;
    return within(s.anemometer_height, 0.0f, 1000.0f) && s.reference_type >= -1 &&
           s.reference_type <= 2 && within(s.delta_t, -kAnyValue, kAnyValue) &&
           within(s.k_zero, -kAnyValue, kAnyValue);
}

bool plausible_crop(const CropRecord &c)
{
    if (!is_text(c.name, false) || !is_text(c.hybrid, true) ||
        !within(c.planting_depth, -kAnyValue, kAnyValue) ||
        !within(c.max_root_depth, -kAnyValue, kAnyValue))
        return false;
    for (std::int32_t k = 0; k < c.stage_count; ++k) {
        const GrowthStage &s = c.stages[static_cast<std::size_t>(k)];
        if (!is_text(s.name, true) || s.flag < StageOrdinary || s.flag > StageHarvest ||
            !within(s.end_day, -kAnyValue, kAnyValue) || !within(s.end_gdd, -kAnyValue, kAnyValue))
            return false;
    }
    return true;
}

/// Whether the bytes are whole records of the edition's layout, each reading as a record.
bool reads_as(std::int32_t kind, std::span<const std::uint8_t> bytes, const Edition &edition)
{
    const std::size_t size = db_record_size(kind, edition);
    if (bytes.size() % size != 0)
        return false;
    for (std::size_t at = 0; at < bytes.size(); at += size) {
        const auto record = bytes.subspan(at, size);
        const bool plausible =
            kind == DbCrops ? plausible_crop(decode_crop(record, edition.crop_layout))
                            : plausible_station(decode_station(record, edition.station_layout),
                                                edition.station_layout);
        if (!plausible)
            return false;
    }
    return true;
}

std::string not_release1_message(std::int32_t kind, const fs::path &path, std::size_t bytes)
{
    const std::size_t old_size = db_record_size(kind, release1());
    const std::string what = std::string(kind == DbCrops ? "crop" : "station") + " database of " +
                             std::string(release1().program_name);
    if (bytes % old_size != 0) {
        return path.string() + " is not a " + what + ": its " + std::to_string(bytes) +
               " bytes are not a whole number of " + std::to_string(old_size) + "-byte records.";
    }
    return path.string() + " is not a " + what + ": its records do not read as names and values.";
}

// --- the folder before and after ------------------------------------------------------------

/// The file's state, or an error text when it cannot be migrated.
std::optional<std::string> prepare(const fs::path &dir, std::int32_t kind, PendingFile &file)
{
    file.name = db_file_name(kind);
    file.path = dir / file.name;
    file.backup = dir / release1_backup_name(file.name);
    if (!file_exists(file.path))
        return std::nullopt;
    std::string why;
    auto bytes = read_file(file.path, std::numeric_limits<std::size_t>::max(), &why);
    if (!bytes)
        return file.path.string() + " cannot be read: " + why;
    file.old_bytes = std::move(*bytes);
    // No records read the same in either layout: there is nothing to convert or to keep.
    if (file.old_bytes.empty()) {
        file.state = FileState::Empty;
        return std::nullopt;
    }
    const bool old_layout = reads_as(kind, file.old_bytes, release1());
    if (file_exists(file.backup)) {
        auto backup = read_file(file.backup, std::numeric_limits<std::size_t>::max(), &why);
        if (!backup)
            return file.backup.string() + " cannot be read: " + why;
        if (old_layout && *backup == file.old_bytes) {
            file.backup_there = true;
        } else if (reads_as(kind, *backup, release1()) &&
                   convert_kind(kind, *backup) == file.old_bytes) {
            file.state = FileState::MigratedBefore;
            return std::nullopt;
        } else {
            return file.backup.string() + " is there already; move it away to migrate " +
                   file.name + ".";
        }
    }
    if (old_layout) {
        file.state = FileState::ToMigrate;
        file.records = file.old_bytes.size() / db_record_size(kind, release1());
        file.new_bytes = convert_kind(kind, file.old_bytes);
        return std::nullopt;
    }
    if (reads_as(kind, file.old_bytes, current_release())) {
        file.state = FileState::Current;
        return std::nullopt;
    }
    return not_release1_message(kind, file.path, file.old_bytes.size());
}

std::string note_of(const PendingFile &file)
{
    if (file.state == FileState::Empty)
        return file.name + " holds no records; it was left alone.";
    if (file.state == FileState::Current)
        return file.name + " is in the current layout already; it was left alone.";
    return file.name + " was migrated before; the old file is " + file.backup.filename().string() +
           ".";
}

/// After a failed replacement, whether the file holds anything but its old contents (a failing
/// disk may keep the undo from putting it back).
bool changed_since(const PendingFile &file)
{
    const auto now = read_file(file.path);
    return !now || *now != file.old_bytes;
}

} // namespace

std::string release1_backup_name(std::string_view db_name)
{
    return std::string(db_name) + ".release1";
}

MigrationResult migrate_release1_databases(const fs::path &dir)
{
    MigrationResult result;
    std::vector<PendingFile> files(2);
    const std::int32_t kinds[] = {DbCrops, DbStations};
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (auto error = prepare(dir, kinds[i], files[i])) {
            result.error = *error;
            return result;
        }
    }
    std::vector<FileWrite> backups;
    std::vector<FileWrite> replacements;
    for (const PendingFile &file : files) {
        if (file.state != FileState::Absent && file.state != FileState::ToMigrate)
            result.notes.push_back(note_of(file));
        if (file.state != FileState::ToMigrate)
            continue;
        if (!file.backup_there)
            backups.push_back({file.backup, file.old_bytes, std::nullopt});
        replacements.push_back({file.path, file.new_bytes, std::nullopt});
    }
    if (replacements.empty()) {
        result.error = "Nothing to migrate in " + dir.string() + ".";
        return result;
    }
    // The old contents are safe under their new names before either file is replaced; both are
    // replaced together, and a failure puts back the one already replaced.
    std::string why;
    if (!write_files_atomic(backups, &why)) {
        result.error = "Cannot keep the old databases: " + why;
        return result;
    }
    if (!write_files_atomic(replacements, &why)) {
        result.error = "Cannot write the new databases: " + why;
        for (const PendingFile &file : files) {
            if (file.state != FileState::ToMigrate)
                continue;
            if (changed_since(file)) {
                result.changed = true;
                result.error += "\n" + file.name +
                                " is migrated and the other is not: run the "
                                "migration again to finish it.";
            } else if (!file.backup_there) {
                std::error_code ec;
                fs::remove(file.backup, ec);
            }
        }
        return result;
    }
    for (const PendingFile &file : files) {
        if (file.state == FileState::ToMigrate)
            result.migrated.push_back(
                {file.name, file.records, file.old_bytes.size(), file.new_bytes.size()});
    }
    result.changed = true;
    result.ok = true;
    return result;
}

} // namespace tw
