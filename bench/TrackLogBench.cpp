// Loading large track logs against their floor: reading the same file into memory and writing
// every byte of the entries' arrays once into fresh memory. The files are made at the start of
// the run, in a temporary folder.
//
//   bench_tracklog [benchmark options]     the benchmarks, the ratios and the peak memory
//   bench_tracklog --peak-memory wtr|evo FILE
//                                          one load in this process, with its peak memory

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "BenchSupport.h"
#include "builder/Samples.h"
#include "tracklog/EvoDocument.h"
#include "tracklog/TrackLogDocument.h"

namespace {

using pelagor::EvoDocument;
using pelagor::TrackLogDocument;
using namespace pelagor::bench;

constexpr std::uint32_t kWtrWaypoints = 1000;
constexpr std::uint32_t kWtrPoints = 1000000;
constexpr std::uint32_t kEvoWaypoints = 9999;
constexpr std::uint32_t kEvoTracks = 9999;
constexpr std::uint32_t kEvoPointsPerTrack = 100;

// The bytes of every array a loaded document holds.
std::uint64_t EntryBytes(const TrackLogDocument& document) {
    std::uint64_t bytes = document.WaypointSpan().size_bytes() + document.TrackSpan().size_bytes();
    for (const auto& track : document.TrackSpan()) {
        bytes += static_cast<std::uint64_t>(track.pointCount) * sizeof(pelagor::TrackPoint);
    }
    return bytes;
}

std::uint64_t PointTotal(const TrackLogDocument& document) {
    std::uint64_t points = 0;
    for (const auto& track : document.TrackSpan()) {
        points += static_cast<std::uint64_t>(track.pointCount);
    }
    return points;
}

std::unique_ptr<TrackLogDocument> NewDocument(std::string_view format) {
    if (format == "evo") {
        return std::make_unique<EvoDocument>();
    }
    return std::make_unique<TrackLogDocument>();
}

struct Subject {
    std::string format;  // "wtr" or "evo"
    std::filesystem::path path;
    std::uint64_t fileBytes = 0;
    std::uint64_t entryBytes = 0;
    std::uint64_t points = 0;
};

Subject Measure(std::string format, const std::filesystem::path& path) {
    auto document = NewDocument(format);
    if (document->Load(path, nullptr, nullptr) == 0) {
        std::fprintf(stderr, "%s does not load: %s\n", path.c_str(),
                     document->FailureReason().c_str());
        std::exit(1);  // NOLINT(concurrency-mt-unsafe): before any benchmark runs
    }
    return {std::move(format), path, std::filesystem::file_size(path), EntryBytes(*document),
            PointTotal(*document)};
}

void SetCounters(benchmark::State& state, const Subject& subject) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(subject.fileBytes));
    state.counters["time_per_point"] = benchmark::Counter(
        static_cast<double>(subject.points),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Floor(benchmark::State& state, const Subject& subject) {
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> data;
        std::uint32_t size = 0;
        if (TrackLogDocument::ReadWholeFile(subject.path, data, size) == 0) {
            state.SkipWithError("cannot read the file");
            break;
        }
        // Fresh memory, as the entry arrays are: the cost of its first touch is part of the floor.
        std::unique_ptr<std::uint8_t[]> entries(new std::uint8_t[subject.entryBytes]);
        std::memset(entries.get(), 0, subject.entryBytes);
        benchmark::DoNotOptimize(data.get());
        benchmark::DoNotOptimize(entries.get());
        benchmark::ClobberMemory();
    }
    SetCounters(state, subject);
}

void Load(benchmark::State& state, const Subject& subject) {
    for (auto _ : state) {
        // The dialog passes its waypoint list and no track list.
        pelagor::LineCollector waypointLines;
        auto document = NewDocument(subject.format);
        if (document->Load(subject.path, &waypointLines, nullptr) == 0) {
            state.SkipWithError("Load failed");
            break;
        }
        benchmark::DoNotOptimize(document->tracks.get());
    }
    SetCounters(state, subject);
}

void Summarize(const TimingReporter& reporter, const Subject& subject, const std::string& what,
               double limit) {
    ReportRatio(reporter, what + " load against its floor", subject.format + "/load",
                subject.format + "/floor", limit);
    for (const char* step : {"load", "floor"}) {
        if (const auto seconds = reporter.BestSeconds(subject.format + "/" + step)) {
            std::printf("  %s %s: %.1f ns per point, %.0f MB/s (%.1f MB file, %.1f MB entries)\n",
                        subject.format.c_str(), step,
                        *seconds * 1e9 / static_cast<double>(subject.points),
                        static_cast<double>(subject.fileBytes) / kMegabyte / *seconds,
                        static_cast<double>(subject.fileBytes) / kMegabyte,
                        static_cast<double>(subject.entryBytes) / kMegabyte);
        }
    }
}

// The peak of one load, measured in a process that holds nothing else: the growth of the peak
// resident set over the resident set before the load.
int PeakMemory(std::string_view format, const std::filesystem::path& path) {
    const bool reset = ResidentMemory::ResetPeak();
    const auto before = ResidentMemory::CurrentBytes();
    auto document = NewDocument(format);
    pelagor::LineCollector waypointLines;
    const std::int32_t loaded = document->Load(path, &waypointLines, nullptr);
    const auto peak = ResidentMemory::PeakBytes();
    if (loaded == 0 || !before || !peak) {
        std::fprintf(stderr, "cannot measure the peak memory of %s\n", path.c_str());
        return 1;
    }
    const std::uint64_t fileBytes = std::filesystem::file_size(path);
    const std::uint64_t entryBytes = EntryBytes(*document);
    const auto bound =
        static_cast<std::uint64_t>(static_cast<double>(fileBytes + entryBytes) * 1.1);
    ReportPeak(std::string(format) + " load" + (reset ? "" : " (peak since start)"),
               *peak - *before, "(file + entries) x 1.1", bound);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--peak-memory") {
        return PeakMemory(argv[2], argv[3]);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    using namespace pelagor::testkit;
    const TempFolder folder("pelagor-bench-tracklog");
    const Subject wtr =
        Measure("wtr", folder.Write("large.wtr", WtrBytes(LargeWtrLog(kWtrWaypoints, kWtrPoints))));
    const Subject evo = Measure(
        "evo", folder.Write("large.evo",
                            EvoBytes(LargeEvoLog(kEvoWaypoints, kEvoTracks, kEvoPointsPerTrack))));
    for (const Subject* subject : {&wtr, &evo}) {
        benchmark::RegisterBenchmark((subject->format + "/floor").c_str(), Floor, *subject)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((subject->format + "/load").c_str(), Load, *subject)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    TimingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    Summarize(reporter, wtr, "WTR (1,000 waypoints, 1 track of 1,000,000 points)", 2.0);
    Summarize(reporter, evo, "EVO (9,999 waypoints, 9,999 tracks of 100 points)", 2.0);
    for (const Subject* subject : {&wtr, &evo}) {
        RunSelf(argv[0], {"--peak-memory", subject->format, subject->path.string()});
    }
    return 0;
}
