// The EVO reader: the header counts, the scan for waypoint records and their names, point counts
// that lie, and files cut at every length.

#include <gtest/gtest.h>

#include <limits>

#include "builder/Samples.h"
#include "tracklog/LoadHelpers.h"

namespace pelagor::testkit {
namespace {

const std::vector<SampleWaypoint> kTwoWaypoints{{"WP1", 10, 20, 5.0F, 7},
                                                {"WP2", -10, -20, 9999.0F, 8}};
const std::vector<SampleTrack> kTwoTracks{{"ACA", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}}}, {"ACB", {}}};

TEST(EvoReaderTest, HeaderCounts) {
    const struct {
        std::uint16_t waypoints, tracks;
        const char* reason;
    } cases[] = {
        {0, 2, "waypoint count 0 at byte 32"},
        {10000, 2, "waypoint count 10000 at byte 32"},
        {2, 0, "track count 0 at byte 36"},
        {2, 10000, "track count 10000 at byte 36"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.waypoints << " waypoints, " << c.tracks << " tracks");
        ByteBuilder file;
        file.Bytes(EvoFile(kTwoWaypoints, kTwoTracks))
            .PatchValue(kEvoWaypointCountAt, c.waypoints)
            .PatchValue(kEvoTrackCountAt, c.tracks);
        const Loaded loaded = LoadBytes(Reader::Evo, file.bytes());
        const bool waypointsRead = c.waypoints == 2;
        EXPECT_EQ(loaded.result, c.reason[0] == 0 ? 1 : 0);
        EXPECT_EQ(loaded.waypointLines.lines.size(), waypointsRead ? 2U : 0U);
        EXPECT_EQ(loaded.document->trackCount, waypointsRead && c.tracks == 2 ? 2 : 0);
        EXPECT_EQ(loaded.document->FailureReason(), c.reason);
    }
}

TEST(EvoReaderTest, AcceptsTheLargestCounts) {
    const SampleLog log = LargeEvoLog(9999, 9999, 0);
    const Loaded loaded = LoadBytes(Reader::Evo, EvoBytes(log));
    ASSERT_EQ(loaded.result, 1) << loaded.document->FailureReason();
    EXPECT_EQ(NameOf(loaded.document->waypoints[9998].name), log.waypoints.back().name);
    EXPECT_EQ(loaded.trackLines.lines.back(), log.tracks.back().name + " (0)");
}

// A point count that is negative, or asks for more records than the data holds, fails that
// track before anything is allocated for it; the tracks before it stay complete.
TEST(EvoReaderTest, PointCountsThatCannotBeRead) {
    const std::vector<SampleTrack> tracks{kTwoTracks[0], {"ACLIAR", {{1}, {2}}}, {"ACC", {}}};
    const std::vector<std::uint8_t> honest = EvoFile(kTwoWaypoints, tracks);
    // Back from the end over "ACC" (00 00, name, line feed, count) and ACLIAR's two points.
    const std::size_t countAt = honest.size() - (2 + 3 + 1 + 4) - 2 * kEvoPointSize - 4;
    for (const std::int32_t count : {-1, 3, std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(count);
        ByteBuilder file;
        file.Bytes(honest).PatchValue(countAt, count);
        const Loaded loaded = LoadBytes(Reader::Evo, file.bytes());
        const TrackLogDocument& document = *loaded.document;
        EXPECT_EQ(loaded.result, 0);
        ASSERT_EQ(document.trackCount, 3);
        EXPECT_EQ(NameOf(document.tracks[1].name), "ACLIAR");
        EXPECT_EQ(document.tracks[1].points, nullptr);
        EXPECT_EQ(loaded.trackLines.lines, std::vector<std::string>{"ACA (2)"});
        EXPECT_NE(document.FailureReason().find("track 2"), std::string::npos);
    }
}

// The pattern 00 FF 00 is sought within 256 positions of P, the record read from where it
// stands or else from P + 256; the name ends at a line feed or a zero byte, after ten bytes at
// the latest, and the symbol stands right after it.
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
        {std::nullopt, P + 256, "WP1\n", "WP1", 65},
        {P + 300, P + 256, "WP1\n", "WP1", 65},
        {P, P, {"WP\0X\n", 5}, "WP", 64},
        {P, P, "ABCDEFGHIJ", "ABCDEFGHIJ", 72},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recordAt << " " << c.name);
        ByteBuilder file;
        EvoHeader(file, 1, 1);
        file.PadTo(c.recordAt + 80, 0xEE);
        if (c.patternAt) {
            file.PatchText(*c.patternAt, {"\0\xFF\0", 3});
        }
        file.PatchValue(c.recordAt + kEvoLatitudeAt, std::int32_t{0x01020304})
            .PatchValue(c.recordAt + kEvoLatitudeAt + 8, 42.0F)
            .PatchText(c.recordAt + kEvoNameAt, c.bytes)
            .PatchValue(c.recordAt + c.symbolAt, std::uint16_t{0x4321});
        EvoTrackRecord(file, {"ACT", {}});
        const Loaded loaded = LoadBytes(Reader::Evo, file.bytes());
        ASSERT_EQ(loaded.result, 1) << loaded.document->FailureReason();
        const WaypointEntry& waypoint = loaded.document->waypoints[0];
        EXPECT_EQ(std::make_tuple(NameOf(waypoint.name), waypoint.latitude, waypoint.altitude,
                                  waypoint.symbol),
                  std::make_tuple(c.name, 0x01020304, 42.0F, 0x4321));
    }
}

