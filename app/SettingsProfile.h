#pragma once

// The per-user settings: string entries by section and key, named after "Orvane\Tessolt" and the
// application. Qt keeps them in HKEY_CURRENT_USER\Software\Orvane\Tessolt\<application> on
// Windows and in the user's configuration folder elsewhere.

#include <QSettings>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

namespace pelagor::app {

inline constexpr const char* kSettingsOrganization = "Orvane";
inline constexpr const char* kSettingsProduct = "Tessolt";
inline constexpr const char* kApplicationName = "Pelagor";

// The store the application uses; QSettings::setPath moves it (tests do).
std::unique_ptr<QSettings> OpenUserSettings();

class SettingsProfile {
public:
    SettingsProfile(QSettings& settings, QString application)
        : m_settings(settings), m_application(std::move(application)) {}

    // The stored string, or `defaultValue` when the entry, the section or the whole store is
    // missing or cannot be read.
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue);
    // Written through at once, so that the entry survives whatever happens next; a failure goes
    // unnoticed.
    void WriteProfileString(std::string_view section, std::string_view key, std::string_view value);

private:
    [[nodiscard]] QString KeyOf(std::string_view section, std::string_view key) const;

    QSettings& m_settings;
    QString m_application;
};

}  // namespace pelagor::app
