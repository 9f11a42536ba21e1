// Decoding names from the legacy code pages: what decodes, and that every byte that does not
// shows as U+FFFD rather than vanishing.

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace pelagor {
namespace {

std::string Repeat(std::string_view text, std::size_t times) {
    std::string result;
    for (std::size_t index = 0; index < times; ++index) {
        result += text;
    }
    return result;
}

TEST(CodePage, DecodesToUtf8) {
    const std::string_view kBad = "\xEF\xBF\xBD";  // U+FFFD
    const struct {
        std::string bytes;
        const char* encoding;
        std::string utf8;
    } cases[] = {
        {"\xA5\x78\xA5\x5F"
         "101",
         "cp950",
         "\xE5\x8F\xB0\xE5\x8C\x97"
         "101"},  // 台北101
        {"\xA5\x78\xA5\x5F", "CP950", "\xE5\x8F\xB0\xE5\x8C\x97"},
        {"", "cp950", ""},
        {"X\xA5\x78\xA5", "cp950", "X\xE5\x8F\xB0" + std::string(kBad)},  // cut after a lead byte
        {"\xA5 A", "cp950", std::string(kBad) + " A"},
        {"\xFF\xFF", "cp950", Repeat(kBad, 2)},
        {"caf\xE9", "cp1252", "caf\xC3\xA9"},
        {"caf\xE9", "utf-8", "caf" + std::string(kBad)},
        // Longer than one conversion step, valid and invalid.
        {Repeat("\xA5\x78", 300), "cp950", Repeat("\xE5\x8F\xB0", 300)},
        {Repeat("\xFF", 300), "cp950", Repeat(kBad, 300)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.encoding << " " << c.bytes);
        EXPECT_TRUE(platform::IsEncodingSupported(c.encoding));
        EXPECT_EQ(platform::DecodeToUtf8(c.bytes, c.encoding), c.utf8);
    }
}

TEST(CodePage, UnknownEncodingIsNotSupported) {
    EXPECT_TRUE(platform::IsEncodingSupported(platform::kDefaultEncoding));
    EXPECT_FALSE(platform::IsEncodingSupported("no-such-code-page"));
}

}  // namespace
}  // namespace pelagor
