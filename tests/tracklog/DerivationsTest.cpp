// The listing lines, and the clock, the degrees and the waypoint altitude rule as each reader
// applies them to what it reads.

#include <gtest/gtest.h>

#include <limits>

#include "builder/TrackLogFiles.h"
#include "tracklog/LoadHelpers.h"

namespace pelagor {
namespace {

using testkit::Reader;

struct ClockCase {
    std::uint32_t time;
    std::int32_t hour, minute, second;
};
constexpr ClockCase kClock[] = {
    {0, 8, 0, 0},
    {57600, 0, 0, 0},
    {86399, 7, 59, 59},
    {4294967295U, 14, 28, 15},
    {3600 * 15 + 61, 23, 1, 1},
};

struct DegreeCase {
    std::int32_t semicircles;
    double degrees;
};
constexpr DegreeCase kDegrees[] = {
    {0, 0.0},
    {1073741824, 90.00000033527613},
    {-1073741824, -90.00000033527613},
    {std::numeric_limits<std::int32_t>::min(), -180.00000067055225},
};

// Both readers derive the same values from the points they read, and keep a track point's
// altitude whatever it is.
class ReaderDerivations : public ::testing::TestWithParam<Reader> {};

TEST_P(ReaderDerivations, PointsCarryTheirDerivedValues) {
    testkit::SampleTrack track{"ACT", {}};
    for (std::size_t index = 0; index < std::size(kClock); ++index) {
        const auto& degree = kDegrees[index % std::size(kDegrees)];
        track.points.push_back({degree.semicircles, -(degree.semicircles / 2), kClock[index].time,
                                index == 0 ? 12000.0F : -5.5F});
    }
    const testkit::SampleWaypoint waypoint{"WP", 0, 0, 1.0F, 1};
    const auto bytes = GetParam() == Reader::Wtr ? testkit::WtrFile({waypoint}, track)
                                                 : testkit::EvoFile({waypoint}, {track});
    const auto loaded = testkit::LoadBytes(GetParam(), bytes);
    ASSERT_EQ(loaded->result, 1);
    ASSERT_EQ(loaded->document->trackCount, 1);
    const TrackEntry& entry = loaded->document->tracks[0];
    ASSERT_EQ(entry.pointCount, static_cast<std::int32_t>(std::size(kClock)));
    for (std::size_t index = 0; index < std::size(kClock); ++index) {
        const TrackPoint& point = entry.points[index];
        const auto& degree = kDegrees[index % std::size(kDegrees)];
        EXPECT_EQ(point.latitude, degree.semicircles);
        EXPECT_EQ(point.latitudeDegrees, degree.degrees);
        EXPECT_EQ(point.longitude, -(degree.semicircles / 2));  // LoadBytes checks its degrees
        EXPECT_EQ(point.hour, kClock[index].hour);
        EXPECT_EQ(point.minute, kClock[index].minute);
        EXPECT_EQ(point.second, kClock[index].second);
        EXPECT_EQ(point.altitude, index == 0 ? 12000.0F : -5.5F);
    }
}

TEST_P(ReaderDerivations, WaypointAltitudeRule) {
    const struct {
        float file;
        float stored;
        const char* line;
    } cases[] = {
        {9999.0F, 9999.0F, "A 9999"}, {9999.5F, 0.0F, "A   0"},
        {12000.0F, 0.0F, "A   0"},    {std::numeric_limits<float>::infinity(), 0.0F, "A   0"},
        {-12.0F, -12.0F, "A -12"},
    };
    std::vector<testkit::SampleWaypoint> waypoints;
    for (const auto& c : cases) {
        waypoints.push_back({"A", 1, 2, c.file, 3});
    }
    const auto bytes = GetParam() == Reader::Wtr
                           ? testkit::WtrFile(waypoints, testkit::SampleTrack{"ACT", {}})
                           : testkit::EvoFile(waypoints, {{"ACT", {}}});
    const auto loaded = testkit::LoadBytes(GetParam(), bytes);
    ASSERT_EQ(loaded->result, 1);
    ASSERT_EQ(loaded->document->waypointCount, static_cast<std::int32_t>(std::size(cases)));
    ASSERT_EQ(loaded->waypointLines.lines.size(), std::size(cases));
    for (std::size_t index = 0; index < std::size(cases); ++index) {
        EXPECT_EQ(loaded->document->waypoints[index].altitude, cases[index].stored) << index;
        EXPECT_EQ(loaded->waypointLines.lines[index], cases[index].line);
    }
}

INSTANTIATE_TEST_SUITE_P(BothReaders, ReaderDerivations,
                         ::testing::Values(Reader::Wtr, Reader::Evo), [](const auto& param) {
                             return param.param == Reader::Wtr ? "wtr" : "evo";
                         });

}  // namespace
}  // namespace pelagor
