#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

// Both builds run these tables: the Windows build decodes through its code pages and the Linux
// build through iconv, and a name must read the same on either.

namespace pelagor::platform {
namespace {

using namespace std::string_view_literals;

TEST(CodePageTest, NamesDecodeAlikeOnEveryBuild) {
    const struct {
        std::string_view bytes, encoding, utf8;
    } cases[] = {
        {"WP\xA5\x78\xA5\x5F", "big5", "WP台北"},
        {"\xA4 X", "cp950", "\uFFFD X"},                // the space after a lead byte survives
        {"\xA4\x7F\xA4\x40", "cp950", "\uFFFD\x7F一"},  // decoding goes on after DEL
        {"A\0B"sv, "cp950", "A\0B"sv},
        // glibc passes this through; the JSON that carries the name must stay valid UTF-8.
        {"\xF4\x90\x80\x80", "utf8", "\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        // glibc's UHC converter reports this pair invalid only after consuming both bytes; the
        // decoder once stepped past the end of the name on it.
        {"\xA2\xE8", "cp949", "\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeToUtf8(c.bytes, c.encoding), c.utf8) << c.encoding << " " << c.utf8;
    }
    EXPECT_TRUE(IsEncodingSupported("Cp950") && IsEncodingSupported("big-5"));
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
        mix(DecodeToUtf8(std::string(1, static_cast<char>(first)), encoding));
        for (unsigned second = 0x40; first >= 0x81 && second < 256; ++second) {
            mix(DecodeToUtf8(std::string{static_cast<char>(first), static_cast<char>(second)},
                             encoding));
        }
    }
    return digest;
}

TEST(CodePageTest, EveryByteSequenceDecodesAlikeOnEveryBuild) {
    const std::pair<std::string_view, std::uint64_t> cases[] = {
        {"cp950", 1122946671421655532ULL}, {"cp936", 17495689292189599802ULL},
        {"cp932", 694320500510725267ULL},  {"cp949", 13685681771644297382ULL},
        {"cp1252", 358261083928783135ULL}, {"utf-8", 11685067694286912805ULL},
    };
    for (const auto& [encoding, digest] : cases) {
        EXPECT_EQ(DigestOfEverySequence(encoding), digest) << encoding;
    }
}

}  // namespace
}  // namespace pelagor::platform
