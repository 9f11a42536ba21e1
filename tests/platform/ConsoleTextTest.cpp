// Text for a Windows console: each character shown once, whatever the console takes a call and
// wherever the bytes are cut.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ConsoleText.h"
#include "platform/Utf16.h"

namespace pelagor::platform {
namespace {

// What a console that takes at most `perCall` units a call shows of `pieces` written in turn,
// with "!" after it when a write failed (the console fails past `limit` units).
std::wstring Shown(const std::vector<std::string>& pieces, std::uint32_t perCall,
                   std::size_t limit = std::wstring::npos) {
    std::wstring shown;
    ConsoleText console([&](const wchar_t* text, std::uint32_t count, std::uint32_t& written) {
        written = std::min(count, perCall);
        if (shown.size() + written > limit) {
            return false;
        }
        shown.append(text, written);
        return true;
    });
    const bool done =
        std::ranges::all_of(pieces, [&](const auto& piece) { return console.Write(piece); }) &&
        console.Finish();
    return done ? shown : shown + L"!";
}

TEST(ConsoleText, ShowsEachCharacterOnce) {
    // Three bytes a character (a Chinese name) and four (a map, two UTF-16 units).
    const std::string text = "\xE8\x88\xAA\xE8\xB7\xA1 trip \xF0\x9F\x97\xBA\n";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        for (const std::uint32_t perCall : {1U, 2U, 7U, 1U << 20U}) {
            EXPECT_EQ(Shown({text.substr(0, cut), text.substr(cut)}, perCall), Utf8ToUtf16(text))
                << cut << " " << perCall;
        }
    }
    EXPECT_EQ(Shown({std::string(20000, 'x')}, 1U << 20U), std::wstring(20000, L'x'));
    EXPECT_EQ(Shown({"a\xE8\x88"}, 1), L"a\uFFFD");    // a character that never ends
    EXPECT_EQ(Shown({"a\xE8", "b"}, 1), L"a\uFFFDb");  // one cut short by the next
    EXPECT_EQ(Shown({"abc"}, 1, 1), L"a!");            // the console fails
}

}  // namespace
}  // namespace pelagor::platform
