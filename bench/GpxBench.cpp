// The GPX export of a large MapSource archive (about 100 MB: waypoints with texts, routes through
// them and long tracks) against its I/O floor (reading the archive, then writing a file of the
// GPX's size through the same flush to disk and rename as the safe replace), and the peak memory
// of one export, which may hold no more than the file and its parsed form. The archive is made at
// the start of the run, in a temporary folder.
//
//   bench_gpx [benchmark options]        the benchmarks, the ratio and the peak memory
//   bench_gpx --peak-memory ARCHIVE OUTPUT
//                                        one export in this process, with its peak memory
//   bench_gpx --write-archive FILE       only writes the archive, to time pelagor-cli on it

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "BenchSupport.h"
#include "builder/MpsFiles.h"
#include "gpx/GpxExport.h"
#include "mapsource/SourceFile.h"
#include "platform/FileIo.h"

namespace {

using namespace pelagor;
using namespace pelagor::bench;

constexpr std::size_t kWaypoints = 20000;
constexpr std::size_t kRoutes = 200;
constexpr std::size_t kRoutePoints = 25;
constexpr std::size_t kTracks = 32;
constexpr std::size_t kTrackPoints = 100000;  // 31 bytes each: 99 MB of track points

std::int32_t Semicircles(double degrees) {
    return static_cast<std::int32_t>(degrees * 2147483648.0 / 180.0);
}

// Waypoints with a description and notes, routes through them with a few points on each leg,
// and tracks whose points mostly have an altitude and a time.
testkit::Bytes LargeArchive() {
    testkit::MpsReference archive;
    archive.realWaypoints.reserve(kWaypoints);
    for (std::size_t index = 0; index < kWaypoints; ++index) {
        testkit::MpsRealWaypoint waypoint{"WAYPOINT " + std::to_string(index),
                                          Semicircles(24.0 + static_cast<double>(index) * 1e-4),
                                          Semicircles(121.0 + static_cast<double>(index) * 1e-4),
                                          static_cast<double>(index % 3000) + 0.5,
                                          "Description of waypoint " + std::to_string(index),
                                          static_cast<std::uint32_t>(index % 250)};
        waypoint.notes = "Notes & remarks <" + std::to_string(index) + ">";
        archive.realWaypoints.push_back(std::move(waypoint));
    }
    for (std::size_t route = 0; route < kRoutes; ++route) {
        testkit::MpsRoute body{"ROUTE " + std::to_string(route)};
        for (std::size_t point = 0; point < kRoutePoints; ++point) {
            const std::size_t waypoint = (route * kRoutePoints + point) % kWaypoints;
            testkit::MpsRoutePoint routePoint{"WAYPOINT " + std::to_string(waypoint)};
            if (point + 1 < kRoutePoints) {
                routePoint.link = {{1, 2, 3.0}, {4, 5}, {6, 7, 8.0}};
            }
            body.points.push_back(std::move(routePoint));
        }
        archive.routes.push_back(testkit::MpsRouteBody(body));
    }
    for (std::size_t track = 0; track < kTracks; ++track) {
        testkit::MpsTrack body{"TRACK " + std::to_string(track),
                               {1, static_cast<std::uint8_t>(track % 17), 0, 0, 0},
                               {}};
        body.points.reserve(kTrackPoints);
        for (std::size_t point = 0; point < kTrackPoints; ++point) {
            const double step = static_cast<double>(point) * 1e-5;
            testkit::MpsPoint trackPoint{Semicircles(22.0 + step), Semicircles(120.0 + step),
                                         100.0 + static_cast<double>(point % 1000) * 0.25,
                                         static_cast<std::uint32_t>(1000000000U + point)};
            trackPoint.byte8 = point % 10 == 0 ? 0 : 1;
            trackPoint.byte17 = point % 15 == 0 ? 0 : 1;
            body.points.push_back(trackPoint);
        }
        archive.tracks.push_back(std::move(body));
    }
    return testkit::MpsFile(archive);
}

struct Export {
    std::filesystem::path archive;
    std::filesystem::path output;
    std::uint64_t archiveBytes = 0;
    std::uint64_t gpxBytes = 0;
};

// The bytes an archive holds: its vectors' and long texts' heap blocks.
std::uint64_t ParsedBytes(const MapSourceArchive& archive) {
    const auto text = [](const std::string& value) {
        // Short texts live inside the string itself.
        return value.capacity() > 15 ? value.capacity() + 1 : 0;
    };
    std::uint64_t bytes = sizeof(MapSourceArchive);
    bytes += archive.waypoints.capacity() * sizeof(ArchiveWaypoint);
    for (const ArchiveWaypoint& waypoint : archive.waypoints) {
        for (const std::string* value :
             {&waypoint.name, &waypoint.country, &waypoint.description, &waypoint.city,
              &waypoint.state, &waypoint.facility, &waypoint.notes}) {
            bytes += text(*value);
        }
    }
    bytes += archive.routes.capacity() * sizeof(ArchiveRoute);
    for (const ArchiveRoute& route : archive.routes) {
        bytes += text(route.name) + route.points.capacity() * sizeof(ArchiveRoutePoint) +
                 route.links.capacity() * sizeof(ArchiveRouteLink);
        for (const ArchiveRoutePoint& point : route.points) {
            bytes += text(point.name) + text(point.description) + text(point.notes);
        }
        for (const ArchiveRouteLink& link : route.links) {
            bytes += link.coordinates.capacity() * sizeof(ArchiveCoordinate);
        }
    }
    bytes += archive.tracks.capacity() * sizeof(ArchiveTrack);
    for (const ArchiveTrack& track : archive.tracks) {
        bytes += text(track.name) + track.points.capacity() * sizeof(ArchiveTrackPoint);
    }
    return bytes;
}

// As pelagor-cli gpx exports a file: opened as a source, exported through the shared export.
bool ExportOnce(const Export& job, std::string& reason, std::uint64_t* parsedBytes = nullptr) {
    const OpenedSource opened = OpenSource(job.archive, nullptr, nullptr);
    if (!opened.archive || opened.result == 0) {
        reason = "the archive does not load whole";
        return false;
    }
    if (parsedBytes != nullptr) {
        *parsedBytes = ParsedBytes(*opened.archive);
    }
    std::ostringstream warnings;
    const gpx::GpxSource source{"large.mps", nullptr, opened.archive.get()};
    const platform::FileError error =
        gpx::ExportGpxFile(job.output, {&source, 1}, "cp950", gpx::Creator(), warnings);
    if (error.kind != platform::FileErrorKind::None) {
        reason = "the export failed: " + platform::Describe(error);
        return false;
    }
    return true;
}

void ArchiveExport(benchmark::State& state, const Export& job) {
    for (auto _ : state) {
        std::string reason;
        if (!ExportOnce(job, reason)) {
            state.SkipWithError(reason.c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(job.archiveBytes));
}

// The peak of one export, measured in a process that holds nothing else.
int PeakMemory(const Export& job) {
    const bool reset = ResidentMemory::ResetPeak();
    const auto before = ResidentMemory::CurrentBytes();
    std::uint64_t parsed = 0;
    std::string reason;
    if (!ExportOnce(job, reason, &parsed)) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    const auto peak = ResidentMemory::PeakBytes();
    if (!before || !peak) {
        std::fprintf(stderr, "cannot read the resident memory\n");
        return 1;
    }
    const std::uint64_t input = std::filesystem::file_size(job.archive);
    std::printf("archive %.1f MB, parsed form %.1f MB, GPX %.1f MB\n",
                static_cast<double>(input) / kMegabyte, static_cast<double>(parsed) / kMegabyte,
                static_cast<double>(std::filesystem::file_size(job.output)) / kMegabyte);
    return ReportPeak(std::string("GPX export") + (reset ? "" : " (peak since start)"),
                      *peak - *before, "file + parsed form", input + parsed)
               ? 0
               : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--peak-memory") {
        return PeakMemory({argv[2], argv[3]});
    }
    if (argc == 3 && std::string_view(argv[1]) == "--write-archive") {
        const testkit::Bytes bytes = LargeArchive();
        return platform::ReplaceFileContents(argv[2], bytes, platform::ReplaceMode::Replace,
                                             nullptr)
                   ? 0
                   : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const TempFolder folder("pelagor-bench-gpx");
    Export job;
    job.archive = folder.Write("large.mps", LargeArchive());
    job.output = folder.path() / "large.gpx";
    std::string reason;
    if (!ExportOnce(job, reason)) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    job.archiveBytes = std::filesystem::file_size(job.archive);
    job.gpxBytes = std::filesystem::file_size(job.output);

    benchmark::RegisterBenchmark("gpx/export_floor",
                                 [&job](benchmark::State& state) {
                                     IoFloor(state, job.archive, job.output, job.gpxBytes,
                                             job.archiveBytes);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("gpx/archive_export", ArchiveExport, job)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    TimingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nGPX export: %.1f MB archive in, %.1f MB GPX out\n",
                static_cast<double>(job.archiveBytes) / kMegabyte,
                static_cast<double>(job.gpxBytes) / kMegabyte);
    // Every point becomes text, where the floor only moves bytes.
    ReportRatio(reporter, "export against the I/O floor", "gpx/archive_export", "gpx/export_floor",
                4.0);
    return RunSelf(argv[0], {"--peak-memory", job.archive.string(), job.output.string()}) ? 0 : 1;
}
