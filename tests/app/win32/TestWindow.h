#pragma once

// A converter window for a test: its settings under a registry key of its own, removed when the
// test ends, and the window made modeless so that the test drives it with messages.

#include <gtest/gtest.h>
#include "app/win32/WindowsApi.h"

#include <string>

#include "app/win32/ConverterWindow.h"

namespace pelagor::app::testing {

class TestWindow {
public:
    TestWindow() { ::RegDeleteTreeW(HKEY_CURRENT_USER, profile.Key().c_str()); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() {
        if (window != nullptr) {
            ::DestroyWindow(window);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, profile.Key().c_str());
    }

    // A Wine without a display and without the null graphics driver makes no window, silently.
    void Open() {
        window = CreateConverterWindow(::GetModuleHandleW(nullptr), session);
        ASSERT_NE(window, nullptr) << "no dialog: a display, or Wine's null graphics driver";
        ::ShowWindow(window, SW_SHOW);
    }
    [[nodiscard]] HWND Item(ControlId id) const {
        return ::GetDlgItem(window, static_cast<int>(id));
    }

    RegistryProfile profile{L"Software\\Orvane\\Tessolt\\PelagorTest" +
                            std::to_wstring(::GetCurrentProcessId())};
    ConverterSession session{profile, LoadAppIcons(::GetModuleHandleW(nullptr))};
    HWND window = nullptr;
};

}  // namespace pelagor::app::testing
