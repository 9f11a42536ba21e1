#pragma once

// Loads bytes through a reader as the dialog does, and checks the invariants that every other
// part of the program relies on after any Load.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "builder/TempFolder.h"
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

// Every array that is absent has a count of zero, and every entry within a count is readable
// (the address sanitizer reports a count that exceeds its array).
inline void ExpectConsistent(const TrackLogDocument& document) {
    EXPECT_GE(document.waypointCount, 0);
    EXPECT_GE(document.trackCount, 0);
    if (!document.waypoints) {
        EXPECT_EQ(document.waypointCount, 0);
    }
    if (!document.tracks) {
        EXPECT_EQ(document.trackCount, 0);
    }
    std::size_t touched = 0;
    for (const WaypointEntry& waypoint : document.WaypointSpan()) {
        touched += NameOf(waypoint.name).size();
    }
    for (const TrackEntry& track : document.TrackSpan()) {
        touched += NameOf(track.name).size();
        EXPECT_GE(track.pointCount, 0);
        if (!track.points) {
            EXPECT_EQ(track.pointCount, 0);
        }
        for (std::int32_t index = 0; index < track.pointCount; ++index) {
            touched += static_cast<std::size_t>(track.points[static_cast<std::size_t>(index)].hour);
        }
    }
    (void)touched;
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
    const TempFolder folder;
    return LoadFile(reader, folder.Write("log", bytes));
}

}  // namespace pelagor::testkit
