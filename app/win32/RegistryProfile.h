#pragma once

// The per-user settings in the registry: HKEY_CURRENT_USER\Software\Orvane\Tessolt\Pelagor, one
// key per section, one REG_SZ value per entry, the same place the Qt build's QSettings uses on
// Windows. A REG_EXPAND_SZ value a user wrote there reads with its %VARIABLES% expanded, and
// stays as written until the entry changes.

#include <string>
#include <string_view>

namespace pelagor::app {

inline constexpr std::wstring_view kSettingsKey = L"Software\\Orvane\\Tessolt\\Pelagor";

class RegistryProfile {
public:
    // `key` below HKEY_CURRENT_USER; tests give one of their own.
    explicit RegistryProfile(std::wstring key = std::wstring(kSettingsKey))
        : m_key(std::move(key)) {}

    // The stored string (UTF-8), or `defaultValue` when the value or its key is missing, is not a
    // string or cannot be read.
    [[nodiscard]] std::string GetProfileString(std::string_view section, std::string_view key,
                                               std::string_view defaultValue) const;
    // A failure goes unnoticed: the dialog carries on as if the entry had been written.
    void WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) const;

    [[nodiscard]] const std::wstring& Key() const { return m_key; }

private:
    [[nodiscard]] std::wstring SectionKey(std::string_view section) const;

    std::wstring m_key;
};

}  // namespace pelagor::app
