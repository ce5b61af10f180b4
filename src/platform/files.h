#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The whole file, or at most max_bytes of its beginning; nothing when it cannot be read or is
/// not a regular file (a FIFO or a device is refused rather than waited on). error, when given,
/// says why.
std::optional<std::vector<std::uint8_t>>
read_file(const std::filesystem::path &path,
          std::size_t max_bytes = std::numeric_limits<std::size_t>::max(),
          std::string *error = nullptr);

/// What a document's file held when it was read, so that a save can tell whether another
/// program replaced it in the meantime.
struct FileStamp
{
    std::uintmax_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const FileStamp &) const = default;
};
FileStamp stamp_of(std::span<const std::uint8_t> bytes);

/// Which step of a save failed: making the file (its temporary companion beside it), writing,
/// flushing and renaming it over the old one, finding the file changed since it was read, or
/// finding it read-only.
enum class WriteFailure { None, Open, Write, Stale, ReadOnly };

/// One file of a save; `expected`, when given, is what the file held when it was read.
struct FileWrite
{
    std::filesystem::path path;
    std::span<const std::uint8_t> data;
    std::optional<FileStamp> expected;
};

/// Replaces the file with data so that it never holds anything else than the old or the new
/// contents: the data go to a temporary file beside it, are flushed to the disk and renamed over
/// the file. On any failure the old file is untouched and the temporary file removed. A file that
/// already exists keeps its permissions; a symbolic link keeps pointing at its target, which is
/// replaced. A file the user may not write is refused, and so is one that no longer holds what
/// `expected` says (another program saved it); the save holds an advisory lock on the file while
/// it checks and replaces it.
bool write_file_atomic(const std::filesystem::path &path, std::span<const std::uint8_t> data,
                       std::string *error = nullptr, WriteFailure *failure = nullptr,
                       const std::optional<FileStamp> &expected = std::nullopt);

/// Replaces several files together: every temporary file is written before any is renamed, and
/// when a rename fails the files already replaced get their old contents back (or are removed
/// when they did not exist), so either all change or none does.
bool write_files_atomic(std::span<const FileWrite> files, std::string *error = nullptr,
                        WriteFailure *failure = nullptr);

/// The message of a failed save: the caller's fixed text and the reason, or the reason alone when
/// it already names the file (read-only, changed by another program).
std::string save_failure_message(std::string_view fixed_text, const std::string &error,
                                 WriteFailure failure);

bool file_exists(const std::filesystem::path &path);
std::optional<std::uintmax_t> size_of_file(const std::filesystem::path &path);

} // namespace tw
