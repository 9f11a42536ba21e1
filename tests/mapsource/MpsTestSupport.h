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

// A reference document loaded from `bytes` through a file, as the dialog loads one.
inline std::unique_ptr<MapSourceDocument> LoadReference(const TempDir& folder,
                                                        const std::vector<std::uint8_t>& bytes,
                                                        std::int32_t expected = 1,
                                                        LineSink* waypointList = nullptr,
                                                        LineSink* trackList = nullptr) {
    auto document = std::make_unique<MapSourceDocument>();
    WriteBytes(folder / "reference.mps", bytes);
    EXPECT_EQ(document->Load(folder / "reference.mps", waypointList, trackList), expected)
        << document->FailureReason();
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
        entry.latitude = waypoints[i].latitude;
        entry.longitude = waypoints[i].longitude;
        entry.altitude = waypoints[i].altitude;
        entry.symbol = waypoints[i].symbol;
    }
    if (!tracks.empty()) {
        EXPECT_TRUE(MakeEntries(document->tracks, document->trackCount,
                                static_cast<std::int64_t>(tracks.size())));
        std::vector<TrackEntry> entries = TrackEntries(tracks);
        std::move(entries.begin(), entries.end(), document->tracks.get());
    }
    return document;
}

// A record as the reader holds it, made from a type letter and a body.
inline MpsRecord Record(char type, const std::vector<std::uint8_t>& body) {
    MpsRecord record;
    ByteBuilder frame;
    MpsFrame(frame, type, body);
    ReadCursor cursor(frame.bytes());
    EXPECT_TRUE(ReadRecord(cursor, record));
    return record;
}

// A file of frames after `head`.
inline std::vector<std::uint8_t> Framed(const std::vector<std::uint8_t>& head,
                                        const std::vector<std::pair<char, Bytes>>& records) {
    ByteBuilder file;
    file.Bytes(head);
    for (const auto& [type, body] : records) {
        MpsFrame(file, type, body);
    }
    return file.Take();
}

}  // namespace pelagor::testkit
