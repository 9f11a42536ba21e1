// Dialog template 102 exists twice: in res/pelagor.rc for Windows and in app/DialogTemplate.h
// for the Qt window. The compiled resource is read back and compared with the table, control by
// control; the dialog manager places the controls from it.

#include <gtest/gtest.h>
#include "app/win32/WindowsApi.h"

#include "app/DialogTemplate.h"
#include "app/win32/ResourceIds.h"
#include "bytes/ByteReader.h"
#include "platform/Utf16.h"

namespace pelagor::app::testing {
namespace {

using platform::Utf8ToUtf16;

// The class atom and the style that each kind of the table stands for.
std::pair<std::uint16_t, DWORD> FormOf(ControlKind kind) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    switch (kind) {
        case ControlKind::Label:
            return {0x0082, kChild | WS_GROUP | SS_LEFT};
        case ControlKind::Edit:
            return {0x0081, kEdit};
        case ControlKind::ReadOnlyEdit:
            return {0x0081, kEdit | ES_READONLY};
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

// A template's ordinal (0xFFFF, number) as "#number", or its NUL-ended UTF-16 string.
std::wstring ReadName(ByteReader& reader) {
    std::uint16_t unit = reader.U16le().value_or(0);
    if (unit == 0xFFFF) {
        return L"#" + std::to_wstring(reader.U16le().value_or(0));
    }
    std::wstring name;
    for (; unit != 0; unit = reader.U16le().value_or(0)) {
        name += static_cast<wchar_t>(unit);
    }
    return name;
}

TEST(Win32Template, ResourceMatchesTheTableControlByControl) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(PELAGOR_IDD_CONVERTER), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    ByteReader reader({static_cast<const std::uint8_t*>(::LoadResource(nullptr, found)),
                       ::SizeofResource(nullptr, found)});
    ASSERT_EQ(reader.U32le(), 0xFFFF0001U);  // DLGTEMPLATEEX
    ASSERT_TRUE(reader.Skip(4));             // help id
    EXPECT_EQ(reader.U32le(), DWORD{WS_EX_APPWINDOW});
    EXPECT_EQ(reader.U32le(),
              DWORD{DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU});
    for (const int expected :
         {static_cast<int>(kDialogControls.size()), 0, 0, kDialogWidth, kDialogHeight}) {
        EXPECT_EQ(reader.U16le(), expected);
    }
    EXPECT_EQ(ReadName(reader), L"");  // no menu
    EXPECT_EQ(ReadName(reader), L"");  // the dialog class
    EXPECT_EQ(ReadName(reader), Utf8ToUtf16(kDialogTitle));
    EXPECT_EQ(reader.U16le(), kDialogFontPoints);
    ASSERT_TRUE(reader.Skip(2 + 1));  // weight, italic
    EXPECT_EQ(reader.U8(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(ReadName(reader), Utf8ToUtf16(kDialogFontFamily));

    for (const TemplateControl& control : kDialogControls) {
        SCOPED_TRACE(static_cast<int>(control.id));
        ASSERT_TRUE(reader.Seek((reader.position() + 3) & ~std::size_t{3}));  // DWORD aligned
        ASSERT_TRUE(reader.Skip(4 + 4));                                      // help id, ex-style
        const auto [classAtom, style] = FormOf(control.kind);
        EXPECT_EQ(reader.U32le(), style);
        for (const int expected : {control.x, control.y, control.width, control.height}) {
            EXPECT_EQ(reader.U16le(), expected);
        }
        EXPECT_EQ(static_cast<int>(reader.U32le().value_or(0)), static_cast<int>(control.id));
        EXPECT_EQ(ReadName(reader), L"#" + std::to_wstring(classAtom));
        EXPECT_EQ(ReadName(reader), Utf8ToUtf16(control.caption));
        ASSERT_TRUE(reader.Skip(reader.U16le().value_or(0xFFFF)));  // extra data
    }
    EXPECT_LT(reader.remaining(), 4U);
}

}  // namespace
}  // namespace pelagor::app::testing
