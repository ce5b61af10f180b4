#pragma once

#include "platform/document.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The .loc file: the location document's archive, written and read member by member.
namespace tw {

class CLocationDoc;

inline constexpr std::string_view kArchiveErrorMessage =
    "Error reading file. Format may not be current";

/// No season comes near ten years of days; a stored day count above this is a damaged file and
/// is refused instead of allocated.
constexpr std::uint32_t kMaxLocationDays = 3660;
/// Nothing adds field names; a list that needs the 32-bit count escape is refused.
constexpr std::uint32_t kMaxFieldNames = 0xFFFE;
/// A location of kMaxLocationDays days is under 200 KB; a larger file is not read.
constexpr std::size_t kMaxLocationFileBytes = std::size_t{16} << 20;
/// What `name` holds; a longer stored name keeps its first characters.
constexpr std::size_t kLocationNameChars = 15;

std::vector<std::uint8_t> encode_location(const CLocationDoc &location);

enum class LocationRead {
    Complete,
    DaysCut,    ///< the file ended inside the day records or the values after them; what it
                ///< lacks is empty
    Failed,     ///< the header could not be read; the document keeps what was read before
    Unreadable, ///< the file could not be opened; the document is unchanged
};

/// Reads the archive over a document holding its defaults. `detail` says where a failure was.
LocationRead decode_location(std::span<const std::uint8_t> bytes, CLocationDoc &location,
                             std::string *detail = nullptr);

/// The stored members copied as a save and a read would copy them (no path, views or fields).
void copy_stored_values(const CLocationDoc &from, CLocationDoc &to);

/// Opens a .loc file into the document; a failed header shows the archive message.
LocationRead load_location_file(const std::filesystem::path &path, CLocationDoc &location,
                                std::string *detail = nullptr);
/// Saves atomically (a failed save leaves the old file whole); on success the document takes the
/// path and is no longer modified; on failure the outcome says why (the caller shows it).
SaveOutcome save_location_file(CLocationDoc &location, const std::filesystem::path &path);

} // namespace tw
