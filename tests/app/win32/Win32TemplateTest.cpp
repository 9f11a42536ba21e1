// Dialog template 102 exists twice: in res/pelagor.rc for Windows and in app/DialogTemplate.h
// for the Qt window. The compiled resource is read back here and compared with the table,
// control by control, and the live window with both.

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "TestWindow.h"
#include "app/DialogTemplate.h"
#include "app/win32/ResourceIds.h"
#include "platform/Utf16.h"
#include "tracklog/ByteReader.h"

namespace pelagor::app::testing {
namespace {

using platform::Utf8ToUtf16;

// The classes and styles that the table's kinds stand for.
struct KindForm {
    std::uint16_t classAtom;
    DWORD style;
};

KindForm FormOf(ControlKind kind) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case ControlKind::Label:
            return {0x0082, kChild | WS_GROUP | SS_LEFT};
        case ControlKind::Edit:
            return {0x0081, kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL};
        case ControlKind::ReadOnlyEdit:
            return {0x0081,
                    kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY};
        case ControlKind::Button:
            return {0x0080, kChild | WS_TABSTOP | BS_PUSHBUTTON};
        case ControlKind::ListBox:
            return {0x0083, kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                LBS_NOINTEGRALHEIGHT};
        case ControlKind::Count:
            return {0x0082, kChild | WS_GROUP | SS_CENTER | SS_SUNKEN};
    }
    return {};
}

// A template's string or ordinal: 0xFFFF and a number, or a NUL-ended UTF-16 string.
struct NameOrOrdinal {
    std::uint16_t ordinal = 0;
    std::wstring name;
};

NameOrOrdinal ReadName(ByteReader& reader) {
    NameOrOrdinal result;
    std::uint16_t unit = reader.U16().value_or(0);
    if (unit == 0xFFFF) {
        result.ordinal = reader.U16().value_or(0);
        return result;
    }
    while (unit != 0) {
        result.name += static_cast<wchar_t>(unit);
        unit = reader.U16().value_or(0);
    }
    return result;
}

void AlignToDword(ByteReader& reader) {
    ASSERT_TRUE(reader.Seek((reader.position() + 3) & ~std::size_t{3}));
}

std::span<const std::uint8_t> TemplateBytes() {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(PELAGOR_IDD_CONVERTER), RT_DIALOG);
    if (found == nullptr) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module, found))),
            ::SizeofResource(module, found)};
}

TEST(Win32Template, ResourceMatchesTheTableControlByControl) {
    ByteReader reader(TemplateBytes());
    ASSERT_EQ(reader.U16(), 1U);       // DLGTEMPLATEEX
    ASSERT_EQ(reader.U16(), 0xFFFFU);  // signature
    ASSERT_TRUE(reader.Skip(4));       // help id
    EXPECT_EQ(reader.U32(), static_cast<std::uint32_t>(WS_EX_APPWINDOW));
    EXPECT_EQ(reader.U32(), static_cast<std::uint32_t>(DS_SETFONT | DS_MODALFRAME | WS_POPUP |
                                                       WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(reader.U16(), kDialogControls.size());
    const std::uint16_t frame[] = {0, 0, kDialogWidth, kDialogHeight};
    for (std::uint16_t expected : frame) {
        EXPECT_EQ(reader.U16(), expected);
    }
    EXPECT_EQ(ReadName(reader).ordinal, 0);  // no menu
    EXPECT_EQ(ReadName(reader).ordinal, 0);  // the dialog class
    EXPECT_EQ(ReadName(reader).name, Utf8ToUtf16(kDialogTitle));
    EXPECT_EQ(reader.U16(), kDialogFontPoints);
    ASSERT_TRUE(reader.Skip(2 + 1));  // weight, italic
    EXPECT_EQ(reader.U8(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(ReadName(reader).name, Utf8ToUtf16(kDialogFontFamily));

    for (const TemplateControl& control : kDialogControls) {
        const std::string what(control.caption.empty()
                                   ? "control " + std::to_string(static_cast<int>(control.id))
                                   : std::string(control.caption));
        AlignToDword(reader);
        ASSERT_TRUE(reader.Skip(4 + 4)) << what;  // help id, extended style
        const KindForm form = FormOf(control.kind);
        EXPECT_EQ(reader.U32(), form.style) << what;
        const int rectangle[] = {control.x, control.y, control.width, control.height};
        for (int expected : rectangle) {
            EXPECT_EQ(reader.U16(), expected) << what;
        }
        EXPECT_EQ(static_cast<std::int32_t>(reader.U32().value_or(0)), static_cast<int>(control.id))
            << what;
        EXPECT_EQ(ReadName(reader).ordinal, form.classAtom) << what;
        EXPECT_EQ(ReadName(reader).name, Utf8ToUtf16(control.caption)) << what;
        const std::uint16_t extra = reader.U16().value_or(0xFFFF);
        ASSERT_TRUE(reader.Skip(extra)) << what;
    }
    AlignToDword(reader);
    EXPECT_TRUE(reader.AtEnd());
}

// The dialog manager turns a control's position and its size into pixels one by one, so each is
// mapped on its own here (mapping the corners would round differently).
TEST(Win32Template, WindowPlacesControlsInDialogUnitsAndTabOrder) {
    TestWindow test;
    test.Open();
    const auto pixels = [&test](int x, int y) {
        RECT rect{x, y, x, y};
        ::MapDialogRect(test.window, &rect);
        return POINT{rect.left, rect.top};
    };
    RECT client{};
    ::GetClientRect(test.window, &client);
    const POINT size = pixels(kDialogWidth, kDialogHeight);
    EXPECT_EQ(client.right, size.x);
    EXPECT_EQ(client.bottom, size.y);

    HWND child = ::GetWindow(test.window, GW_CHILD);
    for (const TemplateControl& control : kDialogControls) {
        const std::string what(control.caption.empty()
                                   ? "control " + std::to_string(static_cast<int>(control.id))
                                   : std::string(control.caption));
        ASSERT_NE(child, nullptr) << what;
        EXPECT_EQ(::GetDlgCtrlID(child), static_cast<int>(control.id)) << what;
        RECT placed{};
        ::GetWindowRect(child, &placed);
        ::MapWindowPoints(nullptr, test.window, reinterpret_cast<POINT*>(&placed), 2);  // NOLINT
        const POINT origin = pixels(control.x, control.y);
        const POINT extent = pixels(control.width, control.height);
        EXPECT_EQ(placed.left, origin.x) << what;
        EXPECT_EQ(placed.top, origin.y) << what;
        EXPECT_EQ(placed.right - placed.left, extent.x) << what;
        EXPECT_EQ(placed.bottom - placed.top, extent.y) << what;
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

}  // namespace
}  // namespace pelagor::app::testing
