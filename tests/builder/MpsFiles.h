#pragma once

// Builders of MapSource files from plain values: the signature, record frames, the 'A' record,
// and 'W', 'T' and 'L' bodies laid out as the MapSource reader expects them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "builder/ByteBuilder.h"

namespace pelagor::testkit {

using Bytes = std::vector<std::uint8_t>;

// A waypoint in the fixed layout: name, block 1 (46 bytes), a middle text, block 2 (43 bytes).
struct MpsWaypoint {
    std::string name{};
    std::int32_t latitude = 0, longitude = 0;
    double altitude = 0.0;
    std::uint16_t symbol = 18;
    std::string midText{};
    std::uint8_t fill = 0;                        // every byte the reader does not interpret
    std::size_t block2Size = 43;                  // cut or padded to this size
    std::size_t extra = 0;                        // bytes after the second block
    std::optional<std::uint8_t> altitudeValid{};  // block 1 offset 37; `fill` when not given
};

// A waypoint as MapSource lays it out, texts of any length between the fields; the defaults are
// a user waypoint as MapSource 4.06 writes one.
struct MpsRealWaypoint {
    std::string name{};
    std::int32_t latitude = 0, longitude = 0;
    double altitude = 0.0;
    std::string description{};
    std::uint32_t symbol = 18;  // the code in its low half
    int version = 4;            // 3 has 17 bytes after the country, 2 at the end and no notes
    std::uint8_t altitudeValid = 1;
    std::string country{}, city{}, notes{};
    std::uint32_t waypointClass = 0;  // 0: a user waypoint; others a map point
    std::optional<double> proximity{}, depth{};
};

struct MpsPoint {
    std::int32_t latitude = 0, longitude = 0;
    double altitude = 0.0;
    std::uint32_t time = 0;
    std::uint8_t byte8 = 1;         // altitude present
    std::uint8_t byte17 = 1;        // time present
    std::uint8_t tail = 0;          // bytes 22 to 30
    std::optional<double> depth{};  // else `tail`
};

struct MpsTrack {
    std::string name{};
    std::array<std::uint8_t, 5> head{1, 0, 0, 0, 0};  // track header bytes 0 to 4
    std::vector<MpsPoint> points;
    std::optional<std::uint32_t> count{};  // the point count written, when not the points'
};

// A route's point and the link to the next (none for the last): its coordinates, each with an
// altitude when one is given.
struct MpsCoordinate {
    std::int32_t latitude = 0, longitude = 0;
    std::optional<double> altitude{};
};
struct MpsRoutePoint {
    std::string name{};
    std::uint32_t waypointClass = 0;
    std::vector<MpsCoordinate> link{};
};
struct MpsRoute {
    std::string name{};
    std::vector<MpsRoutePoint> points{};
    int version = 4;
    std::optional<std::uint32_t> count{};  // the point count written, when not the points'
};

struct MpsSegment {
    std::uint32_t value1 = 0, value2 = 0;
    std::string text1, text2, text3;
    std::uint32_t value3 = 0, value4 = 0;
    Bytes extra;
};

// Record bodies from their values.
Bytes MpsWaypointBody(const MpsWaypoint& waypoint);
Bytes MpsRealWaypointBody(const MpsRealWaypoint& waypoint);
Bytes MpsTrackBody(const MpsTrack& track);
Bytes MpsSegmentBody(const MpsSegment& segment);
Bytes MpsRouteBody(const MpsRoute& route);
// One framed record: length, type, body.
void MpsFrame(ByteBuilder& file, char type, const Bytes& body);

struct MpsReference {
    Bytes firstBody{'g', 0};  // of the 'D' record
    Bytes aBody =
        ByteBuilder().U16le(0x0196).TextZ("SQA").TextZ("Oct 22 2001").TextZ("15:45:05").Take();
    std::vector<MpsRealWaypoint> realWaypoints;  // written before `waypoints`
    std::vector<MpsWaypoint> waypoints;
    std::vector<Bytes> routes;  // 'R' bodies
    std::vector<MpsTrack> tracks;
    std::vector<MpsSegment> segments;
    std::optional<Bytes> mapSet;  // the 'V' body
};

// A whole file: signature, first record, 'A' record, then the 'W', 'R', 'T' and 'L' runs and
// the 'V' record.
Bytes MpsFile(const MpsReference& reference);

// The reference pelagor-cli convert builds on when it is given none: the header MapSource 4.06
// writes, one user-waypoint template with no texts, no track (the writer's built-in track
// template serves), no map segment, and a map set record without a name. The generator writes
// it as res/builtin-reference.mps, which the program carries.
MpsReference BuiltInReference();

// The reference shipped as examples/reference.mps, as MapSource 4.06 writes one: three user
// waypoints, one track of a few points, one map segment and the map set record.
MpsReference SampleReference();

// An archive as MapSource of `version` (3, 4 or 5) writes one: the sample reference's waypoints
// and track, a map point, and a route through a user waypoint, the map point and a name no record
// holds, with steps between them.
MpsReference SampleArchive(int version);

}  // namespace pelagor::testkit
