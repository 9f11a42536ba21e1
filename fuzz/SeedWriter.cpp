// Writes the seed inputs of the fuzz targets from the test builders, one folder per target:
//
//   pelagor-fuzz-seeds FOLDER     FOLDER/fuzz_wtr/*, FOLDER/fuzz_evo/*, FOLDER/fuzz_mps/*,
//                                 FOLDER/fuzz_archive/*
//
// Each track-log reader gets its own format's corner cases and the other format's sample, since
// the dialog hands every source file to both readers; the MapSource reader gets references with
// and without tracks and segments, with waypoints in MapSource's structure (3.x and 4.x) and in
// the fixed layout; the archive reader gets archives of each version with routes, and damaged
// ones.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TrackLogFiles.h"

namespace {

using pelagor::testkit::SamplePoint;
using pelagor::testkit::SampleTrack;
using pelagor::testkit::SampleWaypoint;
using Bytes = std::vector<std::uint8_t>;

bool Write(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),  // NOLINT: bytes to a stream
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::cerr << "pelagor-fuzz-seeds: cannot write " << path.string() << '\n';
    }
    return static_cast<bool>(file);
}

const std::vector<SampleWaypoint> kTwoWaypoints{{"WP1", 1 << 30, -(1 << 30), 5.0F, 18},
                                                {"0123456789", 0, 0, 12000.0F, 8246}};
const std::vector<SamplePoint> kThreePoints{
    {1, 2, 0, 1.5F}, {3, 4, 57600, 2.5F}, {5, 6, 86399, 3.5F}};

Bytes Truncated(Bytes bytes, std::size_t size) {
    bytes.resize(std::min(size, bytes.size()));
    return bytes;
}

bool WriteWtrSeeds(const std::filesystem::path& folder) {
    using namespace pelagor::testkit;
    const Bytes sample = WtrBytes(SampleWtrLog());
    return Write(folder / "sample.wtr", sample) &&
           Write(folder / "two-waypoints-no-track.wtr", WtrFile(kTwoWaypoints, std::nullopt)) &&
           Write(folder / "three-points.wtr",
                 WtrFile(kTwoWaypoints, SampleTrack{"T", kThreePoints})) &&
           Write(folder / "empty-track.wtr", WtrFile(kTwoWaypoints, SampleTrack{"EMPTY", {}})) &&
           Write(folder / "long-track-name.wtr",
                 WtrFile(kTwoWaypoints,
                         SampleTrack{"A TRACK NAME OF 40 CHARACTERS, TOO LONG", kThreePoints})) &&
           Write(folder / "track-first.wtr", WtrFile({}, SampleTrack{"T", kThreePoints})) &&
           Write(folder / "cut-in-track.wtr", Truncated(sample, sample.size() - 30)) &&
           Write(folder / "sample.evo", EvoBytes(SampleEvoLog()));
}

bool WriteEvoSeeds(const std::filesystem::path& folder) {
    using namespace pelagor::testkit;
    const Bytes sample = EvoBytes(SampleEvoLog());
    SampleWaypoint unended = kTwoWaypoints[1];
    return Write(folder / "sample.evo", sample) &&
           Write(folder / "three-points.evo", EvoFile(kTwoWaypoints, {{"ACT", kThreePoints}})) &&
           Write(folder / "empty-track.evo",
                 EvoFile(kTwoWaypoints, {{"ACEMPTY", {}}, {"ACNEXT", kThreePoints}})) &&
           Write(
               folder / "long-track-name.evo",
               EvoFile({unended}, {{"AC TRACK NAME OF 40 CHARACTERS, TOO LONG", kThreePoints}})) &&
           Write(folder / "cut-in-points.evo", Truncated(sample, sample.size() - 30)) &&
           Write(folder / "sample.wtr", WtrBytes(SampleWtrLog()));
}

bool WriteMpsSeeds(const std::filesystem::path& folder) {
    using namespace pelagor::testkit;
    const MpsReference sample = SampleReference();
    MpsReference waypointsOnly = sample;
    waypointsOnly.tracks.clear();
    waypointsOnly.segments.clear();
    waypointsOnly.mapSet.reset();
    MpsReference version3 = sample;  // MapSource 3.x: its own structure, routes before the tracks
    version3.firstBody = {'d', 0};
    for (MpsRealWaypoint& waypoint : version3.realWaypoints) {
        waypoint.version = 3;
    }
    version3.routes = {{'R', 0, 1, 2, 3}};
    MpsReference fixed = sample;  // only the fixed layout fits, in a file of unknown version
    fixed.firstBody = {'X', 0};
    fixed.realWaypoints.clear();
    fixed.waypoints = {{"HOME", 1, 2, 3.0, 10, "home", 0x11, 43, 5},
                       {"CAMP", 4, 5, 6.0, 48, "", 0, 41}};
    fixed.tracks.front().points.clear();
    Bytes trailing = MpsFile(sample);
    ByteBuilder after;
    MpsFrame(after, 'W', MpsRealWaypointBody(sample.realWaypoints.front()));
    after.Fill(3, 0xEE);
    trailing.insert(trailing.end(), after.bytes().begin(), after.bytes().end());
    return Write(folder / "reference.mps", MpsFile(sample)) &&
           Write(folder / "waypoints-only.mps", MpsFile(waypointsOnly)) &&
           Write(folder / "version3-routes.mps", MpsFile(version3)) &&
           Write(folder / "fixed-layout-empty-track.mps", MpsFile(fixed)) &&
           Write(folder / "records-after-map-set.mps", trailing);
}

bool WriteArchiveSeeds(const std::filesystem::path& folder) {
    using namespace pelagor::testkit;
    MpsReference tracksOnly = SampleReference();
    tracksOnly.realWaypoints.clear();
    Bytes badInTheMiddle = MpsFile(tracksOnly);
    ByteBuilder bad;
    MpsFrame(bad, 'W', {'X', 0, 1});
    badInTheMiddle.insert(badInTheMiddle.end() - 7, bad.bytes().begin(), bad.bytes().end());
    const Bytes v4 = MpsFile(SampleArchive(4));
    return Write(folder / "archive-v3.mps", MpsFile(SampleArchive(3))) &&
           Write(folder / "archive-v4.mps", v4) &&
           Write(folder / "archive-v5.mps", MpsFile(SampleArchive(5))) &&
           Write(folder / "tracks-only-bad-record.mps", badInTheMiddle) &&
           Write(folder / "runs-past-the-end.mps", Truncated(v4, v4.size() - 3));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pelagor-fuzz-seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::filesystem::path wtr = root / "fuzz_wtr";
    const std::filesystem::path evo = root / "fuzz_evo";
    const std::filesystem::path mps = root / "fuzz_mps";
    const std::filesystem::path archive = root / "fuzz_archive";
    for (const auto& folder : {wtr, evo, mps, archive}) {
        std::filesystem::create_directories(folder);
    }
    return WriteWtrSeeds(wtr) && WriteEvoSeeds(evo) && WriteMpsSeeds(mps) &&
                   WriteArchiveSeeds(archive)
               ? 0
               : 1;
}
