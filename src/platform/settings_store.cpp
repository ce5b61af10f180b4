#include "platform/settings_store.h"

namespace tw {

int MemorySettingsStore::read_int(std::string_view section, std::string_view key,
                                  int fallback) const
{
    const auto it = ints_.find({std::string(section), std::string(key)});
    return it == ints_.end() ? fallback : it->second;
}

void MemorySettingsStore::write_int(std::string_view section, std::string_view key, int value)
{
    ints_[{std::string(section), std::string(key)}] = value;
}

std::optional<std::string> MemorySettingsStore::read_string(std::string_view section,
                                                            std::string_view key) const
{
    const auto it = strings_.find({std::string(section), std::string(key)});
    if (it == strings_.end())
        return std::nullopt;
    return it->second;
}

void MemorySettingsStore::write_string(std::string_view section, std::string_view key,
                                       std::string_view value)
{
    strings_[{std::string(section), std::string(key)}] = std::string(value);
}

} // namespace tw
