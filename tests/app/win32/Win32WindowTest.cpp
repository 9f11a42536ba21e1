// The Windows window driven by messages as a user's clicks, typing and keys arrive: what is
// specific to the Win32 view. The dialog's logic is ConverterDialogTest's.

#include <gtest/gtest.h>
#include "app/win32/WindowsApi.h"

#include <dlgs.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/CliGpx.h"
#include "app/DialogTemplate.h"
#include "app/win32/ConverterWindow.h"
#include "builder/MpsFiles.h"
#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "platform/PathText.h"
#include "platform/Utf16.h"

namespace pelagor::app::testing {
namespace {

using platform::Utf8ToUtf16;

// A converter window with its settings under a registry key of its own, removed when the test
// ends, made modeless so that the test drives it with messages.
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

// "台北" and "山頂" in Big5, the code page the receivers write names in.
const std::vector<testkit::SampleWaypoint> kWaypoints{
    {{'\xA5', '\x78', '\xA5', '\x5F'}, 303000000, 1450000000, 12.0F, 18},
    {"HOME", 303100000, 1450100000, 123.4F, 18},
    {{'\xA4', '\x73', '\xB3', '\xBB'}, 303200000, 1450200000, 3952.0F, 18},
};

// A file dialog as asked for: kind, filter (NULs shown as '|'), flags, start, extension, name.
std::wstring Described(const OPENFILENAMEW& request, FileDialogKind kind) {
    std::wstring text = kind == FileDialogKind::Open ? L"open " : L"save ";
    for (const wchar_t* part = request.lpstrFilter; *part != L'\0'; part += wcslen(part) + 1) {
        text += std::wstring(part) + L"|";
    }
    const wchar_t* start = request.lpstrInitialDir != nullptr ? request.lpstrInitialDir : L"-";
    return text + L"| " + std::to_wstring(request.Flags) + L" " + start + L" " +
           (request.lpstrDefExt != nullptr ? request.lpstrDefExt : L"-") + L" [" +
           request.lpstrFile + L"]";
}

class Win32WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test.session.toolkit.SetFileDialogRunner(
            [this](OPENFILENAMEW& request, FileDialogKind kind) {
                EXPECT_EQ(request.hwndOwner, test.window);
                calls.push_back(Described(request, kind));
                wcsncpy(request.lpstrFile, Utf8ToUtf16(answer).c_str(), request.nMaxFile);
                return !answer.empty();
            });
    }

    std::string File(const char8_t* name, const std::vector<std::uint8_t>& bytes) {
        testkit::WriteBytes(folder / name, bytes);
        return platform::PathToUtf8(folder / name);
    }
    std::wstring Text(ControlId id) {
        std::wstring text(1024, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(test.Item(id), text.data(), static_cast<int>(text.size()))));
        return text;
    }
    std::wstring Line(WPARAM index) {
        HWND list = test.Item(ControlId::WaypointList);
        std::wstring line(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, index, 0)),
                          L'\0');
        ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
        return line;
    }
    void Type(ControlId id, const std::string& text) {
        ::SendMessageW(test.Item(id), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(Utf8ToUtf16(text).c_str()));
    }
    void Click(ControlId id) { ::SendMessageW(test.Item(id), BM_CLICK, 0, 0); }
    [[nodiscard]] std::string Stored(std::string_view key) const {
        return test.profile.GetProfileString("Dialog", key, "(none)");
    }

    testkit::TempDir folder;
    TestWindow test;
    std::string answer;  // empty: cancelled
    std::vector<std::wstring> calls;
    std::string source = File(u8"台北 trip.wtr", testkit::WtrFile(kWaypoints, {{"DAY", {{}}}}));
    std::string reference = File(u8"reference.mps", testkit::MpsFile(testkit::SampleReference()));
};

