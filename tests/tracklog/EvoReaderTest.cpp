// The EVO reader: the header counts, the forward scans for waypoint and track records, the
// names ended by a line feed or a zero byte, point counts that lie, and files cut off at every
// length.

#include <gtest/gtest.h>

#include <limits>

#include "builder/Samples.h"
#include "builder/TrackLogFiles.h"
#include "tracklog/LoadHelpers.h"

namespace pelagor {
namespace {

using testkit::ByteBuilder;
using testkit::Reader;
using testkit::SampleTrack;
using testkit::SampleWaypoint;

using testkit::kEvoFirstRecord;
using testkit::kEvoLatitudeAt;
using testkit::kEvoNameAt;
using testkit::kEvoPointSize;
const std::uint8_t kWaypointPattern[] = {0x00, 0xFF, 0x00};

const std::vector<SampleWaypoint> kTwoWaypoints{{"WP1", 10, 20, 5.0F, 7},
                                                {"WP2", -10, -20, 9999.0F, 8}};
const std::vector<SampleTrack> kTwoTracks{{"ACA", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}}}, {"ACB", {}}};

std::vector<std::uint8_t> WithCounts(std::uint16_t waypointCount, std::uint16_t trackCount) {
    ByteBuilder file;
    file.Bytes(testkit::EvoFile(kTwoWaypoints, kTwoTracks));
    file.PatchValue(testkit::kEvoWaypointCountAt, waypointCount)
        .PatchValue(testkit::kEvoTrackCountAt, trackCount);
    return file.Take();
}

TEST(EvoReaderTest, HeaderCounts) {
    const struct {
        std::uint16_t waypoints, tracks;
        std::int32_t waypointCount, trackCount;
        const char* reason;
    } cases[] = {
        {2, 2, 2, 2, ""},
        {0, 2, 0, 0, "waypoint count 0 at byte 32"},
        {10000, 2, 0, 0, "waypoint count 10000 at byte 32"},
        {2, 0, 2, 0, "track count 0 at byte 36"},
        {2, 10000, 2, 0, "track count 10000 at byte 36"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.waypoints << " waypoints, " << c.tracks << " tracks");
        const auto loaded = testkit::LoadBytes(Reader::Evo, WithCounts(c.waypoints, c.tracks));
        EXPECT_EQ(loaded->result, c.reason[0] == 0 ? 1 : 0);
        EXPECT_EQ(loaded->document->waypointCount, c.waypointCount);
        EXPECT_EQ(loaded->document->trackCount, c.trackCount);
        EXPECT_EQ(loaded->waypointLines.lines.size(), static_cast<std::size_t>(c.waypointCount));
        EXPECT_EQ(loaded->document->FailureReason(), c.reason);
    }
}

TEST(EvoReaderTest, AcceptsTheLargestCounts) {
    const testkit::SampleLog log = testkit::LargeEvoLog(9999, 9999, 0);
    const auto loaded = testkit::LoadBytes(Reader::Evo, testkit::EvoBytes(log));
    ASSERT_EQ(loaded->result, 1) << loaded->document->FailureReason();
    EXPECT_EQ(loaded->document->waypointCount, 9999);
    EXPECT_EQ(loaded->document->trackCount, 9999);
    EXPECT_EQ(NameOf(loaded->document->waypoints[9998].name), log.waypoints.back().name);
    EXPECT_EQ(loaded->trackLines.lines.back(), log.tracks.back().name + " (0)");
}

