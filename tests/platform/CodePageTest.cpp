#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "builder/ByteBuilder.h"
#include "platform/CodePage.h"

// Both builds run these tables: the Windows build decodes through its code pages and the Linux
// build through iconv, and a name must read the same on either.

namespace pelagor::platform {
namespace {

using testkit::ByteBuilder;

std::string Text(ByteBuilder bytes) {
    const std::vector<std::uint8_t>& data = bytes.bytes();
    return {data.begin(), data.end()};
}

constexpr std::string_view kBad = "\xEF\xBF\xBD";  // U+FFFD

struct NameCase {
    const char* what;
    std::string bytes;
    std::string_view encoding;
    std::string utf8;
};

class DecodeName : public testing::TestWithParam<NameCase> {};

TEST_P(DecodeName, GivesTheSameTextOnEveryBuild) {
    const NameCase& c = GetParam();
    EXPECT_EQ(DecodeToUtf8(c.bytes, c.encoding), c.utf8) << c.what;
}

const std::string kTaipei = Text(ByteBuilder().Bytes({0xA5, 0x78, 0xA5, 0x5F}));  // 台北

INSTANTIATE_TEST_SUITE_P(
    Big5Names, DecodeName,
    testing::Values(
        NameCase{"two characters", kTaipei, "cp950", "\xE5\x8F\xB0\xE5\x8C\x97"},
        NameCase{"upper-case name of the code page", kTaipei, "CP950", "\xE5\x8F\xB0\xE5\x8C\x97"},
        NameCase{"Big5 by its own name", kTaipei, "big5", "\xE5\x8F\xB0\xE5\x8C\x97"},
        NameCase{"ASCII between Big5", Text(ByteBuilder().Text("WP").Bytes({0xA4, 0x40}).Text("1")),
                 "cp950",
                 "WP\xE4\xB8\x80"
                 "1"},
        NameCase{"a backslash as the trail byte", Text(ByteBuilder().Bytes({0xA4, 0x5C})), "cp950",
                 "\xE4\xB9\x88"},
        NameCase{"the euro sign of code page 950", Text(ByteBuilder().Bytes({0xA3, 0xE1})), "cp950",
                 "\xE2\x82\xAC"},
        NameCase{"an ETEN extension", Text(ByteBuilder().Bytes({0xF9, 0xFE})), "cp950",
                 "\xE2\x96\x93"},
        NameCase{"a lead byte cut off by the end of the name",
                 Text(ByteBuilder().Text("AB").Bytes({0xA4})), "cp950", "AB" + std::string(kBad)},
        NameCase{"a lead byte followed by a space: the space survives",
                 Text(ByteBuilder().Bytes({0xA4, 0x20}).Text("X")), "cp950",
                 std::string(kBad) + " X"},
        NameCase{"a lead byte followed by DEL: decoding goes on after it",
                 Text(ByteBuilder().Bytes({0xA4, 0x7F, 0xA4, 0x40})), "cp950",
                 std::string(kBad) + "\x7F\xE4\xB8\x80"},
        NameCase{"0xFF is no character", Text(ByteBuilder().Bytes({0xFF}).Text("A")), "cp950",
                 std::string(kBad) + "A"},
        NameCase{"0x80 stands for itself", Text(ByteBuilder().Bytes({0x80})), "cp950", "\xC2\x80"},
        NameCase{"user-defined characters have no meaning here",
                 Text(ByteBuilder().Bytes({0xFA, 0x40, 0x81, 0xA1})), "cp950",
                 std::string(kBad) + "@" + std::string(kBad) + std::string(kBad)},
        NameCase{"a NUL inside a name is kept", Text(ByteBuilder().Text("A").U8(0).Text("B")),
                 "cp950", std::string("A\0B", 3)},
        NameCase{"an empty name", "", "cp950", ""}));

INSTANTIATE_TEST_SUITE_P(
    OtherEncodings, DecodeName,
    testing::Values(
        NameCase{"UTF-8 as it is", "\xE5\x8F\xB0", "utf-8", "\xE5\x8F\xB0"},
        NameCase{"UTF-8 cut off", "A\xE5\x8F", "UTF-8",
                 "A" + std::string(kBad) + std::string(kBad)},
        NameCase{"UTF-8 overlong slash", "\xC0\xAF", "utf8", std::string(kBad) + std::string(kBad)},
        NameCase{"UTF-8 surrogate", "\xED\xA0\x80", "utf-8",
                 std::string(kBad) + std::string(kBad) + std::string(kBad)},
        // glibc passes these through; the JSON that carries the name must stay valid UTF-8.
        NameCase{"UTF-8 beyond U+10FFFF", "\xF4\x90\x80\x80", "utf-8",
                 std::string(kBad) + std::string(kBad) + std::string(kBad) + std::string(kBad)},
        NameCase{"UTF-8 of five bytes", "\xF8\x88\x80\x80\x80", "utf-8",
                 std::string(kBad) + std::string(kBad) + std::string(kBad) + std::string(kBad) +
                     std::string(kBad)},
        NameCase{"code page 1252 e acute and euro", "\xE9\x80", "cp1252", "\xC3\xA9\xE2\x82\xAC"},
        NameCase{"an unassigned position of code page 1252", "a\x81z", "windows-1252",
                 "a" + std::string(kBad) + "z"},
        NameCase{"ASCII has no upper half", "\xC1", "ascii", std::string(kBad)},
        NameCase{"Latin-1 maps every byte", "\x81\xFF", "latin1", "\xC2\x81\xC3\xBF"},
        NameCase{"GBK's user-defined area", "\xAA\xA1", "gbk",
                 std::string(kBad) + std::string(kBad)},
        // glibc's UHC converter reports this pair invalid only after consuming both bytes; the
        // decoder once stepped past the end of the name on it.
        NameCase{"code page 949 at the end of row A2", "\xA2\xE8", "cp949",
                 std::string(kBad) + std::string(kBad)}));

struct SpellingCase {
    std::string_view name;
    bool supported;
};

class EncodingSpelling : public testing::TestWithParam<SpellingCase> {};

TEST_P(EncodingSpelling, IsAcceptedAlike) {
    EXPECT_EQ(IsEncodingSupported(GetParam().name), GetParam().supported) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, EncodingSpelling,
                         testing::Values(SpellingCase{"cp950", true}, SpellingCase{"CP950", true},
                                         SpellingCase{"Cp950", true}, SpellingCase{"big5", true},
                                         SpellingCase{"BIG5", true}, SpellingCase{"big-5", true},
                                         SpellingCase{"utf-8", true}, SpellingCase{"UTF-8", true},
                                         SpellingCase{"utf8", true}, SpellingCase{"cp1252", true},
                                         SpellingCase{"windows-1252", true},
                                         SpellingCase{"cp936", true}, SpellingCase{"gbk", true},
                                         SpellingCase{"cp932", true}, SpellingCase{"cp949", true},
                                         SpellingCase{"latin1", true}, SpellingCase{"ascii", true},
                                         SpellingCase{"no-such-encoding", false},
                                         SpellingCase{"cp99999", false}));

// A digest of the decoding of every byte and of every pair of a lead byte and a trail byte: one
// number that the two builds must both reach, so that no corner of a code page reads otherwise.
std::uint64_t DigestOfEverySequence(std::string_view encoding) {
    std::uint64_t digest = 14695981039346656037ULL;
    const auto mix = [&](std::string_view bytes) {
        for (const char c : bytes) {
            digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        digest = (digest ^ 0xFFU) * 1099511628211ULL;
    };
    for (unsigned first = 0; first < 256; ++first) {
        const std::string one(1, static_cast<char>(first));
        mix(DecodeToUtf8(one, encoding));
        if (first < 0x81) {
            continue;
        }
        for (unsigned second = 0x40; second < 256; ++second) {
            const std::string two{static_cast<char>(first), static_cast<char>(second)};
            mix(DecodeToUtf8(two, encoding));
        }
    }
    return digest;
}

struct DigestCase {
    std::string_view encoding;
    std::uint64_t digest;
};

class EveryByteSequence : public testing::TestWithParam<DigestCase> {};

TEST_P(EveryByteSequence, DecodesAlikeOnEveryBuild) {
    EXPECT_EQ(DigestOfEverySequence(GetParam().encoding), GetParam().digest) << GetParam().encoding;
}

INSTANTIATE_TEST_SUITE_P(CodePages, EveryByteSequence,
                         testing::Values(DigestCase{"cp950", 1122946671421655532ULL},
                                         DigestCase{"cp936", 17495689292189599802ULL},
                                         DigestCase{"cp932", 694320500510725267ULL},
                                         DigestCase{"cp949", 13685681771644297382ULL},
                                         DigestCase{"cp1252", 358261083928783135ULL},
                                         DigestCase{"utf-8", 11685067694286912805ULL}));

}  // namespace
}  // namespace pelagor::platform
