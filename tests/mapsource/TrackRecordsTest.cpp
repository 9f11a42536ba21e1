// Track records: the exact-length rule, entries with their points, and the rebuild on the first
// record's template or the built-in one.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"
#include "mapsource/MapSegments.h"
#include "mapsource/TrackRecords.h"

namespace pelagor::testkit {
namespace {

MpsTrack Track(std::string name, std::vector<MpsPoint> points = {},
               std::array<std::uint8_t, 5> head = {1, 0, 0, 0, 0}) {
    MpsTrack track;
    track.name = std::move(name);
    track.head = head;
    track.points = std::move(points);
    return track;
}

MpsPoint Point(std::int32_t latitude, std::int32_t longitude, double altitude, std::uint32_t time,
               std::uint8_t byte8 = 1, std::uint8_t byte17 = 1, std::uint8_t tail = 0) {
    return {latitude, longitude, altitude, time, byte8, byte17, tail};
}

std::unique_ptr<TrackRecordList> ListOf(const std::vector<MpsTrack>& tracks) {
    ByteBuilder file;
    for (const MpsTrack& track : tracks) {
        MpsFrame(file, 'T', MpsTrackBody(track));
    }
    auto list = std::make_unique<TrackRecordList>();
    ReadCursor cursor(file.bytes());
    EXPECT_TRUE(list->ParseList(cursor));
    return list;
}

std::vector<TrackEntry> Entries(const std::vector<SampleTrack>& tracks) {
    std::vector<TrackEntry> entries(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        SetName(entries[i].name, tracks[i].name);
        EXPECT_TRUE(MakeEntries(entries[i].points, entries[i].pointCount,
                                static_cast<std::int64_t>(tracks[i].points.size())));
        for (std::size_t j = 0; j < tracks[i].points.size(); ++j) {
            const SamplePoint& p = tracks[i].points[j];
            SetTrackPoint(entries[i].points[j], p.latitude, p.longitude, p.time, p.altitude);
        }
    }
    return entries;
}

TEST(TrackParseView, BodyLengthMustMatchThePointCountExactly) {
    struct Case {
        const char* name;
        Bytes body;
        std::string_view rule;  // empty when the body parses
    };
    const Bytes noPoints = MpsTrackBody(Track("AB"));
    const Bytes twoPoints = MpsTrackBody(Track("AB", {Point(1, 2, 3, 4), Point(5, 6, 7, 8)}));
    Bytes longer = twoPoints;
    longer.push_back(0);
    Bytes shorter = twoPoints;
    shorter.pop_back();
    // 31 × 138547333 = 2^32 + 27: agrees with a 27-byte rest only modulo 2^32.
    ByteBuilder wrapping;
    wrapping.TextZ("AB").Fill(5).U32(138547333U).Fill(27);
    ByteBuilder headerless;
    headerless.TextZ("AB").Fill(8);
    const std::vector<Case> cases = {
        {"name of 2 and no points", noPoints, ""},
        {"two points", twoPoints, ""},
        {"one byte longer", longer, "track body length does not match its point count"},
        {"one byte shorter", shorter, "track body length does not match its point count"},
        {"product wraps to the length", wrapping.Take(),
         "track body length does not match its point count"},
        {"fewer than n + 10 bytes", headerless.Take(),
         "track body shorter than its 9-byte track header"},
        {"name without terminator", Bytes(40, 'x'), "track name has no terminator"},
    };
    ASSERT_EQ(noPoints.size(), 12U);
    for (const Case& c : cases) {
        TrackRecordList list;
        TrackRecordView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(Record('T', c.body), view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
    }
}

TEST(TrackGetEntry, ReadsPointsWithSignedPositionsAndDerivedValues) {
    const std::string longName(40, 'N');
    const auto list = ListOf({Track(longName, {Point(-1, -1073741824, 12.5, 57600),
                                               Point(1073741824, 5, -3.25, 4294967295U)}),
                              Track("EMPTY")});
    TrackEntry entry;
    ASSERT_TRUE(list->GetEntry(0, entry));
    EXPECT_EQ(NameOf(entry.name), longName.substr(0, 31));
    ASSERT_EQ(entry.pointCount, 2);
    const TrackPoint& first = entry.points[0];
    EXPECT_EQ(first.latitude, -1);
    EXPECT_LT(first.latitudeDegrees, 0.0);
    EXPECT_GT(first.latitudeDegrees, -1e-6);
    EXPECT_DOUBLE_EQ(first.longitudeDegrees, -90.00000033527613);
    EXPECT_FLOAT_EQ(first.altitude, 12.5F);
    EXPECT_EQ(first.hour, 0);
    const TrackPoint& second = entry.points[1];
    EXPECT_EQ(second.time, 4294967295U);
    EXPECT_EQ(second.hour, 14);
    EXPECT_EQ(second.minute, 28);
    EXPECT_EQ(second.second, 15);

    TrackEntry empty;
    ASSERT_TRUE(list->GetEntry(1, empty));
    EXPECT_EQ(empty.pointCount, 0);
    EXPECT_FALSE(list->GetEntry(2, empty));
}

TEST(TrackRebuild, KeepsTemplateBytesAndWritesPointValues) {
    const auto list =
        ListOf({Track("REF", {Point(9, 9, 9, 9, 0x5A, 0x6B, 0x7C), Point(0, 0, 0, 0, 2, 2, 2)},
                      {0x11, 0x22, 0x33, 0x44, 0x55}),
                Track("OTHER", {}, {0x99, 0, 0, 0, 0})});
    const std::vector<TrackEntry> entries =
        Entries({{"THREE", {{10, 20, 30, 40.5F}, {-1, -2, 4000000000U, -5.0F}, {7, 8, 9, 10}}},
                 {"ZERO", {}},
                 {"THREE", {{1, 1, 1, 1}}}});
    ASSERT_TRUE(list->RebuildFromEntries(3, entries.data()));
    ASSERT_EQ(list->recordCount, 3);
    EXPECT_EQ(list->records[0].length, 5U + 103U);
    EXPECT_EQ(list->records[1].length, 4U + 10U);
    const Bytes expected = MpsTrackBody(Track(
        "THREE",
        {Point(10, 20, 40.5, 30, 0x5A, 0x6B, 0x7C),
         Point(-1, -2, -5.0, 4000000000U, 0x5A, 0x6B, 0x7C), Point(7, 8, 10, 9, 0x5A, 0x6B, 0x7C)},
        {0x11, 0x22, 0x33, 0x44, 0x55}));
    const auto body = list->records[0].Body();
    EXPECT_EQ(Bytes(body.begin(), body.end()), expected);
    EXPECT_EQ(Bytes(list->Views()[1].trackHeader.begin(), list->Views()[1].trackHeader.begin() + 5),
              (Bytes{0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(list->Views()[2].name, "THREE");  // track names are not made unique

    TrackEntry back;
    ASSERT_TRUE(list->GetEntry(0, back));
    ASSERT_EQ(back.pointCount, 3);
    EXPECT_EQ(back.points[1].latitude, -1);
    EXPECT_EQ(back.points[1].time, 4000000000U);
    EXPECT_FLOAT_EQ(back.points[1].altitude, -5.0F);
}

TEST(TrackRebuild, BuiltInTemplateWhenTheReferenceOffersNoPoint) {
    struct Case {
        const char* name;
        std::vector<MpsTrack> reference;
        std::vector<SampleTrack> source;
        std::array<std::uint8_t, 5> head;
    };
    const std::vector<Case> cases = {
        {"no track record", {}, {{"S", {{1, 2, 3, 4.0F}}}}, {1, 0, 0, 0, 0}},
        {"no track record, source without points", {}, {{"S", {}}}, {1, 0, 0, 0, 0}},
        {"first record without points",
         {Track("R", {}, {7, 7, 7, 7, 7})},
         {{"S", {{1, 2, 3, 4.0F}}}},
         {1, 0, 0, 0, 0}},
        {"first record without points, none needed",
         {Track("R", {}, {7, 7, 7, 7, 7})},
         {{"S", {}}},
         {7, 7, 7, 7, 7}},
    };
    for (const Case& c : cases) {
        const auto list = ListOf(c.reference);
        const std::vector<TrackEntry> entries = Entries(c.source);
        ASSERT_TRUE(
            list->RebuildFromEntries(static_cast<std::int32_t>(entries.size()), entries.data()))
            << c.name;
        const TrackRecordView& view = list->Views()[0];
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), view.trackHeader.begin())) << c.name;
        if (!view.points.empty()) {
            const Bytes expected = MpsTrackBody(Track("S", {Point(1, 2, 4.0, 3)}));
            const auto body = list->records[0].Body();
            EXPECT_EQ(Bytes(body.begin(), body.end()), expected) << c.name;
        }
    }
}

TEST(TrackBuildRecord, ViewOfARecordBuildsTheSameBytes) {
    const auto list = ListOf({Track("COPY", {Point(1, 2, 3, 4, 5, 6, 7), Point(-8, 9, 10, 11)})});
    MpsRecord copy;
    ASSERT_TRUE(TrackRecordList::BuildRecord(list->Views()[0], copy));
    EXPECT_EQ(copy.type, 'T');
    const auto original = list->records[0].Body();
    EXPECT_EQ(Bytes(copy.Body().begin(), copy.Body().end()),
              Bytes(original.begin(), original.end()));

    TrackRecordView mismatched = list->Views()[0];
    mismatched.SetPointCount(3);  // more points than the view refers to
    MpsRecord refused;
    EXPECT_FALSE(TrackRecordList::BuildRecord(mismatched, refused));
    EXPECT_EQ(refused.body, nullptr);
}

TEST(TrackRebuild, CountZeroLeavesNoRecords) {
    const auto list = ListOf({Track("A", {Point(1, 1, 1, 1)})});
    ASSERT_TRUE(list->RebuildFromEntries(0, nullptr));
    EXPECT_EQ(list->recordCount, 0);
    RecordCursor sizing;
    EXPECT_TRUE(list->EmitAll(sizing));
    EXPECT_EQ(sizing.total(), 0U);
}

TEST(MapSegmentParseView, FormRules) {
    struct Case {
        const char* name;
        Bytes body;
        std::string_view rule;
    };
    ByteBuilder eighteen;
    eighteen.U32(1).U32(2).Fill(3).U32(3).Fill(3, 0xAA);
    ByteBuilder unterminated;
    unterminated.U32(1).U32(2).Text("no end");
    const std::vector<Case> cases = {
        {"19 bytes", MpsSegmentBody({}), ""},
        {"18 bytes", eighteen.Take(), "map segment shorter than its two values after the texts"},
        {"8 bytes", Bytes(8, 1), "map segment text has no terminator"},
        {"7 bytes", Bytes(7, 1), "map segment shorter than its two leading values"},
        {"first text runs to the end", unterminated.Take(), "map segment text has no terminator"},
        {"bytes after the last value", MpsSegmentBody({1, 2, "a", "bb", "ccc", 3, 4, {9, 9, 9}}),
         ""},
    };
    ASSERT_EQ(MpsSegmentBody({}).size(), 19U);
    for (const Case& c : cases) {
        MapSegmentList list;
        MapSegmentView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(Record('L', c.body), view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
    }
}

}  // namespace
}  // namespace pelagor::testkit
