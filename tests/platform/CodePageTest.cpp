#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

// Both builds run these tables: the Windows build decodes through its code pages and the Linux
// build through iconv, and a name must read the same on either. Single bytes and lead-trail pairs
// are all in the digests below; the table holds longer names, aliases and past faults.

namespace pelagor::platform {
namespace {

using namespace std::string_view_literals;

TEST(CodePageTest, NamesDecodeAlikeOnEveryBuild) {
    const struct {
        std::string_view bytes, encoding, utf8;
    } cases[] = {
        {"\xA5\x78\xA5\x5F", "cp950", "台北"},
        {"\xA5\x78\xA5\x5F", "big5", "台北"},
        {"WP\xA4\x40"
         "1",
         "cp950", "WP一1"},
        {"AB\xA4", "cp950", "AB\uFFFD"},                // a lead byte cut off by the end
        {"\xA4 X", "cp950", "\uFFFD X"},                // the space after a lead byte survives
        {"\xA4\x7F\xA4\x40", "cp950", "\uFFFD\x7F一"},  // decoding goes on after DEL
        {"\xFA\x40\x81\xA1", "cp950", "\uFFFD@\uFFFD\uFFFD"},  // user-defined: no meaning here
        {"A\0B"sv, "cp950", "A\0B"sv},
        {"", "cp950", ""},
        {"\xE5\x8F\xB0", "utf-8", "台"},
        {"A\xE5\x8F", "UTF-8", "A\uFFFD\uFFFD"},
        {"\xC0\xAF", "utf8", "\uFFFD\uFFFD"},             // overlong slash
        {"\xED\xA0\x80", "utf-8", "\uFFFD\uFFFD\uFFFD"},  // a surrogate
        // glibc passes this through; the JSON that carries the name must stay valid UTF-8.
        {"\xF4\x90\x80\x80", "utf-8", "\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"a\x81z", "windows-1252", "a\uFFFDz"},
        {"\xAA\xA1", "gbk", "\uFFFD\uFFFD"},  // GBK's user-defined area
        // glibc's UHC converter reports this pair invalid only after consuming both bytes; the
        // decoder once stepped past the end of the name on it.
        {"\xA2\xE8", "cp949", "\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeToUtf8(c.bytes, c.encoding), c.utf8) << c.encoding << " " << c.utf8;
    }
    for (const std::string_view name :
         {"Cp950", "BIG5", "big-5", "cp936", "gbk", "cp932", "ascii"}) {
        EXPECT_TRUE(IsEncodingSupported(name)) << name;
    }
    EXPECT_FALSE(IsEncodingSupported("no-such-encoding"));
    EXPECT_FALSE(IsEncodingSupported("cp99999"));
}

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
                                         DigestCase{"utf-8", 11685067694286912805ULL}),
                         // Named by the encoding: the parameter's bytes hold a pointer, which
                         // would give the test another name in every build.
                         [](const auto& param) {
                             std::string name(param.param.encoding);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace pelagor::platform
