#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// The libraries and knowledge files share one rule: a missing file is created with its defaults;
// a file that exists but cannot be read is left alone (it may hold the user's own values).
namespace tw {

using FileBytes = std::vector<std::uint8_t>;

/// At most max_bytes of the working-directory file; when the file does not exist, what `create`
/// wrote. Nothing when the file cannot be read or created.
std::optional<FileBytes>
read_or_create_work_file(std::string_view name, std::size_t max_bytes,
                         const std::function<std::optional<FileBytes>()> &create);

} // namespace tw
