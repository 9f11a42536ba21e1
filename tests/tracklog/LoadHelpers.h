#pragma once

// Loads bytes through a reader, owned through the base as the dialog owns it, and checks the
// rules that the rest of the program relies on after any Load (the fuzz targets' checks).

#include <gtest/gtest.h>

#include <memory>

#include "fuzz/DocumentChecks.h"
#include "tracklog/EvoDocument.h"

namespace pelagor::testkit {

enum class Reader { Wtr, Evo };

struct Loaded {
    std::unique_ptr<TrackLogDocument> document;
    std::int32_t result = 0;
    LineCollector waypointLines;
    LineCollector trackLines;
};

inline Loaded LoadBytes(Reader reader, std::span<const std::uint8_t> bytes) {
    Loaded loaded;
    loaded.document = reader == Reader::Wtr ? std::make_unique<TrackLogDocument>()
                                            : std::make_unique<EvoDocument>();
    loaded.result = loaded.document->LoadBytes(bytes, &loaded.waypointLines, &loaded.trackLines);
    EXPECT_EQ(fuzzing::BrokenInvariant(*loaded.document, loaded.result, loaded.waypointLines,
                                       loaded.trackLines),
              "");
    return loaded;
}

}  // namespace pelagor::testkit
