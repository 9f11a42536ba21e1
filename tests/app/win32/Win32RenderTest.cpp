// The captions come out as Chinese glyphs, not as the boxes a face without them draws: Wine
// needs its "新細明體" replacement for this, and a machine without it fails here.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "TestWindow.h"
#include "app/DialogTemplate.h"
#include "platform/Utf16.h"

namespace pelagor::app::testing {
namespace {

// The pixels of a white 32-bit canvas after `draw`.
std::vector<std::uint32_t> Drawn(int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    ::PatBlt(dc, 0, 0, width, height, WHITENESS);
    draw(dc);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::ptrdiff_t>(width) * height);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return pixels;
}

// Pixels clearly darker than the background (the Ming face's strokes are thin).
std::ptrdiff_t Ink(const std::vector<std::uint32_t>& pixels) {
    return std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t pixel) {
        return (pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF) < 3 * 160;
    });
}

TEST(Win32Render, CaptionsAreDrawnWithRealGlyphs) {
    TestWindow test;
    test.Open();
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(test.window, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);

    // Every character of every caption is in the dialog's face, and the Chinese ones differ
    // from each other: boxes would all be the same.
    std::wstring captions = platform::Utf8ToUtf16(kDialogTitle);
    for (const TemplateControl& control : kDialogControls) {
        captions += platform::Utf8ToUtf16(control.caption);
    }
    std::set<wchar_t> chinese;
    std::set<std::vector<std::uint32_t>> drawings;
    for (const wchar_t c : captions) {
        const auto drawing = Drawn(32, 32, [&](HDC dc) {
            ::SelectObject(dc, font);
            WORD glyph = 0;
            ::GetGlyphIndicesW(dc, &c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
            EXPECT_NE(glyph, 0xFFFF) << "no glyph for U+" << std::hex << static_cast<int>(c);
            ::TextOutW(dc, 2, 2, &c, 1);
        });
        if (c >= 0x2E80 && chinese.insert(c).second) {
            EXPECT_GT(Ink(drawing), 2) << std::hex << static_cast<int>(c);
            drawings.insert(drawing);
        }
    }
    EXPECT_GT(chinese.size(), 10U);
    EXPECT_EQ(drawings.size(), chinese.size());

    // And the controls draw them, each printed on a canvas of its own size.
    for (HWND child = ::GetWindow(test.window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT area{};
        ::GetClientRect(child, &area);
        const std::ptrdiff_t ink = Ink(Drawn(area.right, area.bottom, [child](HDC dc) {
            ::SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                           PRF_CLIENT | PRF_ERASEBKGND);
        }));
        EXPECT_GE(ink, 4 * ::GetWindowTextLengthW(child)) << ::GetDlgCtrlID(child);
    }
}

}  // namespace
}  // namespace pelagor::app::testing
