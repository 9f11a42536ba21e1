#pragma once

// Loads bytes through a reader as the dialog does, and checks the rules that every other part of
// the program relies on after any Load (the fuzz targets' checks).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "builder/TempDir.h"
#include "fuzz/DocumentChecks.h"
#include "tracklog/EvoDocument.h"

namespace pelagor::testkit {

enum class Reader { Wtr, Evo };

struct Loaded {
    std::unique_ptr<TrackLogDocument> document;  // owned through the base, as the dialog does
    std::int32_t result = 0;
    LineCollector waypointLines;
    LineCollector trackLines;
};

inline std::unique_ptr<Loaded> LoadBytes(Reader reader, std::span<const std::uint8_t> bytes) {
    const TempDir folder;
    auto loaded = std::make_unique<Loaded>();
    if (reader == Reader::Wtr) {
        loaded->document = std::make_unique<TrackLogDocument>();
    } else {
        loaded->document = std::make_unique<EvoDocument>();
    }
    loaded->result = loaded->document->Load(folder.Write("log", bytes), &loaded->waypointLines,
                                            &loaded->trackLines);
    EXPECT_EQ(fuzzing::BrokenInvariant(*loaded->document, loaded->result, loaded->waypointLines,
                                       loaded->trackLines),
              "");
    return loaded;
}

}  // namespace pelagor::testkit
