// Record framing, the file header and the shared record-list shape.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"
#include "mapsource/MapSegments.h"
#include "mapsource/MpsHeader.h"

namespace pelagor::testkit {
namespace {

Bytes Signature() {
    ByteBuilder file;
    MpsSignature(file);
    return file.Take();
}

Bytes WithRecords(Bytes head, const std::vector<std::pair<char, Bytes>>& records) {
    ByteBuilder file;
    file.Bytes(head);
    for (const auto& [type, body] : records) {
        MpsFrame(file, type, body);
    }
    return file.Take();
}

const Bytes kFiveByteA = MpsABody(7, "", "", "");

struct ReadCase {
    const char* name;
    Bytes bytes;
    bool readable;
    std::size_t positionAfter;
};

TEST(ReadRecord, ReadsOnlyWholeFramesWithABody) {
    const std::vector<ReadCase> cases = {
        {"four bytes", {1, 0, 0, 0}, false, 0},
        {"zero length", {0, 0, 0, 0, 'W', 9}, false, 5},
        {"length past the end", {3, 0, 0, 0, 'W', 1, 2}, false, 5},
        {"one-byte body", {1, 0, 0, 0, 'W', 9}, true, 6},
        {"body and more", {2, 0, 0, 0, 'L', 8, 9, 7}, true, 7},
    };
    for (const ReadCase& c : cases) {
        ReadCursor cursor(c.bytes);
        MpsRecord record;
        EXPECT_EQ(ReadRecord(cursor, record), c.readable) << c.name;
        EXPECT_EQ(cursor.position(), c.positionAfter) << c.name;
        EXPECT_EQ(record.body != nullptr, c.readable) << c.name;
        if (c.readable) {
            EXPECT_TRUE(
                std::equal(record.Body().begin(), record.Body().end(), c.bytes.begin() + 5));
        }
    }
}

struct HeaderCase {
    const char* name;
    Bytes bytes;
    bool parses;
    std::string_view rule;  // empty when it parses
};

TEST(MpsHeader, ParseHeaderChecksSignatureFirstRecordAndA) {
    Bytes lowerCase = Signature();
    lowerCase[0] = 'm';
    Bytes noNul = Signature();
    noNul[5] = ' ';
    const std::vector<HeaderCase> cases = {
        {"five bytes",
         {'M', 's', 'R', 'c', 'd'},
         false,
         "file shorter than the 6-byte MapSource signature"},
        {"letters in another case", WithRecords(lowerCase, {{'D', {1}}, {'A', kFiveByteA}}), false,
         "not a MapSource file (signature)"},
        {"sixth byte not NUL", WithRecords(noNul, {{'D', {1}}, {'A', kFiveByteA}}), false,
         "not a MapSource file (signature)"},
        {"signature only", Signature(), false, "fewer than 5 bytes left for a record frame"},
        {"second record not A", WithRecords(Signature(), {{'D', {1}}, {'W', kFiveByteA}}), false,
         "second header record is not an 'A' record"},
        {"A body of 4 bytes", WithRecords(Signature(), {{'D', {1}}, {'A', {7, 0, 0, 0}}}), false,
         "'A' record text has no terminator"},
        {"A body of 1 byte", WithRecords(Signature(), {{'D', {1}}, {'A', {7}}}), false,
         "'A' record shorter than its 2-byte value"},
        {"A body of 5 bytes", WithRecords(Signature(), {{'D', {1}}, {'A', kFiveByteA}}), true, ""},
        {"any first type", WithRecords(Signature(), {{'\x01', {1}}, {'A', kFiveByteA}}), true, ""},
        {"A with bytes after the texts",
         WithRecords(Signature(), {{'D', {1}}, {'A', {7, 0, 'x', 0, 0, 0, 0xAA, 0xBB}}}), true, ""},
    };
    for (const HeaderCase& c : cases) {
        MpsHeader header;
        ReadCursor cursor(c.bytes);
        MpsFault fault;
        EXPECT_EQ(header.ParseHeader(cursor, &fault), c.parses) << c.name;
        if (!c.parses) {
            EXPECT_EQ(fault.rule, c.rule) << c.name;
        } else {
            EXPECT_TRUE(cursor.AtEnd()) << c.name;
        }
    }
}

TEST(MpsHeader, OneByteFirstRecordAndFiveByteAEmit22BytesAsRead) {
    const Bytes file = WithRecords(Signature(), {{'D', {'g'}}, {'A', kFiveByteA}});
    MpsHeader header;
    ReadCursor cursor(file);
    ASSERT_TRUE(header.ParseHeader(cursor));
    EXPECT_EQ(header.aValue, 7);
    RecordCursor sizing;
    ASSERT_TRUE(header.EmitHeader(sizing));
    EXPECT_EQ(sizing.total(), 22U);
    Bytes out(22);
    RecordCursor writing(out);
    ASSERT_TRUE(header.EmitHeader(writing));
    EXPECT_EQ(writing.total(), 22U);
    EXPECT_EQ(out, file);
}

TEST(EmitRecord, RecordWithoutBodyFailsAfterItsFrameIsCounted) {
    MpsRecord empty;
    empty.length = 3;
    empty.type = 'W';
    RecordCursor sizing;
    EXPECT_FALSE(EmitRecord(sizing, empty));
    EXPECT_EQ(sizing.total(), 5U);
}

TEST(RecordCursor, WritingPassNeverPassesItsTarget) {
    const MpsRecord record = Record('W', {1, 2, 3, 4});
    Bytes out(6);  // two bytes short
    RecordCursor writing(out);
    EXPECT_TRUE(EmitRecord(writing, record));
    EXPECT_FALSE(writing.withinTarget());
    EXPECT_EQ(writing.total(), 9U);
}

TEST(RecordCursor, TotalsOf4GiBAndMoreDoNotWrap) {
    // The counting pass reads only lengths, so records that claim large bodies show the
    // arithmetic without 4 GiB of memory.
    MpsRecord large = Record('L', {0});
    large.length = 0xFFFFFFFFU - 5U;  // 5 + length is exactly 2^32 - 1
    RecordCursor sizing;
    ASSERT_TRUE(EmitRecord(sizing, large));
    EXPECT_EQ(sizing.total(), kMaxOutputSize);
    ASSERT_TRUE(EmitRecord(sizing, large));
    EXPECT_EQ(sizing.total(), 2 * kMaxOutputSize);
    EXPECT_GT(sizing.total(), kMaxOutputSize);
}

// The 'L' list stands for every list here: the run logic is shared.
Bytes Segment() {
    return MpsSegmentBody({1, 2, "a", "b", "c", 3, 4, {}});
}

TEST(ParseList, RunEndsAtAnotherTypeOrAnUnreadableRecord) {
    struct Case {
        const char* name;
        Bytes bytes;
        std::int32_t count;
        std::size_t positionAfter;
    };
    const Bytes one = WithRecords({}, {{'L', Segment()}});
    const Bytes two = WithRecords({}, {{'L', Segment()}, {'L', Segment()}});
    Bytes pastEnd = two;
    ByteBuilder tail;
    tail.U32(1000).U8('L').Fill(10);
    pastEnd.insert(pastEnd.end(), tail.bytes().begin(), tail.bytes().end());
    Bytes zeroLength = two;
    ByteBuilder zero;
    zero.U32(0).U8('L').Bytes(Segment());
    zeroLength.insert(zeroLength.end(), zero.bytes().begin(), zero.bytes().end());
    const std::vector<Case> cases = {
        {"empty", {}, 0, 0},
        {"another type first", WithRecords({}, {{'W', Segment()}, {'L', Segment()}}), 0, 0},
        {"two then another type", WithRecords(two, {{'V', {1}}, {'L', Segment()}}), 2, two.size()},
        {"two then a length past the end", pastEnd, 2, two.size()},
        {"two then a zero length", zeroLength, 2, two.size()},
        {"two then four stray bytes", WithRecords(two, {}), 2, two.size()},
        {"one", one, 1, one.size()},
    };
    for (const Case& c : cases) {
        MapSegmentList list;
        ReadCursor cursor(c.bytes);
        EXPECT_TRUE(list.ParseList(cursor)) << c.name;
        EXPECT_EQ(list.recordCount, c.count) << c.name;
        EXPECT_EQ(list.Views().size(), static_cast<std::size_t>(c.count)) << c.name;
        EXPECT_EQ(cursor.position(), c.positionAfter) << c.name;
    }
}

TEST(ParseList, BadBodyFailsNamingTheRecordAndItsOffset) {
    const Bytes good = Segment();
    const Bytes file = WithRecords({}, {{'L', good}, {'L', {1, 2, 3, 4, 5, 6, 7, 8}}});
    MapSegmentList list;
    ReadCursor cursor(file);
    MpsFault fault;
    EXPECT_FALSE(list.ParseList(cursor, &fault));
    EXPECT_EQ(fault.recordIndex, 1U);
    EXPECT_EQ(fault.offset, 5 + good.size());
    EXPECT_EQ(fault.type, std::optional<std::uint8_t>('L'));
    EXPECT_EQ(fault.rule, "map segment text has no terminator");
    EXPECT_EQ(list.recordCount, 2);  // the counted run stays, safe to destroy
}

}  // namespace
}  // namespace pelagor::testkit
