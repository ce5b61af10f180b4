#pragma once

#include "platform/settings_store.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The File menu's most-recently-used list: newest first, each file once, kept in the settings
/// store (section "Recent File List", keys "File1" ...) between runs.
class RecentFiles
{
public:
    explicit RecentFiles(std::size_t capacity = 5)
        : capacity_(capacity)
    {}

    void load(const SettingsStore &store);
    void save(SettingsStore &store) const;

    /// Puts a file at the top; the oldest entry drops out when the list is full.
    void add(std::string_view path);
    void remove(std::string_view path);
    const std::vector<std::string> &entries() const { return entries_; }

private:
    std::size_t capacity_;
    std::vector<std::string> entries_;
};

} // namespace tw
