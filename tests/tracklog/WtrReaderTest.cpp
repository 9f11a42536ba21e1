// The WTR reader: what a Load leaves behind for each kind of file, and files cut at every length;
// and the clock, the degrees and the waypoint altitude rule as both readers apply them.

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "tracklog/LoadHelpers.h"

namespace pelagor::testkit {
namespace {

const std::vector<SampleWaypoint> kTwoWaypoints{{"WA", 10, 20, 5.0F, 7},
                                                {"WB", -10, -20, 123.4F, 8}};
const SampleTrack kThreePoints{"TR", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}, {9, 10, 11, 12.0F}}};

TEST(WtrReaderTest, OutcomeOfEachKindOfFile) {
    const std::vector<std::uint8_t> complete = WtrFile(kTwoWaypoints, kThreePoints);
    const std::vector<std::string> twoLines{"WA   5", "WB 123"};
    const std::string name31 = "0123456789abcdefghijklmnopqrstu";
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::int32_t result;
        std::vector<std::string> waypointLines;
        std::vector<std::string> trackLines;
    } cases[] = {
        {"complete", complete, 1, twoLines, {"TR (3)"}},
        {"signature differs",
         ByteBuilder().Bytes(complete).PatchValue(4, '\xFE').Take(),
         0,
         {},
         {}},
        {"track slot first", WtrFile({}, kThreePoints), 1, {}, {}},
        {"no header marker", WtrFile(kTwoWaypoints, std::nullopt), 1, twoLines, {}},
        {"waypoint names of ten bytes, or up to a zero",
         ByteBuilder()
             .Bytes(WtrFile({{"x"}, {"y"}}, std::nullopt))
             .PatchText(kWtrFirstSlot, "ABCDEFGHIJKL")
             .PatchText(kWtrFirstSlot + kWtrSlotSize, {"WP1\0XY", 6})
             .Take(),
         1,
         {"ABCDEFGHIJ   0", "WP1   0"},
         {}},
        // An end marker at the first point slot makes an empty but present array.
        {"end marker at the first point slot",
         WtrFile({{"W"}}, SampleTrack{"T", {}}),
         1,
         {"W   0"},
         {"T (0)"}},
        // Names of 16 characters or more run into the first point slot; 31 at most are read.
        {"long track name",
         WtrFile({{"W"}}, SampleTrack{name31 + "v", {{}, {5}}}),
         1,
         {"W   0"},
         {name31 + " (2)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Loaded loaded = LoadBytes(Reader::Wtr, c.bytes);
        EXPECT_EQ(loaded.result, c.result);
        EXPECT_EQ(loaded.waypointLines.lines, c.waypointLines);
        EXPECT_EQ(loaded.trackLines.lines, c.trackLines);
        EXPECT_EQ(loaded.document->FailureReason().empty(), c.result != 0);
    }
}

// Only a file can be unreadable: an empty one is, bytes that end early are not.
TEST(WtrReaderTest, EmptyFileIsUnreadable) {
    const TempDir folder;
    TrackLogDocument document;
    EXPECT_EQ(document.Load(folder.Write("empty.wtr", {}), nullptr, nullptr), 0);
    EXPECT_TRUE(document.FileUnreadable());
}

// Cut at every length, a file fails wherever the reader needs bytes that are not there, and
// keeps what it stored before.
TEST(WtrReaderTest, EveryPrefixOfAFile) {
    const std::vector<std::uint8_t> whole = WtrFile(kTwoWaypoints, kThreePoints);
    constexpr std::size_t kMarker = 5;
    constexpr std::size_t T = kWtrFirstSlot + 2 * kWtrSlotSize;
    ASSERT_EQ(whole.size(), T + kWtrFirstPointAt + 4 * kWtrPointSlotSize);
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const Loaded loaded = LoadBytes(Reader::Wtr, std::span(whole).first(length));
        const TrackLogDocument& document = *loaded.document;
        const bool waypointsStored = length >= T + kMarker;  // the track slot's marker is there
        const bool trackMade = length >= T + kWtrHeaderMarkerAt + kMarker;
        const bool nameStored = length >= T + kWtrTrackNameAt + 3;  // "TR" and its terminator
        const bool complete = length >= T + kWtrFirstPointAt + 3 * kWtrPointSlotSize + kMarker;
        EXPECT_EQ(loaded.result, complete ? 1 : 0);
        EXPECT_EQ(loaded.waypointLines.lines.size(), waypointsStored ? 2U : 0U);
        EXPECT_EQ(document.waypointCount, waypointsStored ? 2 : 0);
        ASSERT_EQ(document.trackCount, trackMade ? 1 : 0);
        if (trackMade) {
            EXPECT_EQ(NameOf(document.tracks[0].name), nameStored ? "TR" : "");
            EXPECT_EQ(document.tracks[0].pointCount, complete ? 3 : 0);
        }
        EXPECT_EQ(loaded.trackLines.lines.size(), complete ? 1U : 0U);
    }
}

