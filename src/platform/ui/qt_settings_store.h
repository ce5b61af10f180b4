#pragma once

#include "platform/settings_store.h"

#include <QSettings>

namespace tw {

/// The user's settings store on QSettings: the platform's per-user settings of the program, or an
/// ini file a test names.
class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString &ini_file);

    int read_int(std::string_view section, std::string_view key, int fallback) const override;
    void write_int(std::string_view section, std::string_view key, int value) override;
    std::optional<std::string> read_string(std::string_view section,
                                           std::string_view key) const override;
    void write_string(std::string_view section, std::string_view key,
                      std::string_view value) override;

private:
    mutable QSettings settings_;
};

} // namespace tw
