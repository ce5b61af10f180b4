#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tw {

/// The user's settings store: integers and strings by section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual int read_int(std::string_view section, std::string_view key, int fallback) const = 0;
    virtual void write_int(std::string_view section, std::string_view key, int value) = 0;
    virtual std::optional<std::string> read_string(std::string_view section,
                                                   std::string_view key) const = 0;
    virtual void write_string(std::string_view section, std::string_view key,
                              std::string_view value) = 0;
};

class MemorySettingsStore : public SettingsStore
{
public:
    int read_int(std::string_view section, std::string_view key, int fallback) const override;
    void write_int(std::string_view section, std::string_view key, int value) override;
    std::optional<std::string> read_string(std::string_view section,
                                           std::string_view key) const override;
    void write_string(std::string_view section, std::string_view key,
                      std::string_view value) override;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, int> ints_;
    std::map<Key, std::string> strings_;
};

} // namespace tw
