#pragma once

// The sample logs shipped in examples/ and the large logs of the benchmarks, made from plain
// values so that anyone can regenerate them.

#include "builder/TrackLogFiles.h"

namespace pelagor::testkit {

struct SampleLog {
    std::vector<SampleWaypoint> waypoints;
    std::vector<SampleTrack> tracks;
};

// A day around Taipei: waypoints with Big5 and ASCII names, a repeated name, an altitude the
// receiver marks as missing, the symbols that map specially, and a track of a few hundred points.
SampleLog SampleWtrLog();
// The same kind of day as an EVO log with two tracks, whose names begin with "AC".
SampleLog SampleEvoLog();

// Logs of the benchmarks: `waypointCount` waypoints and one track, or `trackCount` tracks.
SampleLog LargeWtrLog(std::uint32_t waypointCount, std::uint32_t pointCount);
SampleLog LargeEvoLog(std::uint32_t waypointCount, std::uint32_t trackCount,
                      std::uint32_t pointsPerTrack);

std::vector<std::uint8_t> WtrBytes(const SampleLog& log);
std::vector<std::uint8_t> EvoBytes(const SampleLog& log);

}  // namespace pelagor::testkit