// A point count that is negative, or asks for more records than the data holds, fails that
// track before anything is allocated for it; the tracks before it stay complete.
TEST(EvoReaderTest, PointCountsThatCannotBeRead) {
    const std::vector<SampleTrack> tracks{
        kTwoTracks[0], {"ACLIAR", {{1, 1, 1, 1.0F}, {2, 2, 2, 2.0F}}}, {"ACC", {}}};
    const std::vector<std::uint8_t> honest = testkit::EvoFile(kTwoWaypoints, tracks);
    // Back from the end over the last track ("ACC": 00 00, name, line feed, count) and the
    // second one's two points.
    const std::size_t countAt = honest.size() - (2 + 3 + 1 + 4) - 2 * kEvoPointSize - 4;
    for (const std::int32_t count : {-1, std::numeric_limits<std::int32_t>::min(), 3, 1000000,
                                     std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(count);
        ByteBuilder file;
        file.Bytes(honest).PatchValue(countAt, count);
        const auto loaded = testkit::LoadBytes(Reader::Evo, file.bytes());
        const TrackLogDocument& document = *loaded->document;
        EXPECT_EQ(loaded->result, 0);
        ASSERT_EQ(document.trackCount, 3);
        EXPECT_EQ(document.tracks[0].pointCount, 2);
        EXPECT_EQ(NameOf(document.tracks[1].name), "ACLIAR");
        EXPECT_EQ(document.tracks[1].pointCount, 0);
        EXPECT_EQ(document.tracks[1].points, nullptr);
        EXPECT_EQ(NameOf(document.tracks[2].name), "");
        EXPECT_EQ(document.tracks[2].points, nullptr);
        EXPECT_EQ(loaded->waypointLines.lines.size(), 2U);
        EXPECT_EQ(loaded->trackLines.lines, std::vector<std::string>{"ACA (2)"});
        EXPECT_NE(document.FailureReason().find("track 2"), std::string::npos)
            << document.FailureReason();
    }
}

// One waypoint record laid out by hand: the pattern at `patternAt` (if any), the fields read
// from `recordAt`, then a track so that the file loads.
std::vector<std::uint8_t> OneWaypointAt(std::optional<std::size_t> patternAt, std::size_t recordAt,
                                        std::string_view nameBytes, std::size_t symbolAt) {
    ByteBuilder file;
    testkit::EvoHeader(file, 1, 1);
    file.PadTo(recordAt + 80, 0xEE);
    if (patternAt) {
        file.Patch(*patternAt, kWaypointPattern);
    }
    file.PatchValue(recordAt + kEvoLatitudeAt, std::int32_t{0x01020304})
        .PatchValue(recordAt + kEvoLatitudeAt + 4, std::int32_t{-0x01020304})
        .PatchValue(recordAt + kEvoLatitudeAt + 8, 42.0F)
        .PatchText(recordAt + kEvoNameAt, nameBytes)
        .PatchValue(recordAt + symbolAt, std::uint16_t{0x4321});
    testkit::EvoTrackRecord(file, {"ACT", {}});
    return file.Take();
}

// The pattern is sought within 256 positions of P; the name ends at a line feed or a zero byte,
// and the symbol stands right after it.
TEST(EvoReaderTest, WaypointScanAndNames) {
    constexpr std::size_t P = kEvoFirstRecord;
    const struct {
        std::optional<std::size_t> patternAt;
        std::size_t recordAt;
        std::string_view bytes;
        std::string_view name;
        std::size_t symbolAt;  // from the record
    } cases[] = {
        {P, P, "WP1\n", "WP1", 65},
        {P + 255, P + 255, "WP1\n", "WP1", 65},
        {std::nullopt, P + 256, "WP1\n", "WP1", 65},  // absent: read from P + 256 all the same
        {P + 300, P + 256, "WP1\n", "WP1", 65},       // beyond the window: P + 256
        {P, P, {"WP\0X\n", 5}, "WP", 64},
        {P, P, "\n", "", 62},
        {P, P, "ABCDEFGHIJ", "ABCDEFGHIJ", 72},
        {P, P, "ABCDEFGHIJ\n", "ABCDEFGHIJ", 72},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recordAt << " " << c.name);
        const auto loaded = testkit::LoadBytes(
            Reader::Evo, OneWaypointAt(c.patternAt, c.recordAt, c.bytes, c.symbolAt));
        ASSERT_EQ(loaded->result, 1) << loaded->document->FailureReason();
        const WaypointEntry& waypoint = loaded->document->waypoints[0];
        EXPECT_EQ(NameOf(waypoint.name), c.name);
        EXPECT_EQ(waypoint.latitude, 0x01020304);
        EXPECT_EQ(waypoint.longitude, -0x01020304);
        EXPECT_EQ(waypoint.altitude, 42.0F);
        EXPECT_EQ(waypoint.symbol, 0x4321);
    }
}

// The second waypoint's pattern is sought from the first one's name on: a pattern among the
// bytes after that name is found, one before it is not.
TEST(EvoReaderTest, SecondScanStartsAtTheFirstWaypointsName) {
    constexpr std::size_t W1 = kEvoFirstRecord;
    constexpr std::size_t W2 = W1 + kEvoNameAt + 2;  // inside the first record, after "A\n"
    ByteBuilder file;
    testkit::EvoHeader(file, 2, 1);
    file.PadTo(W2 + 70, 0x11)
        .Patch(W1, kWaypointPattern)
        .Patch(W1 + 40, kWaypointPattern)  // before the scan position: never a record
        .PatchText(W1 + kEvoNameAt, "A\n")
        .PatchValue(W1 + kEvoNameAt + 11, std::uint16_t{1})  // ten bytes after the name's end
        .Patch(W2, kWaypointPattern)
        .PatchValue(W2 + kEvoLatitudeAt, std::int32_t{222})
        .PatchText(W2 + kEvoNameAt, "B\n")
        .PatchValue(W2 + kEvoNameAt + 11, std::uint16_t{2});
    testkit::EvoTrackRecord(file, {"ACT", {}});
    const auto loaded = testkit::LoadBytes(Reader::Evo, file.bytes());
    ASSERT_EQ(loaded->result, 1) << loaded->document->FailureReason();
    EXPECT_EQ(loaded->waypointLines.lines, (std::vector<std::string>{"A   0", "B   0"}));
    EXPECT_EQ(loaded->document->waypoints[1].latitude, 222);
    EXPECT_EQ(loaded->document->waypoints[1].symbol, 2);
}