// The controls stand where the template says and start empty; a typed path takes effect through
// button 1007 alone; the names come out of Big5 in the dialog's face, whose glyphs Wine has
// only with its "新細明體" replacement.
TEST_F(Win32WindowTest, FirstStartShowsTheTemplateThenListsATypedPath) {
    test.Open();
    for (const TemplateControl& control : kDialogControls) {
        if (control.id == ControlId::Label) {
            continue;
        }
        SCOPED_TRACE(static_cast<int>(control.id));
        EXPECT_EQ(Text(control.id), Utf8ToUtf16(control.caption));
        RECT expected{control.x, control.y, control.width, control.height};  // as placed
        ::MapDialogRect(test.window, &expected);
        RECT actual{};
        ::GetWindowRect(test.Item(control.id), &actual);
        ::MapWindowPoints(nullptr, test.window, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(std::tuple(actual.left, actual.top, actual.right - actual.left,
                             actual.bottom - actual.top),
                  std::tie(expected.left, expected.top, expected.right, expected.bottom));
    }
    EXPECT_EQ(::GetFocus(), test.Item(ControlId::SourcePath));
    Type(ControlId::SourcePath, source);
    HWND list = test.Item(ControlId::WaypointList);
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    Click(ControlId::ListWaypoints);
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Line(0) + L"|" + Line(2), L"台北  12|山頂 3952");
    EXPECT_EQ(Stored("WTRFile"), source);
    std::wstring captions = Utf8ToUtf16(kDialogTitle) + Line(0) + Line(2);
    for (const TemplateControl& control : kDialogControls) {
        captions += Utf8ToUtf16(control.caption);
    }
    std::vector<WORD> glyphs(captions.size());
    HDC dc = ::GetDC(list);
    // WM_GETFONT answers with the font's handle as a number.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    ::GetGlyphIndicesW(dc, captions.c_str(), static_cast<int>(captions.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS);
    ::ReleaseDC(list, dc);
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF}), 0) << "boxes, not glyphs";
}

// A source of 20,000 waypoints: every one listed, and the list drawn again once they are in, its
// scroll bar reaching the last line.
TEST_F(Win32WindowTest, ListingFillsEveryWaypoint) {
    constexpr int kCount = 20000;
    std::vector<testkit::SampleWaypoint> many;
    many.reserve(kCount);
    for (int index = 0; index < kCount; ++index) {
        many.push_back({"W" + std::to_string(index), 303000000, 1450000000, 12.0F, 18});
    }
    test.Open();
    Type(ControlId::SourcePath, File(u8"many.wtr", testkit::WtrFile(many, {})));
    Click(ControlId::ListWaypoints);
    HWND list = test.Item(ControlId::WaypointList);
    ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), kCount);
    int wrong = 0;
    for (int index = 0; index < kCount; ++index) {
        wrong +=
            Line(static_cast<WPARAM>(index)) != L"W" + std::to_wstring(index) + L"  12" ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0);
    SCROLLINFO scroll{sizeof(scroll), SIF_RANGE, 0, 0, 0, 0, 0};
    ::GetScrollInfo(list, SB_VERT, &scroll);
    EXPECT_EQ(scroll.nMax, kCount - 1);
}

// Settings read from the registry and the command line's source, then the save dialog asked for
// as the output setting says: the dialog ends as OK.
TEST_F(Win32WindowTest, RestoresTheSettingsAndTheCommandLineSourceThenConverts) {
    test.profile.WriteProfileString("Dialog", "WTRFile", platform::PathToUtf8(folder / "gone"));
    test.profile.WriteProfileString("Dialog", "TemplateMPSFile", reference);
    test.profile.WriteProfileString("Dialog", "MPSFile", platform::PathToUtf8(folder / "old.mps"));
    test.session.startSource = source;
    test.Open();
    EXPECT_EQ(Text(ControlId::SourcePath), Utf8ToUtf16(source));
    EXPECT_EQ(Text(ControlId::SourceWaypointCount) + Text(ControlId::SourceTrackCount) +
                  Text(ControlId::ReferenceWaypointCount) + Text(ControlId::ReferenceTrackCount),
              L"3131");
    const std::string output = platform::PathToUtf8(folder / u8"轉出.mps");
    answer = output;
    Click(ControlId::Convert);
    EXPECT_EQ(calls,
              std::vector<std::wstring>{
                  L"save Garmin MapSource Files (*.mps)|*.mps|GPX 1.1 Files (*.gpx)|*.gpx|| 2052 " +
                  folder.path().native() + L" mps []"});
    EXPECT_EQ(Stored("MPSFile"), output);
    EXPECT_EQ(test.session.toolkit.Result(), IDOK);
}

