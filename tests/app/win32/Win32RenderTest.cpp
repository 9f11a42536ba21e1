// The captions come out as Chinese glyphs, not as the boxes a face without them draws: Wine
// needs its "新細明體" replacement for this, and a machine without it fails here.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "TestWindow.h"
#include "app/DialogTemplate.h"
#include "platform/Utf16.h"

namespace pelagor::app::testing {
namespace {

// A white 32-bit bitmap to draw on, with its pixels at hand.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_pixels = static_cast<const std::uint32_t*>(bits);
        m_dc = ::CreateCompatibleDC(nullptr);
        m_previous = ::SelectObject(m_dc, m_bitmap);
        RECT all{0, 0, width, height};
        ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        ::SelectObject(m_dc, m_previous);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bitmap);
    }

    [[nodiscard]] HDC Dc() const { return m_dc; }

    // Pixels clearly darker than the background (the Ming face's strokes are thin).
    [[nodiscard]] int InkIn(const RECT& area) const {
        ::GdiFlush();
        int ink = 0;
        for (int y = std::max(0, static_cast<int>(area.top));
             y < std::min(m_height, static_cast<int>(area.bottom)); ++y) {
            for (int x = std::max(0, static_cast<int>(area.left));
                 x < std::min(m_width, static_cast<int>(area.right)); ++x) {
                const std::uint32_t pixel = m_pixels[y * m_width + x];
                const unsigned gray =
                    ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) / 3;
                ink += gray < 160 ? 1 : 0;
            }
        }
        return ink;
    }
    [[nodiscard]] std::vector<std::uint32_t> Pixels() const {
        ::GdiFlush();
        return {m_pixels, m_pixels + static_cast<std::ptrdiff_t>(m_width) * m_height};
    }

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    const std::uint32_t* m_pixels = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

TEST(Win32Render, CaptionsAreDrawnWithRealGlyphs) {
    TestWindow test;
    test.Open();
    const auto font =
        reinterpret_cast<HFONT>(::SendMessageW(test.window, WM_GETFONT, 0, 0));  // NOLINT
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
        Canvas canvas(32, 32);
        ::SelectObject(canvas.Dc(), font);
        WORD glyph = 0;
        ASSERT_EQ(::GetGlyphIndicesW(canvas.Dc(), &c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS), 1U);
        EXPECT_NE(glyph, 0xFFFF) << "no glyph for U+" << std::hex << static_cast<int>(c);
        if (c >= 0x2E80 && chinese.insert(c).second) {
            ::TextOutW(canvas.Dc(), 2, 2, &c, 1);
            EXPECT_GT(canvas.InkIn({0, 0, 32, 32}), 2) << std::hex << static_cast<int>(c);
            drawings.insert(canvas.Pixels());
        }
    }
    EXPECT_GT(chinese.size(), 10U);
    EXPECT_EQ(drawings.size(), chinese.size());

    // And the controls draw them, each printed on a canvas of its own size.
    for (HWND child = ::GetWindow(test.window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int length = ::GetWindowTextLengthW(child);
        if (length == 0) {
            continue;
        }
        RECT area{};
        ::GetClientRect(child, &area);
        const Canvas canvas(area.right, area.bottom);
        ::SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()),  // NOLINT
                       PRF_CLIENT | PRF_ERASEBKGND);
        EXPECT_GT(canvas.InkIn(area), 4 * length) << ::GetDlgCtrlID(child);
    }
}

}  // namespace
}  // namespace pelagor::app::testing