TEST(EvoReaderTest, TrackNamesAndWhereTheirCountStands) {
    const struct {
        std::string_view bytes;  // from A, up to the point count
        std::string_view name;
    } cases[] = {
        {"ACTRACK\n", "ACTRACK"},
        {{"AC\0", 3}, "AC"},
        {"AC34567890123456789012345678901\n", "AC34567890123456789012345678901"},
        // No terminator within 32 bytes: 31 characters, and the count at A + 32.
        {"AC345678901234567890123456789012", "AC34567890123456789012345678901"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ByteBuilder file;
        testkit::EvoHeader(file, 1, 2);
        testkit::EvoWaypointRecord(file, kTwoWaypoints[0]);
        file.Bytes({0, 0}).Text(c.bytes).I32(2);
        // The bytes that no reader looks at in the points hold a decoy track pattern: the next
        // scan starts after the second point.
        file.I32(11).I32(12).U32(13).F32(14.0F).Bytes({0, 0, 'A', 'C', 'X', '\n', 0, 0});
        file.I32(21).I32(22).U32(23).F32(24.0F).Fill(8, 0x22);
        testkit::EvoTrackRecord(file, {"ACNEXT", {{31, 32, 33, 34.0F}}});
        const auto loaded = testkit::LoadBytes(Reader::Evo, file.bytes());
        ASSERT_EQ(loaded->result, 1) << loaded->document->FailureReason();
        const TrackEntry& first = loaded->document->tracks[0];
        EXPECT_EQ(NameOf(first.name), c.name);
        ASSERT_EQ(first.pointCount, 2);
        EXPECT_EQ(first.points[1].latitude, 21);
        EXPECT_EQ(first.points[1].altitude, 24.0F);
        EXPECT_EQ(NameOf(loaded->document->tracks[1].name), "ACNEXT");
        EXPECT_EQ(loaded->trackLines.lines[1], "ACNEXT (1)");
    }
}

// Cut at every length, a file fails wherever the reader needs bytes that are not there, and
// keeps what it stored before; no waypoint or track is half stored.
TEST(EvoReaderTest, EveryPrefixOfAFile) {
    ByteBuilder file;
    testkit::EvoHeader(file, 2, 2);
    std::vector<std::size_t> waypointEnds;
    for (const auto& waypoint : kTwoWaypoints) {
        testkit::EvoWaypointRecord(file, waypoint);
        waypointEnds.push_back(file.size());
    }
    struct TrackMarks {
        std::size_t patternEnd, nameEnd, countEnd, recordEnd;
    };
    std::vector<TrackMarks> marks;
    for (const auto& track : kTwoTracks) {
        const std::size_t start = file.size();
        testkit::EvoTrackRecord(file, track);
        const std::size_t nameEnd = start + 2 + track.name.size() + 1;
        marks.push_back({start + 4, nameEnd, nameEnd + 4, file.size()});
    }
    const std::vector<std::uint8_t> whole = file.Take();

    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const auto loaded = testkit::LoadBytes(Reader::Evo, std::span(whole).first(length));
        const TrackLogDocument& document = *loaded->document;
        const auto storedWaypoints = static_cast<std::size_t>(std::count_if(
            waypointEnds.begin(), waypointEnds.end(), [&](auto end) { return length >= end; }));
        const bool tracksMade = storedWaypoints == 2;
        EXPECT_EQ(loaded->result, length >= whole.size() ? 1 : 0);
        EXPECT_EQ(document.waypointCount, length >= testkit::kEvoWaypointCountAt + 2 ? 2 : 0);
        ASSERT_EQ(loaded->waypointLines.lines.size(), storedWaypoints);
        for (std::size_t index = 0; index < 2; ++index) {
            if (document.waypointCount == 2) {
                EXPECT_EQ(NameOf(document.waypoints[index].name),
                          index < storedWaypoints ? kTwoWaypoints[index].name : "");
            }
        }
        ASSERT_EQ(document.trackCount, tracksMade ? 2 : 0);
        std::size_t completeTracks = 0;
        for (std::size_t index = 0; tracksMade && index < 2; ++index) {
            const TrackMarks& mark = marks[index];
            const TrackEntry& track = document.tracks[index];
            const bool reached = index == 0 || length >= marks[index - 1].recordEnd;
            const bool complete = reached && length >= mark.recordEnd;
            completeTracks += complete ? 1 : 0;
            EXPECT_EQ(NameOf(track.name),
                      reached && length >= mark.nameEnd ? kTwoTracks[index].name : "");
            EXPECT_EQ(track.pointCount,
                      complete ? static_cast<std::int32_t>(kTwoTracks[index].points.size()) : 0);
            EXPECT_EQ(track.points != nullptr, complete);
        }
        EXPECT_EQ(loaded->trackLines.lines.size(), completeTracks);
    }
}

}  // namespace
}  // namespace pelagor