// A conversion that fails says why in a message box over the window, which stays open: the
// reference offered as the output is never written over, and a folder that does not exist is
// named with the system's reason.
TEST_F(Win32WindowTest, FailedConvertSaysWhyAndStaysOpen) {
    std::vector<std::wstring> messages;
    test.session.toolkit.SetMessageRunner([&](HWND owner, const std::wstring& text) {
        EXPECT_EQ(owner, test.window);
        messages.push_back(text);
    });
    test.profile.WriteProfileString("Dialog", "WTRFile", source);
    test.profile.WriteProfileString("Dialog", "TemplateMPSFile", reference);
    test.Open();
    const std::string missing = platform::PathToUtf8(folder / "gone" / "out.mps");
    for (const std::string& output : {reference, missing}) {
        answer = output;
        Click(ControlId::Convert);
    }
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[0].substr(0, 9), L"輸出檔會取代輸入檔");
    EXPECT_NE(messages[0].find(L"the output would replace the input"), std::wstring::npos);
    EXPECT_EQ(messages[1], L"轉換失敗，沒有寫入任何檔案。\n\ncannot write " + Utf8ToUtf16(missing) +
                               L": no such file or folder");
    EXPECT_EQ(test.session.toolkit.Result(), std::nullopt);
    EXPECT_EQ(testkit::ReadBytes(folder / u8"reference.mps"),
              testkit::MpsFile(testkit::SampleReference()));
}

// A source a user wrote as REG_EXPAND_SZ, through a %VARIABLE%, loads expanded and stays as
// written; once the user lists another, that one is stored.
TEST_F(Win32WindowTest, ExpandableSettingStaysAsWritten) {
    const std::wstring key = test.profile.Key() + L"\\Dialog";
    const auto stored = [&key] {  // type and text as they stand
        std::array<wchar_t, 1024> text{};
        DWORD type = 0;
        DWORD bytes = sizeof(text);
        ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"WTRFile", RRF_RT_ANY | RRF_NOEXPAND, &type,
                       text.data(), &bytes);
        return std::to_wstring(type) + L" " + text.data();
    };
    ::SetEnvironmentVariableW(L"PELAGOR_TRIPS", folder.path().c_str());
    const std::wstring written = L"%PELAGOR_TRIPS%\\台北 trip.wtr";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"WTRFile", REG_EXPAND_SZ, written.c_str(),
                      static_cast<DWORD>((written.size() + 1) * sizeof(wchar_t)));
    test.Open();
    EXPECT_EQ(Text(ControlId::SourcePath), Utf8ToUtf16(source));
    EXPECT_EQ(stored(), L"2 " + written);  // 2: REG_EXPAND_SZ
    const std::string other = File(u8"other.wtr", testkit::WtrFile(kWaypoints, {}));
    Type(ControlId::SourcePath, other);
    Click(ControlId::ListWaypoints);
    EXPECT_EQ(stored(), L"1 " + Utf8ToUtf16(other));  // 1: REG_SZ
}

// Each button asks with its own filter, starting at the folder of its field, and fills its own
// field.
TEST_F(Win32WindowTest, BrowseAsksThenFillsTheField) {
    test.Open();
    Type(ControlId::SourcePath, "C:\\start\\here.txt");
    Type(ControlId::ReferencePath, "C:\\start\\here.txt");
    answer = source;
    Click(ControlId::BrowseSource);
    answer = reference;
    Click(ControlId::BrowseReference);
    EXPECT_EQ(Text(ControlId::SourcePath) + L"|" + Text(ControlId::ReferencePath),
              Utf8ToUtf16(source + "|" + reference));
    const std::wstring start = L" 2052 C:\\ - []";  // C:\start does not exist
    EXPECT_EQ(calls, (std::vector<std::wstring>{
                         L"open Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo|Garmin MapSource "
                         L"Files (*.mps)|*.mps||" +
                             start,
                         L"open Garmin MapSource Files (*.mps)|*.mps||" + start}));
}

