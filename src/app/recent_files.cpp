#include "app/recent_files.h"

#include <algorithm>

namespace tw {
namespace {

constexpr std::string_view kSection = "Recent File List";

std::string key_of(std::size_t i)
{
    return "File" + std::to_string(i + 1);
}

} // namespace

void RecentFiles::load(const SettingsStore &store)
{
    entries_.clear();
    for (std::size_t i = 0; i < capacity_; ++i) {
        const auto path = store.read_string(kSection, key_of(i));
        if (path && !path->empty())
            entries_.push_back(*path);
    }
}

void RecentFiles::save(SettingsStore &store) const
{
    // Every slot is written, so an entry that dropped out does not come back at the next start.
    for (std::size_t i = 0; i < capacity_; ++i)
        store.write_string(kSection, key_of(i), i < entries_.size() ? entries_[i] : "");
}

void RecentFiles::add(std::string_view path)
{
    remove(path);
    entries_.insert(entries_.begin(), std::string(path));
    if (entries_.size() > capacity_)
        entries_.resize(capacity_);
}

void RecentFiles::remove(std::string_view path)
{
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}

} // namespace tw
