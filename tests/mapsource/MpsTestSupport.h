#pragma once

// What the MapSource tests share: references loaded from bytes, and documents made from values.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "mapsource/MapSourceDocument.h"
#include "tracklog/EvoDocument.h"

namespace pelagor::testkit {

inline std::unique_ptr<MapSourceDocument> LoadReference(const Bytes& bytes,
                                                        std::int32_t expected = 1,
                                                        LineSink* lines = nullptr) {
    auto document = std::make_unique<MapSourceDocument>();
    EXPECT_EQ(document->LoadBytes(bytes, lines, lines), expected) << document->FailureReason();
    return document;
}

// A source document as the EVO reader fills it (EVO track names begin with "AC").
inline std::unique_ptr<TrackLogDocument> SourceDocument(
    const std::vector<SampleWaypoint>& waypoints, const std::vector<SampleTrack>& tracks) {
    auto document = std::make_unique<EvoDocument>();
    EXPECT_EQ(document->LoadBytes(EvoFile(waypoints, tracks), nullptr, nullptr), 1);
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

}  // namespace pelagor::testkit
