// Track records and map segments: the body forms, and the track rebuild on the built-in template.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"
#include "mapsource/MapSegments.h"
#include "mapsource/TrackRecords.h"

namespace pelagor::testkit {
namespace {

TEST(TrackParseView, BodyLengthMustMatchThePointCountExactly) {
    const std::string_view mismatch = "track body length does not match its point count";
    const Bytes twoPoints = MpsTrackBody({"AB", {1, 0, 0, 0, 0}, {{1, 2, 3, 4}, {5, 6, 7, 8}}});
    Bytes longer = twoPoints;
    longer.push_back(0);
    // 31 × 138547333 = 2^32 + 27: agrees with a 27-byte rest only modulo 2^32.
    ByteBuilder wrapping;
    wrapping.TextZ("AB").Fill(5).U32le(138547333U).Fill(27);
    ByteBuilder headerless;
    headerless.TextZ("AB").Fill(8);
    const struct {
        const char* name;
        Bytes body;
        std::string_view rule;  // empty when the body parses
    } cases[] = {
        {"name of 2 and no points", MpsTrackBody({"AB", {1, 0, 0, 0, 0}, {}}), ""},
        {"two points", twoPoints, ""},
        {"one byte longer", longer, mismatch},
        {"one byte shorter", Bytes(twoPoints.begin(), twoPoints.end() - 1), mismatch},
        {"product wraps to the length", wrapping.Take(), mismatch},
        {"fewer than n + 10 bytes", headerless.Take(),
         "track body shorter than its 9-byte track header"},
        {"name without terminator", Bytes(40, 'x'), "track name has no terminator"},
    };
    ASSERT_EQ(MpsTrackBody({"AB", {1, 0, 0, 0, 0}, {}}).size(), 12U);
    for (const auto& c : cases) {
        TrackRecordList list;
        TrackRecordView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(Record('T', c.body), view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
    }
}

TEST(TrackRebuild, BuiltInTemplateWhenTheReferenceOffersNoPoint) {
    const struct {
        bool referenceTrack;  // a first track record, without points
        bool sourcePoint;
        std::array<std::uint8_t, 5> head;
    } cases[] = {{false, true, {1, 0, 0, 0, 0}},
                 {false, false, {1, 0, 0, 0, 0}},
                 {true, true, {1, 0, 0, 0, 0}},
                 {true, false, {7, 7, 7, 7, 7}}};
    for (const auto& c : cases) {
        const Bytes file = c.referenceTrack
                               ? Framed({}, {{'T', MpsTrackBody({"R", {7, 7, 7, 7, 7}, {}})}})
                               : Bytes{};
        TrackRecordList list;
        ReadCursor cursor(file);
        ASSERT_TRUE(list.ParseList(cursor));
        std::vector<MpsPoint> points;
        std::vector<SamplePoint> samples;
        if (c.sourcePoint) {
            points = {{1, 2, 4.0, 3}};
            samples = {{1, 2, 3, 4.0F}};
        }
        const std::vector<TrackEntry> entries = TrackEntries({{"S", samples}});
        ASSERT_TRUE(list.RebuildFromEntries(1, entries.data()));
        const auto body = list.records[0].Body();
        EXPECT_EQ(Bytes(body.begin(), body.end()), MpsTrackBody({"S", c.head, points}))
            << c.referenceTrack << c.sourcePoint;
    }
}

TEST(MapSegmentParseView, FormRules) {
    ByteBuilder eighteen;
    eighteen.U32le(1).U32le(2).Fill(3).U32le(3).Fill(3, 0xAA);
    ByteBuilder unterminated;
    unterminated.U32le(1).U32le(2).Text("no end");
    const struct {
        const char* name;
        Bytes body;
        std::string_view rule;
    } cases[] = {
        {"19 bytes", MpsSegmentBody({}), ""},
        {"18 bytes", eighteen.Take(), "map segment shorter than its two values after the texts"},
        {"7 bytes", Bytes(7, 1), "map segment shorter than its two leading values"},
        {"first text runs to the end", unterminated.Take(), "map segment text has no terminator"},
        {"bytes after the last value", MpsSegmentBody({1, 2, "a", "bb", "ccc", 3, 4, {9, 9}}), ""},
    };
    ASSERT_EQ(MpsSegmentBody({}).size(), 19U);
    for (const auto& c : cases) {
        MapSegmentList list;
        MapSegmentView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(Record('L', c.body), view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
    }
}

}  // namespace
}  // namespace pelagor::testkit
