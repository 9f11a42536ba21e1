#pragma once

// Loads bytes through a reader as the dialog does, and checks the invariants that every other
// part of the program relies on after any Load.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "builder/TempDir.h"
#include "tracklog/EvoDocument.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::testkit {

enum class Reader { Wtr, Evo };

inline std::string ReaderText(Reader reader) {
    return reader == Reader::Wtr ? "wtr" : "evo";
}

struct Loaded {
    std::unique_ptr<TrackLogDocument> document;  // owned through the base, as the dialog does
    std::int32_t result = 0;
    LineCollector waypointLines;
    LineCollector trackLines;
};

// Every absent array has a count of zero, and every entry within a count is read (the address
// sanitizer reports a count that exceeds its array).
inline void ExpectConsistent(const TrackLogDocument& document) {
    EXPECT_TRUE(document.waypoints || document.waypointCount == 0);
    EXPECT_TRUE(document.tracks || document.trackCount == 0);
    for (const TrackEntry& track : document.TrackSpan()) {
        EXPECT_TRUE(track.points || track.pointCount == 0);
        EXPECT_GE(track.pointCount, 0);
        volatile std::int32_t sum = 0;
        for (const TrackPoint& point :
             std::span(track.points.get(), static_cast<std::size_t>(track.pointCount))) {
            sum = sum + point.hour;
        }
    }
    for (const WaypointEntry& waypoint : document.WaypointSpan()) {
        EXPECT_LT(NameOf(waypoint.name).size(), waypoint.name.size());
    }
}

inline std::unique_ptr<Loaded> LoadFile(Reader reader, const std::filesystem::path& path) {
    auto loaded = std::make_unique<Loaded>();
    if (reader == Reader::Wtr) {
        loaded->document = std::make_unique<TrackLogDocument>();
    } else {
        loaded->document = std::make_unique<EvoDocument>();
    }
    loaded->result = loaded->document->Load(path, &loaded->waypointLines, &loaded->trackLines);
    ExpectConsistent(*loaded->document);
    return loaded;
}

inline std::unique_ptr<Loaded> LoadBytes(Reader reader, std::span<const std::uint8_t> bytes) {
    const TempDir folder;
    return LoadFile(reader, folder.Write("log", bytes));
}

}  // namespace pelagor::testkit
