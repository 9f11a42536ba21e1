// The file header: its signature, first record and 'A' record.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"
#include "mapsource/MpsHeader.h"

namespace pelagor::testkit {
namespace {

TEST(MpsHeaderTest, ParseHeaderChecksSignatureFirstRecordAndA) {
    const Bytes sig{'M', 's', 'R', 'c', 'd', 0};
    Bytes noNul = sig;
    noNul[5] = ' ';
    const Bytes fiveByteA = MpsABody(7, "", "", "");
    const struct {
        const char* name;
        Bytes bytes;
        std::string_view rule;  // empty when it parses
    } cases[] = {
        {"five bytes",
         {'M', 's', 'R', 'c', 'd'},
         "file shorter than the 6-byte MapSource signature"},
        {"sixth byte not NUL", Framed(noNul, {{'D', {1}}, {'A', fiveByteA}}),
         "not a MapSource file (signature)"},
        {"second record not A", Framed(sig, {{'D', {1}}, {'W', fiveByteA}}),
         "second header record is not an 'A' record"},
        {"A body of 4 bytes", Framed(sig, {{'D', {1}}, {'A', {7, 0, 0, 0}}}),
         "'A' record text has no terminator"},
        {"A body of 1 byte", Framed(sig, {{'D', {1}}, {'A', {7}}}),
         "'A' record shorter than its 2-byte value"},
        {"A body of 5 bytes", Framed(sig, {{'\x01', {1}}, {'A', fiveByteA}}), ""},
        {"A with bytes after the texts", Framed(sig, {{'D', {1}}, {'A', {7, 0, 'x', 0, 0, 0, 9}}}),
         ""},
    };
    for (const auto& c : cases) {
        MpsHeader header;
        ReadCursor cursor(c.bytes);
        MpsFault fault;
        EXPECT_EQ(header.ParseHeader(cursor, &fault), c.rule.empty()) << c.name;
        EXPECT_EQ(fault.rule, c.rule) << c.name;
        EXPECT_TRUE(!c.rule.empty() || cursor.AtEnd()) << c.name;  // a header read whole
    }
}

// The version that wrote the file, and the format letters, from the first record.
TEST(MpsHeaderTest, VersionFromTheFirstRecord) {
    using enum MpsVersion;
    const struct {
        char type;
        Bytes body;
        const char* format;
        MpsVersion version;
    } cases[] = {
        {'D', {'d', 0}, "Dd", V3},      {'D', {'e'}, "De", V4},
        {'D', {'h', 0}, "Dh", V4},      {'D', {'i', 0}, "Di", V5},
        {'D', {'z'}, "Dz", V5},         {'D', {'c', 0}, "Dc", Unknown},
        {'D', {'G', 0}, "DG", Unknown}, {'D', {'1', 0}, "", Unknown},
        {'X', {'g', 0}, "", Unknown},
    };
    for (const auto& c : cases) {
        MpsHeader header;
        header.firstRecord = Record(c.type, c.body);
        EXPECT_EQ(header.Format(), c.format) << c.format;
        EXPECT_EQ(header.Version(), c.version) << c.format;
    }
}

}  // namespace
}  // namespace pelagor::testkit
