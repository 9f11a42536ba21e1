#include "builder/Samples.h"

#include <cmath>
#include <string>

namespace pelagor::testkit {
namespace {

constexpr double kSemicirclesPerDegree = 2147483648.0 / 180.0;

std::int32_t Semicircles(double degrees) {
    return static_cast<std::int32_t>(std::lround(degrees * kSemicirclesPerDegree));
}

// A loop north of Taipei: one point every 10 seconds from 09:00 local time (01:00 UTC).
std::vector<SamplePoint> Loop(std::uint32_t count, std::uint32_t startTime, double phase) {
    std::vector<SamplePoint> points;
    points.reserve(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        const double angle = phase + 2.0 * 3.141592653589793 * index / count;
        points.push_back({Semicircles(25.10 + 0.05 * std::sin(angle)),
                          Semicircles(121.55 + 0.07 * std::cos(angle)), startTime + index * 10U,
                          static_cast<float>(150.0 + 120.0 * std::sin(angle * 3.0))});
    }
    return points;
}

std::vector<SampleWaypoint> DayWaypoints() {
    return {
        {"\xA5\x78\xA5\x5F"
         "101",
         Semicircles(25.0340), Semicircles(121.5645), 508.0F, 8246},
        {"\xB6\xA7\xA9\xFA\xA4\x73", Semicircles(25.1560), Semicircles(121.5480), 1120.0F, 161},
        {"\xB2\x48\xA4\xF4", Semicircles(25.1690), Semicircles(121.4400), 3.5F, 18},
        {"HOME", Semicircles(25.0478), Semicircles(121.5170), 9.0F, 8246},
        {"CAMP 1", Semicircles(25.1900), Semicircles(121.5600), 820.4F, 161},
        {"HOME", Semicircles(25.0500), Semicircles(121.5200), 12.0F, 0},
        {"NOSIGNAL", Semicircles(25.0800), Semicircles(121.5300), 12000.0F, 7},
        {"PEAK9999", Semicircles(25.1650), Semicircles(121.5500), 9999.0F, 18},
    };
}

}  // namespace

SampleLog SampleWtrLog() {
    // 1,000,000,000 s is 2001-09-09 01:46:40 UTC, 09:46:40 on the reading clock.
    return {DayWaypoints(), {{"TAIPEI LOOP", Loop(360, 1000000000U, 0.0)}}};
}

SampleLog SampleEvoLog() {
    return {
        DayWaypoints(),
        {{"ACMORNING", Loop(240, 1000000000U, 0.0)}, {"ACEVENING", Loop(180, 1000036000U, 1.0)}}};
}

SampleLog LargeWtrLog(std::uint32_t waypointCount, std::uint32_t pointCount) {
    SampleLog log;
    log.waypoints.reserve(waypointCount);
    for (std::uint32_t index = 0; index < waypointCount; ++index) {
        log.waypoints.push_back(
            {"WP" + std::to_string(index % 100000), Semicircles(24.0 + index * 1e-4),
             Semicircles(121.0 + index * 1e-4), static_cast<float>(index % 3000),
             static_cast<std::uint16_t>(index % 200)});
    }
    log.tracks.push_back({"LONG TRACK", Loop(pointCount, 1000000000U, 0.0)});
    return log;
}

SampleLog LargeEvoLog(std::uint32_t waypointCount, std::uint32_t trackCount,
                      std::uint32_t pointsPerTrack) {
    SampleLog log = LargeWtrLog(waypointCount, 0);
    log.tracks.clear();
    log.tracks.reserve(trackCount);
    for (std::uint32_t index = 0; index < trackCount; ++index) {
        log.tracks.push_back(
            {"AC" + std::to_string(index), Loop(pointsPerTrack, 1000000000U + index, 0.5)});
    }
    return log;
}

std::vector<std::uint8_t> WtrBytes(const SampleLog& log) {
    return WtrFile(log.waypoints, log.tracks.empty()
                                      ? std::nullopt
                                      : std::optional<SampleTrack>(log.tracks.front()));
}

std::vector<std::uint8_t> EvoBytes(const SampleLog& log) {
    return EvoFile(log.waypoints, log.tracks);
}

}  // namespace pelagor::testkit
