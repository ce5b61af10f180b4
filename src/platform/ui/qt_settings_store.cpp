#include "platform/ui/qt_settings_store.h"

namespace tw {
namespace {

QString key_of(std::string_view section, std::string_view key)
{
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::UserScope, QStringLiteral("Tillwise"), QStringLiteral("Tillwise"))
{}

QtSettingsStore::QtSettingsStore(const QString &ini_file)
    : settings_(ini_file, QSettings::IniFormat)
{}

int QtSettingsStore::read_int(std::string_view section, std::string_view key, int fallback) const
{
    bool ok = false;
    const int value = settings_.value(key_of(section, key)).toInt(&ok);
    return ok ? value : fallback;
}

void QtSettingsStore::write_int(std::string_view section, std::string_view key, int value)
{
    settings_.setValue(key_of(section, key), value);
}

std::optional<std::string> QtSettingsStore::read_string(std::string_view section,
                                                        std::string_view key) const
{
    const QVariant value = settings_.value(key_of(section, key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::write_string(std::string_view section, std::string_view key,
                                   std::string_view value)
{
    settings_.setValue(key_of(section, key),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

} // namespace tw
