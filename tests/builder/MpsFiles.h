#pragma once

// Builders of MapSource files from plain values: the signature, record frames, the 'A' record,
// and 'W', 'T' and 'L' bodies laid out as the MapSource reader expects them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "builder/ByteBuilder.h"

namespace pelagor::testkit {

using Bytes = std::vector<std::uint8_t>;

struct MpsWaypoint {
    std::string name;
    std::int32_t latitude = 0;
    std::int32_t longitude = 0;
    double altitude = 0.0;
    std::uint16_t symbol = 18;
    std::string midText;
    std::uint8_t fill = 0;        // every byte the reader does not interpret
    std::size_t block2Size = 43;  // older MapSource versions wrote 41
    std::size_t extra = 0;        // bytes after the second block
};

struct MpsPoint {
    std::int32_t latitude = 0;
    std::int32_t longitude = 0;
    double altitude = 0.0;
    std::uint32_t time = 0;
    std::uint8_t byte8 = 1;   // altitude present
    std::uint8_t byte17 = 1;  // time present
    std::uint8_t tail = 0;    // bytes 22 to 30
};

struct MpsTrack {
    std::string name;
    std::array<std::uint8_t, 5> head{1, 0, 0, 0, 0};  // track header bytes 0 to 4
    std::vector<MpsPoint> points;
};

struct MpsSegment {
    std::uint32_t value1 = 0;
    std::uint32_t value2 = 0;
    std::string text1;
    std::string text2;
    std::string text3;
    std::uint32_t value3 = 0;
    std::uint32_t value4 = 0;
    Bytes extra;
};

// A record body built from its values.
Bytes MpsABody(std::uint16_t value, const std::string& text1, const std::string& text2,
               const std::string& text3);
Bytes MpsWaypointBody(const MpsWaypoint& waypoint);
Bytes MpsTrackBody(const MpsTrack& track);
Bytes MpsSegmentBody(const MpsSegment& segment);

// File pieces: the six signature bytes, and one framed record (length, type, body).
void MpsSignature(ByteBuilder& file);
void MpsFrame(ByteBuilder& file, char type, const Bytes& body);

struct MpsReference {
    char firstType = 'D';
    Bytes firstBody{'g', 0};
    Bytes aBody = MpsABody(0x0196, "SQA", "Oct 22 2001", "15:45:05");
    std::vector<MpsWaypoint> waypoints;
    std::vector<MpsTrack> tracks;
    std::vector<MpsSegment> segments;
};

// A whole file: signature, first record, 'A' record, then the 'W', 'T' and 'L' runs.
Bytes MpsFile(const MpsReference& reference);

// The reference shipped as examples/reference.mps: three waypoints, one track of a few points
// and two map segments.
MpsReference SampleReference();

}  // namespace pelagor::testkit
