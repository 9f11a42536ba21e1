// Track records: the body form, and the rebuild on the built-in template.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"
#include "mapsource/TrackRecords.h"

namespace pelagor::testkit {
namespace {

TEST(TrackParseView, BodyLengthMustMatchThePointCountExactly) {
    const std::string_view mismatch = "track body length does not match its point count";
    const Bytes twoPoints = MpsTrackBody({"AB", {1, 0, 0, 0, 0}, {{1, 2, 3, 4}, {5, 6, 7, 8}}});
    Bytes longer = twoPoints;
    longer.push_back(0);
    const struct {
        const char* name;
        Bytes body;
        std::string_view rule;  // empty when the body parses
    } cases[] = {
        {"two points", twoPoints, ""},
        {"one byte longer", longer, mismatch},
        {"one byte shorter", Bytes(twoPoints.begin(), twoPoints.end() - 1), mismatch},
        // 31 × 138547333 = 2^32 + 27: agrees with a 27-byte rest only modulo 2^32.
        {"product wraps to the length",
         ByteBuilder().TextZ("AB").Fill(5).U32le(138547333U).Fill(27).Take(), mismatch},
        {"shorter than its header", ByteBuilder().TextZ("AB").Fill(8).Take(),
         "track body shorter than its 9-byte track header"},
    };
    for (const auto& c : cases) {
        TrackRecordList list;
        TrackRecordView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(Record('T', c.body), view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
    }
}

// A point is built on the first track record when it holds one, else on the built-in template.
TEST(TrackRebuild, BuiltInTemplateWhenTheReferenceOffersNoPoint) {
    for (const bool referenceTrack : {false, true}) {
        const Bytes file = referenceTrack
                               ? Framed({}, {{'T', MpsTrackBody({"R", {7, 7, 7, 7, 7}, {}})}})
                               : Bytes{};
        TrackRecordList list;
        ReadCursor cursor(file);
        ASSERT_TRUE(list.ParseList(cursor));
        const std::vector<TrackEntry> entries = TrackEntries({{"S", {{1, 2, 3, 4.0F}}}});
        ASSERT_TRUE(list.RebuildFromEntries(1, entries.data()));
        const auto body = list.records[0].Body();
        EXPECT_EQ(Bytes(body.begin(), body.end()),
                  MpsTrackBody({"S", {1, 0, 0, 0, 0}, {{1, 2, 4.0, 3}}}))
            << referenceTrack;
    }
}

}  // namespace
}  // namespace pelagor::testkit
