// The Windows window driven by messages as a user's clicks, typing, keys and drops arrive: what
// is specific to the Win32 view (controls, registry, file-dialog requests, keys, drops). The
// dialog's logic is ConverterDialogTest's. The file dialogs answer from the test.

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "TestWindow.h"
// DROPFILES, after windows.h
#include <shlobj.h>

#include "builder/MpsFiles.h"
#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "platform/PathText.h"
#include "platform/Utf16.h"

namespace pelagor::app::testing {
namespace {

using platform::Utf8ToUtf16;

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
    return text + L"| " + std::to_wstring(request.Flags) + L" " + request.lpstrInitialDir + L" " +
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
                if (answers.empty()) {
                    return false;
                }
                wcsncpy(request.lpstrFile, Utf8ToUtf16(answers.front()).c_str(), request.nMaxFile);
                answers.pop_front();
                return true;
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
    // The list's lines, each ended by '|'.
    std::wstring Lines() {
        std::wstring lines;
        HWND list = test.Item(ControlId::WaypointList);
        for (WPARAM i = 0; i < static_cast<WPARAM>(::SendMessageW(list, LB_GETCOUNT, 0, 0)); ++i) {
            std::wstring line(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)),
                              L'\0');
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
            lines += line + L"|";
        }
        return lines;
    }
    void Type(ControlId id, const std::string& text) {
        ::SendMessageW(test.Item(id), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(Utf8ToUtf16(text).c_str()));
    }
    void Click(ControlId id) { ::SendMessageW(test.Item(id), BM_CLICK, 0, 0); }
    [[nodiscard]] std::string Stored(std::string_view key) const {
        return test.profile.GetProfileString("Dialog", key, "(none)");
    }
    void Store(std::string_view key, const std::string& value) const {
        test.profile.WriteProfileString("Dialog", key, value);
    }

    testkit::TempDir folder;
    TestWindow test;
    std::deque<std::string> answers;
    std::vector<std::wstring> calls;
    std::string source = File(u8"台北 trip.wtr", testkit::WtrFile(kWaypoints, {{"DAY", {{}}}}));
    std::string reference = File(u8"reference.mps", testkit::MpsFile(testkit::SampleReference()));
};

// A typed path takes effect through button 1007 alone; the names come out of Big5.
TEST_F(Win32WindowTest, FirstStartShowsNothingThenListsATypedPath) {
    test.Open();
    EXPECT_EQ(Text(ControlId::SourcePath) + Text(ControlId::SourceWaypointCount), L"");
    EXPECT_NE(::SendMessageW(test.window, WM_QUERYDRAGICON, 0, 0), 0);
    EXPECT_EQ(::GetFocus(), test.Item(ControlId::SourcePath));
    Type(ControlId::SourcePath, source);
    EXPECT_EQ(Lines(), L"");
    Click(ControlId::ListWaypoints);
    EXPECT_EQ(Lines(), L"台北  12|HOME 123|山頂 3952|");
    EXPECT_EQ(Stored("WTRFile"), source);
}

// Settings read from the registry and the command line's source, then the save dialog asked for
// as the output setting says: the dialog ends as OK.
TEST_F(Win32WindowTest, RestoresTheSettingsAndTheCommandLineSourceThenConverts) {
    Store("WTRFile", platform::PathToUtf8(folder / "gone.wtr"));
    Store("TemplateMPSFile", reference);
    Store("MPSFile", "D:\\last\\out.mps");
    test.session.startSource = source;
    test.Open();
    EXPECT_EQ(Text(ControlId::SourcePath), Utf8ToUtf16(source));
    EXPECT_EQ(Text(ControlId::ReferencePath), Utf8ToUtf16(reference));
    EXPECT_EQ(Text(ControlId::SourceWaypointCount) + Text(ControlId::SourceTrackCount) +
                  Text(ControlId::ReferenceWaypointCount) + Text(ControlId::ReferenceTrackCount),
              L"3131");
    const std::string output = platform::PathToUtf8(folder / u8"轉出.mps");
    answers.push_back(output);
    Click(ControlId::Convert);
    EXPECT_EQ(calls, std::vector<std::wstring>{L"save Garmin MapSource Files (*.mps)|*.mps|| 2052 "
                                               L"D:\\last\\out.mps mps []"});
    EXPECT_EQ(Stored("MPSFile"), output);
    EXPECT_EQ(test.session.toolkit.Result(), IDOK);
    EXPECT_FALSE(::IsWindowVisible(test.window));
}

