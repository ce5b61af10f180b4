#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw {

/// Names typed by the user (a location or field name) become part of file names in the working
/// directory. This says why a name cannot be used so (a path separator, "..", a control
/// character), or nothing when it is safe. `what` names the thing in the message ("location").
std::optional<std::string> unsafe_file_name_reason(std::string_view name, std::string_view what);

} // namespace tw
