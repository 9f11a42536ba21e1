#pragma once

// The body of the two track-log fuzz targets: the input is loaded as a file by a fresh document
// of the reader under test, the document is checked, and destroying it must be clean.

#include <cstdint>
#include <cstdio>
#include <span>

#include "fuzz/DocumentChecks.h"
#include "fuzz/ScratchFile.h"

namespace pelagor::fuzzing {

template <typename Document>
void LoadAndCheck(const ScratchFolder& folder, std::span<const std::uint8_t> input) {
    const auto path = folder.Write("input", input);
    LineCollector waypointLines;
    LineCollector trackLines;
    Document document;
    const std::int32_t loaded = document.Load(path, &waypointLines, &trackLines);
    const std::string fault = BrokenInvariant(document, loaded, waypointLines, trackLines);
    if (!fault.empty()) {
        std::fprintf(stderr, "broken invariant: %s\n", fault.c_str());
        __builtin_trap();
    }
}

}  // namespace pelagor::fuzzing
