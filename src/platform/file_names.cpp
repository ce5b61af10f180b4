#include "platform/file_names.h"

namespace tw {

std::optional<std::string> unsafe_file_name_reason(std::string_view name, std::string_view what)
{
    const std::string quoted = "The " + std::string(what) + " name \"" + std::string(name) + "\"";
    for (const char c : name) {
        if (c == '/' || c == '\\')
            return quoted + " cannot name a file: it contains a path separator.";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "The " + std::string(what) +
                   " name cannot name a file: it contains a control character.";
    }
    if (name.find("..") != std::string_view::npos)
        return quoted + " cannot name a file: it contains \"..\".";
    return std::nullopt;
}

} // namespace tw