// A file dialog starts in a folder that exists, shorter than the MAX_PATH characters it takes:
// the one the text names or holds its file, or the nearest one above.
TEST_F(Win32WindowTest, FileDialogsStartInAnExistingFolderTheDialogTakes) {
    const auto deep = [this](std::size_t length) {  // a folder path of exactly `length`
        std::filesystem::path path = folder.path();
        while (path.native().size() < length) {
            const std::size_t left = length - path.native().size() - 1;
            path /= std::wstring(left > 200 ? 150 : left, L'd');
        }
        std::filesystem::create_directories(path);
        return path.native();
    };
    const std::wstring longest = deep(MAX_PATH - 1);
    const std::wstring tooLong = deep(MAX_PATH);
    const std::wstring base = folder.path().native();
    const struct {
        std::wstring text;
        std::wstring start;
    } cases[] = {
        {L"", L"-"},
        {Utf8ToUtf16(source), base},
        {base + L"\\gone\\out.mps", base},
        {longest, longest},
        {longest + L"\\out.mps", longest},
        {tooLong, std::filesystem::path(tooLong).parent_path().native()},
        {base + L"\\" + std::wstring(1030, L'x') + L".mps", base},
    };
    test.Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        calls.clear();
        FileDialogRequest request;
        request.startLocation = platform::Utf16ToUtf8(c.text);
        test.session.toolkit.RunSaveFileDialog(request);
        ASSERT_EQ(calls.size(), 1U);
        EXPECT_EQ(calls[0].substr(calls[0].find(L"| 0 ") + 4), c.start + L" - []");
    }
}

// What a user does in the system's file dialog, done by a timer once it is up: press Cancel, or
// pick a type, type a name and press Save.
struct FileDialogInput {
    bool cancel = false;
    int type = 0;
    std::wstring name{};
};
FileDialogInput g_dialogInput;  // NOLINT: a timer procedure takes no context

void CALLBACK AnswerFileDialog(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM ours) {
            std::array<wchar_t, 16> name{};
            ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
            if (std::wstring_view(name.data()) != L"#32770" ||
                ::GetDlgItem(window, static_cast<int>(ControlId::Convert)) != nullptr) {
                return TRUE;
            }
            ::KillTimer(nullptr, static_cast<UINT_PTR>(ours));
            if (!g_dialogInput.cancel) {
                HWND types = ::GetDlgItem(window, cmb1);
                ::SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(g_dialogInput.type), 0);
                for (const int notification : {CBN_SELCHANGE, CBN_SELENDOK}) {  // as a pick sends
                    ::SendMessageW(window, WM_COMMAND,
                                   MAKEWPARAM(cmb1, static_cast<WORD>(notification)),
                                   reinterpret_cast<LPARAM>(types));
                }
                HWND edit = ::GetDlgItem(window, edt1);
                ::SetWindowTextW(edit != nullptr ? edit : ::GetDlgItem(window, cmb13),
                                 g_dialogInput.name.c_str());
            }
            ::PostMessageW(window, WM_COMMAND, g_dialogInput.cancel ? IDCANCEL : IDOK, 0);
            return FALSE;
        },
        static_cast<LPARAM>(timer));
}

// The system's file dialog, answered as `input` says.
bool RunAnsweredFileDialog(OPENFILENAMEW& request, FileDialogKind kind, FileDialogInput input) {
    g_dialogInput = std::move(input);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, AnswerFileDialog);
    const bool chosen = RunWin32FileDialog(request, kind);
    ::KillTimer(nullptr, timer);
    return chosen;
}

