#pragma once

// The bodies of the fuzz targets, shared with the regression tests: each reads bytes through a
// fresh document and returns the first broken rule, or empty when all held.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "fuzz/DocumentChecks.h"
#include "fuzz/MergeChecks.h"
#include "mapsource/MapSourceDocument.h"

namespace pelagor::fuzzing {

// Stops the fuzz target on a broken rule, so that libFuzzer keeps the input.
inline void StopIfBroken(const std::string& fault) {
    if (!fault.empty()) {
        static_cast<void>(std::fprintf(stderr, "broken invariant: %s\n", fault.c_str()));
        __builtin_trap();
    }
}

// Reads `bytes` with a fresh `Document`, listing into two sinks, and checks what it left.
template <typename Document>
std::string LoadFault(std::span<const std::uint8_t> bytes) {
    LineCollector waypointLines;
    LineCollector trackLines;
    Document document;
    const std::int32_t loaded = document.LoadBytes(bytes, &waypointLines, &trackLines);
    return BrokenInvariant(document, loaded, waypointLines, trackLines);
}

// Anything in `folder` besides the file `kept`: a merge must leave no temporary file behind.
inline std::string StrayFile(const std::filesystem::path& folder, const std::string& kept) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string() != kept) {
            return "a file was left behind: " + entry.path().filename().string();
        }
    }
    return {};
}

// Reads `referenceBytes` as a reference and merges the WTR bytes `sourceBytes` into it, writing
// `outputPath`, alone in its folder. A reference that did not load must be refused, a refusal
// must leave no file, a loaded reference with waypoints must be written, and the written file
// must load again and give the source back.
inline std::string MergeFault(std::span<const std::uint8_t> referenceBytes,
                              std::span<const std::uint8_t> sourceBytes,
                              const std::filesystem::path& outputPath) {
    std::filesystem::remove(outputPath);
    LineCollector waypointLines;
    LineCollector trackLines;
    MapSourceDocument reference;
    const std::int32_t loaded = reference.LoadBytes(referenceBytes, &waypointLines, &trackLines);
    if (std::string fault = BrokenInvariant(reference, loaded, waypointLines, trackLines);
        !fault.empty()) {
        return fault;
    }
    TrackLogDocument source;
    if (source.LoadBytes(sourceBytes, nullptr, nullptr) == 0) {
        return "the source does not load";
    }
    const std::filesystem::path folder = outputPath.parent_path();
    const std::vector<std::uint8_t> referenceRecords = ReferenceRecords(reference);
    const std::int32_t written = reference.WriteMerged(source, outputPath);
    if (ReferenceRecords(reference) != referenceRecords) {
        return "the merge changed the reference's records";
    }
    if (written == 0) {
        if (loaded != 0 && reference.waypointCount > 0) {
            return "a loaded reference with waypoints was refused: " +
                   reference.WriteFailureReason();
        }
        return StrayFile(folder, "");
    }
    if (loaded == 0) {
        return "a reference that did not load was written";
    }
    if (std::string fault = StrayFile(folder, outputPath.filename().string()); !fault.empty()) {
        return fault;
    }
    LineCollector outputWaypointLines;
    LineCollector outputTrackLines;
    MapSourceDocument output;
    const std::int32_t outputLoaded =
        output.Load(outputPath, &outputWaypointLines, &outputTrackLines);
    if (std::string fault =
            BrokenInvariant(output, outputLoaded, outputWaypointLines, outputTrackLines);
        !fault.empty()) {
        return "written file: " + fault;
    }
    if (std::string fault = RoundTripMismatch(source, outputLoaded, output); !fault.empty()) {
        return fault;
    }
    return TextsMismatch(reference, source, output);
}

}  // namespace pelagor::fuzzing
