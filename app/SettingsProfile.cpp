#include "app/SettingsProfile.h"
#include "app/QtText.h"

#include <QVariant>

namespace pelagor::app {

std::unique_ptr<QSettings> OpenUserSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(kSettingsOrganization),
                                       QString::fromLatin1(kSettingsProduct));
}

QString SettingsProfile::KeyOf(std::string_view section, std::string_view key) const {
    return m_application + QLatin1Char('/') + Utf8(section) + QLatin1Char('/') + Utf8(key);
}

std::string SettingsProfile::GetProfileString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue) {
    const QVariant value = m_settings.value(KeyOf(section, key));
    // A missing or unreadable store gives no value at all. Only a string is a path: anything
    // else a hand-edited store holds reads as missing too. (The store's status is not asked:
    // after a failed write it stays an error, and the entries still read as they are.)
    if (value.typeId() != QMetaType::QString) {
        return std::string(defaultValue);
    }
    return ToUtf8(value.toString());
}

void SettingsProfile::WriteProfileString(std::string_view section, std::string_view key,
                                         std::string_view value) {
    m_settings.setValue(KeyOf(section, key), Utf8(value));
    m_settings.sync();
}

}  // namespace pelagor::app