class ReaderDerivationsTest : public ::testing::TestWithParam<Reader> {};

TEST_P(ReaderDerivationsTest, PointsAndWaypointsCarryTheirDerivedValues) {
    const struct {
        std::uint32_t time;
        std::int32_t hour, minute, second;
        std::int32_t semicircles;
        double degrees;
    } points[] = {
        {0, 8, 0, 0, 0, 0.0},
        {57600, 0, 0, 0, 1073741824, 90.00000033527613},
        {86399, 7, 59, 59, -1073741824, -90.00000033527613},
        {4294967295U, 14, 28, 15, std::numeric_limits<std::int32_t>::min(), -180.00000067055225},
    };
    // A track point keeps any altitude; a waypoint's above 9999 is "none", stored as 0.
    const struct {
        float file, stored;
        const char* line;
    } waypoints[] = {{9999.0F, 9999.0F, "A 9999"},
                     {9999.5F, 0.0F, "A   0"},
                     {std::numeric_limits<float>::infinity(), 0.0F, "A   0"},
                     {-12.0F, -12.0F, "A -12"}};
    SampleTrack track{"ACT", {}};
    for (const auto& p : points) {
        track.points.push_back({p.semicircles, 0, p.time, 12000.0F});
    }
    std::vector<SampleWaypoint> sampleWaypoints;
    for (const auto& w : waypoints) {
        sampleWaypoints.push_back({"A", 1, 2, w.file, 3});
    }
    const Loaded loaded =
        LoadBytes(GetParam(), GetParam() == Reader::Wtr ? WtrFile(sampleWaypoints, track)
                                                        : EvoFile(sampleWaypoints, {track}));
    ASSERT_EQ(loaded.result, 1);
    const TrackEntry& entry = loaded.document->tracks[0];
    ASSERT_EQ(entry.pointCount, static_cast<std::int32_t>(std::size(points)));
    for (std::size_t i = 0; i < std::size(points); ++i) {
        const TrackPoint& point = entry.points[i];
        EXPECT_EQ(
            std::tie(point.latitudeDegrees, point.hour, point.minute, point.second, point.altitude),
            std::tuple(points[i].degrees, points[i].hour, points[i].minute, points[i].second,
                       12000.0F))
            << i;
    }
    ASSERT_EQ(loaded.waypointLines.lines.size(), std::size(waypoints));
    for (std::size_t i = 0; i < std::size(waypoints); ++i) {
        EXPECT_EQ(loaded.document->waypoints[i].altitude, waypoints[i].stored) << i;
        EXPECT_EQ(loaded.waypointLines.lines[i], waypoints[i].line);
    }
}

INSTANTIATE_TEST_SUITE_P(BothReaders, ReaderDerivationsTest,
                         ::testing::Values(Reader::Wtr, Reader::Evo), [](const auto& param) {
                             return param.param == Reader::Wtr ? "wtr" : "evo";
                         });

}  // namespace
}  // namespace pelagor::testkit
