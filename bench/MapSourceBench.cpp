// The MapSource writer: the 'W' rebuild of many waypoints with repeated names, and a whole
// conversion of a large WTR file against its I/O floor (reading the input, then writing an output
// of the same size through the same flush to disk and rename as the safe replace). The files are
// made at the start of the run, in a temporary folder.
//
//   bench_mapsource [benchmark options]     the benchmarks, the ratio and the peak memory
//   bench_mapsource --peak-memory SOURCE REFERENCE OUTPUT
//                                           one conversion in this process, with its peak memory

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "BenchSupport.h"
#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "mapsource/MapSourceDocument.h"
#include "platform/FileIo.h"
#include "tracklog/SourceLoader.h"

namespace {

using namespace pelagor;
using namespace pelagor::bench;

constexpr std::size_t kRebuildWaypoints = 100000;
constexpr std::size_t kDistinctNames = 500;
constexpr std::uint32_t kSourceWaypoints = 1000;
constexpr std::uint32_t kSourcePoints = 1000000;

// The 500 names the waypoints are drawn from: short ones, ones with a blank, and ones of the
// full ten characters, whose renaming overwrites the last character.
std::vector<std::string> DistinctNames() {
    std::vector<std::string> names;
    for (std::size_t index = 0; index < kDistinctNames; ++index) {
        const std::string number = std::to_string(index);
        switch (index % 3) {
            case 0:
                names.push_back("WP" + number);
                break;
            case 1:
                names.push_back("CAMP " + number);
                break;
            default:
                names.push_back(std::string(10 - number.size(), 'P') + number);
                break;
        }
    }
    return names;
}

// A reference whose 500 waypoint records carry every other one of the distinct names (the
// others find no template by name and start from the first record) and 250 names of their own.
testkit::MpsReference RebuildReference(const std::vector<std::string>& names) {
    testkit::MpsReference reference = testkit::SampleReference();
    reference.realWaypoints.clear();
    for (std::size_t index = 0; index < kDistinctNames; ++index) {
        const std::string name = index % 2 == 0 ? names[index] : "REF" + std::to_string(index);
        reference.realWaypoints.push_back({name, 0, 0, 0.0, "note " + name});
    }
    return reference;
}

std::vector<WaypointEntry> DrawnWaypoints(const std::vector<std::string>& names) {
    std::mt19937 random(20261206);
    std::vector<WaypointEntry> entries(kRebuildWaypoints);
    for (std::size_t index = 0; index < entries.size(); ++index) {
        WaypointEntry& entry = entries[index];
        SetName(entry.name, names[random() % names.size()]);
        entry.latitude = static_cast<std::int32_t>(index * 1000);
        entry.longitude = static_cast<std::int32_t>(index * 2000);
        entry.altitude = static_cast<float>(index % 3000);
        entry.symbol = static_cast<std::uint16_t>(index % 2 == 0 ? 8246 : 161);
    }
    return entries;
}

void LoadReference(MapSourceDocument& reference, const std::filesystem::path& path) {
    if (reference.Load(path, nullptr, nullptr) == 0) {
        std::fprintf(stderr, "%s does not load: %s\n", path.c_str(),
                     reference.FailureReason().c_str());
        std::exit(1);  // NOLINT(concurrency-mt-unsafe): a broken setup, not a measurement
    }
}

void WaypointRebuild(benchmark::State& state, const std::filesystem::path& referencePath,
                     const std::vector<WaypointEntry>& drawn) {
    MapSourceDocument reference;
    LoadReference(reference, referencePath);
    const WaypointRecordList& list = reference.waypointRecords;
    std::vector<std::uint8_t> output;
    for (auto _ : state) {
        // As a conversion builds them: planned (templates and names), sized, then written.
        std::unique_ptr<WaypointBuild[]> plan;
        if (!list.PlanRebuild(drawn, plan)) {
            state.SkipWithError("the rebuild failed");
            break;
        }
        const std::span<WaypointBuild> builds(plan.get(), drawn.size());
        list.SettlePadding(builds, drawn);
        RecordCursor sizing;
        for (std::size_t index = 0; index < drawn.size(); ++index) {
            list.EmitRebuilt(sizing, builds[index], drawn[index]);
        }
        output.resize(sizing.total());
        RecordCursor writing(output);
        for (std::size_t index = 0; index < drawn.size(); ++index) {
            list.EmitRebuilt(writing, builds[index], drawn[index]);
        }
        benchmark::DoNotOptimize(output.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(drawn.size()));
}

struct Conversion {
    std::filesystem::path source;
    std::filesystem::path reference;
    std::filesystem::path output;
    std::uint64_t sourceBytes = 0;
    std::uint64_t outputBytes = 0;
    // What a conversion must hold in fresh memory besides the input: the source's entries and
    // the output buffer.
    std::uint64_t workingBytes = 0;
};

// As the dialog converts: the source loaded as a source, the reference loaded, the merge written.
bool Convert(const Conversion& conversion, std::string& reason) {
    std::unique_ptr<TrackLogDocument> source;
    if (LoadSource(source, conversion.source, nullptr, nullptr) == 0) {
        reason = "the source does not load";
        return false;
    }
    MapSourceDocument reference;
    if (reference.Load(conversion.reference, nullptr, nullptr) == 0) {
        reason = "the reference does not load: " + reference.FailureReason();
        return false;
    }
    if (reference.WriteMerged(*source, conversion.output) == 0) {
        reason = "the merge failed: " + reference.WriteFailureReason();
        return false;
    }
    return true;
}

void WholeConversion(benchmark::State& state, const Conversion& conversion) {
    for (auto _ : state) {
        std::string reason;
        if (!Convert(conversion, reason)) {
            state.SkipWithError(reason.c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(conversion.sourceBytes));
}

// The I/O floor plus a first touch of the working memory: where first touches of fresh pages are
// dear (as on virtual machines), this shows how much of a conversion's time they take.
void ConversionMemoryFloor(benchmark::State& state, const Conversion& conversion) {
    const std::vector<std::uint8_t> output(conversion.outputBytes, 0x5A);
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> data;
        std::uint32_t size = 0;
        if (TrackLogDocument::ReadWholeFile(conversion.source, data, size) == 0) {
            state.SkipWithError("the floor's read failed");
            break;
        }
        std::unique_ptr<std::uint8_t[]> working(new std::uint8_t[conversion.workingBytes]);
        std::memset(working.get(), 0, conversion.workingBytes);
        benchmark::DoNotOptimize(working.get());
        if (!platform::ReplaceFileContents(conversion.output, output,
                                           platform::ReplaceMode::Replace, nullptr)) {
            state.SkipWithError("the floor's write failed");
            break;
        }
        benchmark::DoNotOptimize(data.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(conversion.sourceBytes));
}

std::uint64_t EntryBytes(const TrackLogDocument& document) {
    std::uint64_t bytes = document.WaypointSpan().size_bytes() + document.TrackSpan().size_bytes();
    for (const auto& track : document.TrackSpan()) {
        bytes += static_cast<std::uint64_t>(track.pointCount) * sizeof(TrackPoint);
    }
    return bytes;
}

// The peak of one conversion, measured in a process that holds nothing else.
int PeakMemory(const Conversion& conversion) {
    const bool reset = ResidentMemory::ResetPeak();
    const auto before = ResidentMemory::CurrentBytes();
    std::uint64_t entryBytes = 0;
    {
        std::unique_ptr<TrackLogDocument> source;
        MapSourceDocument reference;
        if (LoadSource(source, conversion.source, nullptr, nullptr) == 0 ||
            reference.Load(conversion.reference, nullptr, nullptr) == 0 ||
            reference.WriteMerged(*source, conversion.output) == 0) {
            std::fprintf(stderr, "the conversion failed\n");
            return 1;
        }
        entryBytes = EntryBytes(*source) + EntryBytes(reference);
    }
    const auto peak = ResidentMemory::PeakBytes();
    if (!before || !peak) {
        std::fprintf(stderr, "cannot read the resident memory\n");
        return 1;
    }
    const std::uint64_t input = std::filesystem::file_size(conversion.source);
    const std::uint64_t output = std::filesystem::file_size(conversion.output);
    ReportPeak(std::string("whole conversion") + (reset ? "" : " (peak since start)"),
               *peak - *before, "input + output + entries", input + output + entryBytes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string_view(argv[1]) == "--peak-memory") {
        return PeakMemory({argv[2], argv[3], argv[4]});
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const TempFolder folder("pelagor-bench-mapsource");
    const std::vector<std::string> names = DistinctNames();
    const auto rebuildReference =
        folder.Write("rebuild-reference.mps", testkit::MpsFile(RebuildReference(names)));
    const std::vector<WaypointEntry> drawn = DrawnWaypoints(names);

    Conversion conversion;
    conversion.source = folder.Write(
        "large.wtr", testkit::WtrBytes(testkit::LargeWtrLog(kSourceWaypoints, kSourcePoints)));
    conversion.reference =
        folder.Write("reference.mps", testkit::MpsFile(testkit::SampleReference()));
    conversion.output = folder.path() / "output.mps";
    std::string reason;
    if (!Convert(conversion, reason)) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    conversion.sourceBytes = std::filesystem::file_size(conversion.source);
    conversion.outputBytes = std::filesystem::file_size(conversion.output);
    {
        std::unique_ptr<TrackLogDocument> source;
        (void)LoadSource(source, conversion.source, nullptr, nullptr);
        conversion.workingBytes = EntryBytes(*source) + conversion.outputBytes;
    }

    benchmark::RegisterBenchmark("mps/waypoint_rebuild", WaypointRebuild, rebuildReference, drawn)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("mps/conversion_floor",
                                 [&conversion](benchmark::State& state) {
                                     IoFloor(state, conversion.source, conversion.output,
                                             conversion.outputBytes, conversion.sourceBytes);
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("mps/conversion_memory_floor", ConversionMemoryFloor, conversion)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("mps/conversion", WholeConversion, conversion)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    TimingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    if (const auto seconds = reporter.BestSeconds("mps/waypoint_rebuild")) {
        std::printf("'W' rebuild of 100,000 waypoints from 500 names: %.1f ms (target < 50): %s\n",
                    *seconds * 1e3, *seconds < 0.050 ? "met" : "MISSED");
        std::printf("  processor time: %.1f ms\n",
                    reporter.BestCpuSeconds("mps/waypoint_rebuild").value_or(0.0) * 1e3);
    }
    std::printf("conversion: %.1f MB in, %.1f MB out\n",
                static_cast<double>(conversion.sourceBytes) / kMegabyte,
                static_cast<double>(conversion.outputBytes) / kMegabyte);
    ReportRatio(reporter, "whole conversion against the I/O floor", "mps/conversion",
                "mps/conversion_floor", 3.0);
    ReportRatio(reporter, "  the same against the I/O floor with its working memory",
                "mps/conversion", "mps/conversion_memory_floor", 3.0);
    RunSelf(argv[0], {"--peak-memory", conversion.source.string(), conversion.reference.string(),
                      conversion.output.string()});
    return 0;
}
