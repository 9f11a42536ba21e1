// The captions come out as Chinese glyphs, not as the boxes a face without them draws: Wine
// needs its "新細明體" replacement for this, and a machine without it fails here.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TestWindow.h"
#include "app/DialogTemplate.h"
#include "platform/Utf16.h"

namespace pelagor::app::testing {
namespace {

// How many pixels of `child`, printed on a white canvas of its size, are clearly dark.
std::ptrdiff_t InkOf(HWND child) {
    RECT area{};
    ::GetClientRect(child, &area);
    BITMAPINFO info{
        {sizeof(BITMAPINFOHEADER), area.right, -area.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    ::PatBlt(dc, 0, 0, area.right, area.bottom, WHITENESS);
    ::SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                   PRF_CLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    const std::ptrdiff_t ink = std::count_if(
        first, first + static_cast<std::ptrdiff_t>(area.right) * area.bottom,
        [](std::uint32_t pixel) {
            return (pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF) < 3 * 160;
        });
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return ink;
}

TEST(Win32Render, CaptionsAreDrawnWithRealGlyphs) {
    TestWindow test;
    test.Open();
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(test.window, WM_GETFONT, 0, 0)));
    std::wstring captions = platform::Utf8ToUtf16(kDialogTitle);
    for (const TemplateControl& control : kDialogControls) {
        captions += platform::Utf8ToUtf16(control.caption);
    }
    std::vector<WORD> glyphs(captions.size());
    ::GetGlyphIndicesW(dc, captions.c_str(), static_cast<int>(captions.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS);
    ::DeleteDC(dc);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for U+" << std::hex << int{captions[i]};
    }
    for (HWND child = ::GetWindow(test.window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        EXPECT_GE(InkOf(child), 4 * ::GetWindowTextLengthW(child)) << ::GetDlgCtrlID(child);
    }
}

}  // namespace
}  // namespace pelagor::app::testing
