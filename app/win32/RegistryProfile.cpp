#include "app/win32/RegistryProfile.h"

#include "app/win32/WindowsApi.h"

#include <limits>
#include <optional>

#include "platform/Utf16.h"

namespace pelagor::app {

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;

std::wstring RegistryProfile::SectionKey(std::string_view section) const {
    return m_key + L"\\" + Utf8ToUtf16(section);
}

namespace {

// A string value as the program reads it: a REG_EXPAND_SZ one with its %VARIABLES% expanded.
// Nothing when the value or its key is missing, is not a string or cannot be read.
std::optional<std::wstring> ReadString(const std::wstring& path, const std::wstring& name) {
    // The value may grow between the two calls; a few rounds settle it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                           nullptr, &bytes) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(),
                                              RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        // RegGetValueW ends the string with a NUL even when the stored value has none.
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }
    return std::nullopt;
}

}  // namespace

std::string RegistryProfile::GetProfileString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue) const {
    const auto text = ReadString(SectionKey(section), Utf8ToUtf16(key));
    return text ? Utf16ToUtf8(*text) : std::string(defaultValue);
}

void RegistryProfile::WriteProfileString(std::string_view section, std::string_view key,
                                         std::string_view value) const {
    const std::wstring path = SectionKey(section);
    const std::wstring name = Utf8ToUtf16(key);
    const std::wstring text = Utf8ToUtf16(value);
    // An entry that already reads as `value` stays as the user wrote it: a REG_EXPAND_SZ
    // "%USERPROFILE%\trip.wtr" is not to become one user's fixed path.
    if (ReadString(path, name) == text) {
        return;
    }
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &handle, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (bytes <= std::numeric_limits<DWORD>::max()) {
        ::RegSetValueExW(handle, name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()),  // NOLINT: the API's bytes
                         static_cast<DWORD>(bytes));
    }
    ::RegCloseKey(handle);
}

}  // namespace pelagor::app