// Cut at every length, a file fails wherever the reader needs bytes that are not there, and
// keeps what it stored before; no waypoint or track is half stored.
TEST(EvoReaderTest, EveryPrefixOfAFile) {
    ByteBuilder file;
    EvoHeader(file, 2, 2);
    std::vector<std::size_t> waypointEnds;
    for (const auto& waypoint : kTwoWaypoints) {
        EvoWaypointRecord(file, waypoint);
        waypointEnds.push_back(file.size());
    }
    std::vector<std::size_t> nameEnds;
    std::vector<std::size_t> trackEnds;
    for (const auto& track : kTwoTracks) {
        nameEnds.push_back(file.size() + 2 + track.name.size() + 1);
        EvoTrackRecord(file, track);
        trackEnds.push_back(file.size());
    }
    const std::vector<std::uint8_t> whole = file.Take();

    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const Loaded loaded = LoadBytes(Reader::Evo, std::span(whole).first(length));
        const TrackLogDocument& document = *loaded.document;
        const auto storedWaypoints = static_cast<std::size_t>(std::count_if(
            waypointEnds.begin(), waypointEnds.end(), [&](auto end) { return length >= end; }));
        EXPECT_EQ(loaded.result, length >= whole.size() ? 1 : 0);
        EXPECT_EQ(document.waypointCount, length >= kEvoWaypointCountAt + 2 ? 2 : 0);
        ASSERT_EQ(loaded.waypointLines.lines.size(), storedWaypoints);
        for (std::size_t index = 0; document.waypointCount == 2 && index < 2; ++index) {
            EXPECT_EQ(NameOf(document.waypoints[index].name),
                      index < storedWaypoints ? kTwoWaypoints[index].name : "");
        }
        ASSERT_EQ(document.trackCount, storedWaypoints == 2 ? 2 : 0);
        std::size_t completeTracks = 0;
        for (std::size_t index = 0; index < static_cast<std::size_t>(document.trackCount);
             ++index) {
            const TrackEntry& track = document.tracks[index];
            const bool reached = index == 0 || length >= trackEnds[index - 1];
            const bool complete = reached && length >= trackEnds[index];
            completeTracks += complete ? 1 : 0;
            EXPECT_EQ(NameOf(track.name),
                      reached && length >= nameEnds[index] ? kTwoTracks[index].name : "");
            EXPECT_EQ(track.pointCount,
                      complete ? static_cast<std::int32_t>(kTwoTracks[index].points.size()) : 0);
        }
        EXPECT_EQ(loaded.trackLines.lines.size(), completeTracks);
    }
}

}  // namespace
}  // namespace pelagor::testkit
