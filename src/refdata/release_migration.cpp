#include "refdata/release_migration.h"

#include "platform/files.h"
#include "refdata/database.h"

#include <limits>
#include <optional>
#include <span>

namespace tw {
namespace {

struct PendingFile
{
    std::string name;
    std::filesystem::path path;
    std::vector<std::uint8_t> old_bytes;
    std::vector<std::uint8_t> new_bytes;
    std::size_t records = 0;
};

// Each record's index is kept as it is stored: every reader renumbers it anyway.
template<class Decode, class Encode>
std::vector<std::uint8_t> convert(std::span<const std::uint8_t> bytes, std::size_t old_size,
                                  Decode decode, Encode encode)
{
    std::vector<std::uint8_t> converted;
    for (std::size_t at = 0; at + old_size <= bytes.size(); at += old_size) {
        const auto image = encode(decode(bytes.subspan(at, old_size)));
        converted.insert(converted.end(), image.begin(), image.end());
    }
    return converted;
}

std::vector<std::uint8_t> convert_kind(std::int32_t kind, std::span<const std::uint8_t> bytes)
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

// Nothing when the file is absent; an error text when it cannot be migrated.
std::optional<std::string> prepare(const std::filesystem::path &dir, std::int32_t kind,
                                   std::vector<PendingFile> &pending)
{
    PendingFile file;
    file.name = db_file_name(kind);
    file.path = dir / file.name;
    if (!file_exists(file.path))
        return std::nullopt;
    std::string why;
    auto bytes = read_file(file.path, std::numeric_limits<std::size_t>::max(), &why);
    if (!bytes)
        return file.path.string() + " cannot be read: " + why;
    const std::size_t old_size = db_record_size(kind, release1());
    if (bytes->size() % old_size != 0) {
        return file.path.string() + " is not a " + (kind == DbCrops ? "crop" : "station") +
               " database of " + std::string(release1().program_name) + ": its " +
               std::to_string(bytes->size()) + " bytes are not a whole number of " +
               std::to_string(old_size) + "-byte records.";
    }
    const std::filesystem::path backup = dir / release1_backup_name(file.name);
    if (file_exists(backup))
        return backup.string() + " is there already; move it away to migrate " + file.name + ".";
    file.records = bytes->size() / old_size;
    file.new_bytes = convert_kind(kind, *bytes);
    file.old_bytes = std::move(*bytes);
    pending.push_back(std::move(file));
    return std::nullopt;
}

} // namespace

std::string release1_backup_name(std::string_view db_name)
{
    return std::string(db_name) + ".release1";
}

MigrationResult migrate_release1_databases(const std::filesystem::path &dir)
{
    MigrationResult result;
    std::vector<PendingFile> pending;
    for (const std::int32_t kind : {DbCrops, DbStations}) {
        if (auto error = prepare(dir, kind, pending)) {
            result.error = *error;
            return result;
        }
    }
    if (pending.empty()) {
        result.error = "Neither crop.db nor station.db is in " + dir.string() + ".";
        return result;
    }
    // The old contents are safe under their new names before any file is replaced, and each
    // replacement is atomic, so a failure never leaves a database without its records.
    for (const PendingFile &file : pending) {
        std::string why;
        if (!write_file_atomic(dir / release1_backup_name(file.name), file.old_bytes, &why)) {
            result.error = "Cannot keep the old " + file.name + ": " + why;
            return result;
        }
    }
    for (const PendingFile &file : pending) {
        std::string why;
        if (!write_file_atomic(file.path, file.new_bytes, &why)) {
            result.error = "Cannot write the new " + file.name + ": " + why;
            return result;
        }
        result.migrated.push_back(
            {file.name, file.records, file.old_bytes.size(), file.new_bytes.size()});
    }
    result.ok = true;
    return result;
}

} // namespace tw
