// The clock, the degrees and the waypoint altitude rule as each reader applies them to what it
// reads.

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "builder/TrackLogFiles.h"
#include "tracklog/LoadHelpers.h"

namespace pelagor::testkit {
namespace {

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
