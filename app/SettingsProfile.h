#pragma once

// The per-user settings of the Qt build: string entries by section and key, named after
// "Orvane\Tessolt" and the application. On Linux QSettings keeps them in the user's
// configuration folder (~/.config/Orvane/Tessolt.conf, section Pelagor). The Windows build has
// no Qt: app/win32/RegistryProfile keeps the same entries in the registry, at
// HKEY_CURRENT_USER\Software\Orvane\Tessolt\Pelagor, where QSettings would keep them there.

#include <QSettings>
#include <QString>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace pelagor::app {

inline constexpr const char* kSettingsOrganization = "Orvane";
inline constexpr const char* kSettingsProduct = "Tessolt";
inline constexpr const char* kApplicationName = "Pelagor";

// The store the application uses; QSettings::setPath moves it (tests do). Empty when a file of
// the store exists but is not a regular file (a pipe would block the start for ever, a device
// would take the settings) or is larger than 1 MiB (it would be read whole before the window
// shows): the run then starts with the defaults and writes no settings, and says so in one line
// on `warnings`.
std::unique_ptr<QSettings> OpenUserSettings(std::ostream& warnings);
std::unique_ptr<QSettings> OpenUserSettings();  // warnings on stderr

class SettingsProfile {
public:
    SettingsProfile(QSettings& settings, QString application)
        : SettingsProfile(&settings, std::move(application)) {}
    // Without a store every entry reads as its default and nothing is written.
    SettingsProfile(QSettings* settings, QString application)
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

    QSettings* m_settings;
    QString m_application;
};

}  // namespace pelagor::app