// Cancelled first (nothing changes), then accepted; each button fills its own field.
TEST_F(Win32WindowTest, BrowseAsksThenFillsTheField) {
    test.Open();
    Type(ControlId::SourcePath, "C:\\start\\here.txt");
    Click(ControlId::BrowseSource);
    EXPECT_EQ(Text(ControlId::SourcePath), L"C:\\start\\here.txt");
    answers = {source, reference};
    Click(ControlId::BrowseSource);
    Click(ControlId::BrowseReference);
    EXPECT_EQ(Text(ControlId::SourcePath) + L"|" + Text(ControlId::ReferencePath),
              Utf8ToUtf16(source + "|" + reference));
    const std::wstring call =
        L"open Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo|| 2052 C:\\start\\here.txt - []";
    EXPECT_EQ(calls, (std::vector{call, call}));
}

// As the shell hands files over: a DROPFILES block with the wide paths after it.
TEST_F(Win32WindowTest, DroppedFilesOpenByTheirExtension) {
    test.Open();
    const std::wstring list = Utf8ToUtf16(platform::PathToUtf8(folder / "notes.txt") + '\0' +
                                          reference + '\0' + source + '\0' + '\0');
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SendMessageW(test.window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(Text(ControlId::SourcePath), Utf8ToUtf16(source));
    EXPECT_EQ(Stored("TemplateMPSFile"), reference);
    EXPECT_TRUE(calls.empty());
}

// Enter ends the dialog as OK unless a push button has the focus, which it presses instead;
// Escape and the close box end it as Cancel.
TEST(Win32WindowKeys, EndTheDialogAsTheDialogManagerSays) {
    const struct {
        ControlId focus;
        UINT message;
        WPARAM key;
        int result;  // 0: still open
    } cases[] = {
        {ControlId::WaypointList, WM_KEYDOWN, VK_RETURN, IDOK},
        {ControlId::ListWaypoints, WM_KEYDOWN, VK_RETURN, 0},
        {ControlId::SourcePath, WM_KEYDOWN, VK_ESCAPE, IDCANCEL},
        {ControlId::SourcePath, WM_SYSCOMMAND, SC_CLOSE, IDCANCEL},
    };
    for (const auto& c : cases) {
        TestWindow test;
        test.Open();
        // As Tab would move it: a push button with the focus becomes the default one.
        ::SendMessageW(test.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(test.Item(c.focus)),
                       TRUE);
        MSG message{::GetFocus(), c.message, c.key, 0, 0, {}};
        if (c.message == WM_KEYDOWN) {
            ::IsDialogMessageW(test.window, &message);
        } else {
            ::SendMessageW(test.window, c.message, c.key, 0);
        }
        // The dialog manager posts some of its commands.
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            ::DispatchMessageW(&message);
        }
        EXPECT_EQ(test.session.toolkit.Result().value_or(0), c.result) << c.key;
    }
}

TEST(Win32StartSource, IsTheFirstArgumentMadeFull) {
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(::GetCurrentDirectoryW(MAX_PATH, folder.data()));
    folder += folder.back() == L'\\' ? L"" : L"\\";
    for (const auto& [commandLine, expected] :
         {std::pair<const wchar_t*, std::wstring>{L"pelagor.exe \"\"", L""},
          {L"pelagor.exe 台北.wtr", folder + L"台北.wtr"},
          {L"\"C:\\Programs\\pelagor.exe\" \"D:\\GPS logs\\a.evo\" more",
           L"D:\\GPS logs\\a.evo"}}) {
        EXPECT_EQ(Utf8ToUtf16(StartSource(commandLine)), expected) << commandLine;
    }
}

}  // namespace
}  // namespace pelagor::app::testing