// The real save dialog, started from a remembered output of 1,030 characters, opens and is
// cancelled rather than bringing the program down.
TEST_F(Win32WindowTest, LongRememberedOutputOpensTheSaveDialog) {
    test.profile.WriteProfileString("Dialog", "WTRFile", source);
    test.profile.WriteProfileString("Dialog", "TemplateMPSFile", reference);
    test.profile.WriteProfileString(
        "Dialog", "MPSFile", platform::PathToUtf8(folder / (std::string(1030, 'x') + ".mps")));
    test.Open();
    int opened = 0;
    test.session.toolkit.SetFileDialogRunner(
        [&opened](OPENFILENAMEW& request, FileDialogKind kind) {
            ++opened;
            return RunAnsweredFileDialog(request, kind, {.cancel = true});
        });
    Click(ControlId::Convert);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(test.session.toolkit.Result(), std::nullopt);
}

// Saved as GPX through the system's save dialog, as a user picks the type and types the name:
// each file is what `pelagor-cli gpx` writes, with or without a reference.
TEST_F(Win32WindowTest, ConvertWritesGpx) {
    const std::string archive = File(u8"archive.mps", testkit::MpsFile(testkit::SampleReference()));
    for (const auto& [from, withReference, type, typed, written] :
         {std::tuple{source, true, 0, L"a.gpx", L"a.gpx"},  // the MapSource type, a GPX name
          {source, true, 1, L"b", L"b.gpx"},                // the GPX type, no extension
          {source, false, 0, L"c", L"c.gpx"},               // no reference: GPX is the only type
          {archive, true, 0, L"d", L"d.gpx"}}) {            // a MapSource source: likewise
        TestWindow window;
        window.session.startSource = from;  // as `pelagor.exe FILE` starts
        window.profile.WriteProfileString("Dialog", "TemplateMPSFile",
                                          withReference ? reference : "");
        window.profile.WriteProfileString("Dialog", "MPSFile",
                                          platform::PathToUtf8(folder / "start.gpx"));
        window.Open();
        std::wstring filter;
        window.session.toolkit.SetFileDialogRunner(
            // Copies: a lambda of clang 14 cannot name a structured binding.
            [&, pick = type, name = std::wstring(typed)](OPENFILENAMEW& request,
                                                         FileDialogKind kind) {
                filter = request.lpstrFilter;
                return RunAnsweredFileDialog(request, kind, {false, pick, name});
            });
        ::SendMessageW(window.Item(ControlId::Convert), BM_CLICK, 0, 0);
        EXPECT_EQ(filter, withReference && from == source ? L"Garmin MapSource Files (*.mps)"
                                                          : L"GPX 1.1 Files (*.gpx)");
        EXPECT_EQ(window.session.toolkit.Result(), IDOK) << typed;
        EXPECT_EQ(window.profile.GetProfileString("Dialog", "MPSFile", ""),
                  platform::PathToUtf8(folder / written));
        EXPECT_EQ(testkit::ReadBytes(folder / written), GpxOf(from));
    }
}

// Enter ends the dialog as OK unless a push button has the focus, which it presses instead;
// Escape ends it as Cancel.
TEST(Win32WindowKeys, EndTheDialogAsTheDialogManagerSays) {
    for (const auto& [focus, key, result] :
         {std::tuple{ControlId::WaypointList, VK_RETURN, IDOK},
          {ControlId::ListWaypoints, VK_RETURN, 0},  // 0: still open
          {ControlId::SourcePath, VK_ESCAPE, IDCANCEL}}) {
        TestWindow test;
        test.Open();
        // As Tab would move it: a push button with the focus becomes the default one.
        ::SendMessageW(test.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(test.Item(focus)),
                       TRUE);
        MSG message{::GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(key), 0, 0, {}};
        ::IsDialogMessageW(test.window, &message);
        // The dialog manager posts some of its commands.
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            ::DispatchMessageW(&message);
        }
        EXPECT_EQ(test.session.toolkit.Result().value_or(0), result) << key;
    }
}

}  // namespace
}  // namespace pelagor::app::testing
