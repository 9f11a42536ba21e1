// Loads each input as a MapSource reference and merges a fixed source into it, writing into a
// scratch folder. A merge must be refused for a reference that did not load, must leave no file
// behind when refused, and must otherwise write a file that loads again and gives the source back.

#include <cstdio>
#include <set>
#include <string>

#include "builder/Samples.h"
#include "fuzz/DocumentChecks.h"
#include "fuzz/MergeChecks.h"
#include "fuzz/ScratchFile.h"
#include "mapsource/MapSourceDocument.h"

namespace {

using namespace pelagor;

void Stop(const std::string& fault) {
    std::fprintf(stderr, "broken invariant: %s\n", fault.c_str());
    __builtin_trap();
}

struct Fixture {
    fuzzing::ScratchFolder folder{"pelagor-fuzz-mps"};
    // The source of the dialog's samples: repeated names, mapped symbols and a track.
    std::filesystem::path source =
        folder.Write("source.wtr", testkit::WtrBytes(testkit::SampleWtrLog()));
    std::filesystem::path output = folder.path() / "output.mps";
};

void CheckFolderHolds(const Fixture& fixture, const std::set<std::string>& names) {
    for (const auto& entry : std::filesystem::directory_iterator(fixture.folder.path())) {
        if (names.count(entry.path().filename().string()) == 0) {
            Stop("a file was left behind: " + entry.path().filename().string());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Fixture fixture;
    const auto path = fixture.folder.Write("reference.mps", {data, size});
    std::filesystem::remove(fixture.output);

    LineCollector waypointLines;
    LineCollector trackLines;
    MapSourceDocument reference;
    const std::int32_t loaded = reference.Load(path, &waypointLines, &trackLines);
    if (const std::string fault =
            fuzzing::BrokenInvariant(reference, loaded, waypointLines, trackLines);
        !fault.empty()) {
        Stop(fault);
    }

    TrackLogDocument source;
    if (source.Load(fixture.source, nullptr, nullptr) == 0) {
        Stop("the fixed source does not load");
    }
    const std::int32_t written = reference.WriteMerged(source, fixture.output);
    if (written == 0) {
        if (loaded != 0 && reference.waypointCount > 0) {
            Stop("a loaded reference with waypoints was refused: " +
                 reference.WriteFailureReason());
        }
        CheckFolderHolds(fixture, {"source.wtr", "reference.mps"});
        return 0;
    }
    if (loaded == 0) {
        Stop("a reference that did not load was written");
    }
    CheckFolderHolds(fixture, {"source.wtr", "reference.mps", "output.mps"});

    LineCollector outputWaypointLines;
    LineCollector outputTrackLines;
    MapSourceDocument output;
    const std::int32_t outputLoaded =
        output.Load(fixture.output, &outputWaypointLines, &outputTrackLines);
    if (const std::string fault =
            fuzzing::BrokenInvariant(output, outputLoaded, outputWaypointLines, outputTrackLines);
        !fault.empty()) {
        Stop("written file: " + fault);
    }
    if (const std::string mismatch = fuzzing::RoundTripMismatch(source, outputLoaded, output);
        !mismatch.empty()) {
        Stop(mismatch);
    }
    return 0;
}
