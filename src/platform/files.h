#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tw {

/// The whole file, or at most max_bytes of its beginning; nothing when it cannot be read (error,
/// when given, says why).
std::optional<std::vector<std::uint8_t>>
read_file(const std::filesystem::path &path,
          std::size_t max_bytes = std::numeric_limits<std::size_t>::max(),
          std::string *error = nullptr);

/// Which step of a save failed: making the file (its temporary companion beside it), or writing,
/// flushing and renaming it over the old one.
enum class WriteFailure { None, Open, Write };

/// Replaces the file with data so that it never holds anything else than the old or the new
/// contents: the data go to a temporary file beside it, are flushed to the disk and renamed over
/// the file. On any failure the old file is untouched and the temporary file removed. A file that
/// already exists keeps its permissions.
bool write_file_atomic(const std::filesystem::path &path, std::span<const std::uint8_t> data,
                       std::string *error = nullptr, WriteFailure *failure = nullptr);

bool file_exists(const std::filesystem::path &path);
std::optional<std::uintmax_t> size_of_file(const std::filesystem::path &path);

} // namespace tw
