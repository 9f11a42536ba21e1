#pragma once

// What the MapSource tests share: references loaded from bytes, and documents made from values.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "mapsource/MapSourceDocument.h"
#include "tracklog/Derivations.h"

namespace pelagor::testkit {

inline std::unique_ptr<MapSourceDocument> LoadReference(const Bytes& bytes,
                                                        std::int32_t expected = 1,
                                                        LineSink* lines = nullptr) {
    auto document = std::make_unique<MapSourceDocument>();
    EXPECT_EQ(document->LoadBytes(bytes, lines, lines), expected) << document->FailureReason();
    return document;
}

inline std::vector<TrackEntry> TrackEntries(const std::vector<SampleTrack>& tracks) {
    std::vector<TrackEntry> entries(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        SetName(entries[i].name, tracks[i].name);
        EXPECT_TRUE(MakeEntries(entries[i].points, entries[i].pointCount,
                                static_cast<std::int64_t>(tracks[i].points.size())));
        for (std::size_t j = 0; j < tracks[i].points.size(); ++j) {
            const SamplePoint& p = tracks[i].points[j];
            SetTrackPoint(entries[i].points[j], p.latitude, p.longitude, p.time, p.altitude);
        }
    }
    return entries;
}

// A source document made directly from values, as a reader would fill it.
inline std::unique_ptr<TrackLogDocument> SourceDocument(
    const std::vector<SampleWaypoint>& waypoints, const std::vector<SampleTrack>& tracks) {
    auto document = std::make_unique<TrackLogDocument>();
    if (!waypoints.empty()) {
        EXPECT_TRUE(MakeEntries(document->waypoints, document->waypointCount,
                                static_cast<std::int64_t>(waypoints.size())));
    }
    for (std::size_t i = 0; i < waypoints.size(); ++i) {
        WaypointEntry& entry = document->waypoints[i];
        SetName(entry.name, waypoints[i].name);
        std::tie(entry.latitude, entry.longitude, entry.altitude, entry.symbol) =
            std::tuple(waypoints[i].latitude, waypoints[i].longitude, waypoints[i].altitude,
                       waypoints[i].symbol);
    }
    if (!tracks.empty()) {
        EXPECT_TRUE(MakeEntries(document->tracks, document->trackCount,
                                static_cast<std::int64_t>(tracks.size())));
        std::vector<TrackEntry> entries = TrackEntries(tracks);
        std::move(entries.begin(), entries.end(), document->tracks.get());
    }
    return document;
}

// A file of frames after `head`.
inline Bytes Framed(const Bytes& head, const std::vector<std::pair<char, Bytes>>& records) {
    ByteBuilder file;
    file.Bytes(head);
    for (const auto& [type, body] : records) {
        MpsFrame(file, type, body);
    }
    return file.Take();
}

// A record as the reader holds it, made from a type letter and a body.
inline MpsRecord Record(char type, const Bytes& body) {
    MpsRecord record;
    const Bytes frame = Framed({}, {{type, body}});
    ReadCursor cursor(frame);
    EXPECT_TRUE(ReadRecord(cursor, record));
    return record;
}

}  // namespace pelagor::testkit
