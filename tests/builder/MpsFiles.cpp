#include "builder/MpsFiles.h"

namespace pelagor::testkit {

Bytes MpsWaypointBody(const MpsWaypoint& waypoint) {
    ByteBuilder body;
    body.TextZ(waypoint.name);
    body.Fill(29, waypoint.fill).I32le(waypoint.latitude).I32le(waypoint.longitude);
    body.U8(waypoint.altitudeValid.value_or(waypoint.fill)).F64le(waypoint.altitude);
    body.TextZ(waypoint.midText);
    const std::size_t block2 = body.size();
    body.Fill(17, waypoint.fill).U16le(waypoint.symbol).Fill(24, waypoint.fill);
    Bytes bytes = body.Take();
    bytes.resize(block2 + waypoint.block2Size, waypoint.fill);  // cut or pad to the block's size
    bytes.insert(bytes.end(), waypoint.extra, 0xEE);
    return bytes;
}

Bytes MpsRealWaypointBody(const MpsRealWaypoint& waypoint) {
    const bool v3 = waypoint.version == 3;
    ByteBuilder body;
    body.TextZ(waypoint.name).U32le(waypoint.waypointClass).TextZ(waypoint.country);
    if (v3) {
        body.Fill(17);
    } else {
        body.U32le(0).Fill(12, 0xFF).U16le(0).U32le(0xFFFFFFFF);  // subclass and 4 bytes
    }
    body.I32le(waypoint.latitude).I32le(waypoint.longitude);
    body.U8(waypoint.altitudeValid).F64le(waypoint.altitude).TextZ(waypoint.description);
    body.U8(waypoint.proximity ? 1 : 0).F64le(waypoint.proximity.value_or(0.0));
    body.U32le(1).U32le(0);                                                // display, colour
    body.U32le(waypoint.symbol).TextZ(waypoint.city).TextZ("").TextZ("");  // no state, facility
    body.U8(0).U8(waypoint.depth ? 1 : 0).F64le(waypoint.depth.value_or(0.0));
    return (v3 ? body.Fill(2) : body.Fill(6).TextZ(waypoint.notes)).Take();
}

Bytes MpsTrackBody(const MpsTrack& track) {
    ByteBuilder body;
    body.TextZ(track.name).Bytes(track.head);
    body.U32le(track.count.value_or(static_cast<std::uint32_t>(track.points.size())));
    for (const MpsPoint& point : track.points) {
        body.I32le(point.latitude).I32le(point.longitude).U8(point.byte8).F64le(point.altitude);
        body.U8(point.byte17).U32le(point.time);
        if (point.depth) {
            body.U8(1).F64le(*point.depth);
        } else {
            body.Fill(9, point.tail);
        }
    }
    return body.Take();
}

Bytes MpsSegmentBody(const MpsSegment& segment) {
    ByteBuilder body;
    body.U32le(segment.value1).U32le(segment.value2);
    body.TextZ(segment.text1).TextZ(segment.text2).TextZ(segment.text3);
    return body.U32le(segment.value3).U32le(segment.value4).Bytes(segment.extra).Take();
}

namespace {

void Coordinate(ByteBuilder& body, const MpsCoordinate& at) {
    body.I32le(at.latitude).I32le(at.longitude);
    body.U8(at.altitude ? 1 : 0).F64le(at.altitude.value_or(0.0));
}

}  // namespace

Bytes MpsRouteBody(const MpsRoute& route) {
    ByteBuilder body;
    body.TextZ(route.name).U8(0).U8(0);
    Coordinate(body, {});  // the bounds' maximum and minimum, not read
    Coordinate(body, {});
    body.U32le(route.count.value_or(static_cast<std::uint32_t>(route.points.size())));
    for (std::size_t index = 0; index < route.points.size(); ++index) {
        const MpsRoutePoint& point = route.points[index];
        body.TextZ(point.name).U32le(point.waypointClass).TextZ("");  // no country
        if (route.version == 3) {
            body.Fill(17).U8(0).U8(3).Fill(16);
        } else {
            // A map point's run of 0xFF bytes before its 0.
            body.U32le(0).Fill(12, 0xFF).U16le(0).U32le(0xFFFFFFFF);
            body.Fill(point.waypointClass != 0 ? 8 : 0, 0xFF).U8(0).U8(3).Fill(17);
        }
        if (index + 1 < route.points.size()) {
            body.U32le(static_cast<std::uint32_t>(point.link.size()));
            for (const MpsCoordinate& at : point.link) {
                Coordinate(body, at);
            }
            body.U8(0);
            Coordinate(body, {});
            Coordinate(body, {});
        }
    }
    return body.U32le(0).U8(1).Take();
}

void MpsFrame(ByteBuilder& file, char type, const Bytes& body) {
    file.U32le(static_cast<std::uint32_t>(body.size())).U8(static_cast<std::uint8_t>(type));
    file.Bytes(body);
}

Bytes MpsFile(const MpsReference& reference) {
    ByteBuilder file;
    file.Text("MsRcd").U8(0);
    MpsFrame(file, 'D', reference.firstBody);
    MpsFrame(file, 'A', reference.aBody);
    for (const MpsRealWaypoint& waypoint : reference.realWaypoints) {
        MpsFrame(file, 'W', MpsRealWaypointBody(waypoint));
    }
    for (const MpsWaypoint& waypoint : reference.waypoints) {
        MpsFrame(file, 'W', MpsWaypointBody(waypoint));
    }
    for (const Bytes& route : reference.routes) {
        MpsFrame(file, 'R', route);
    }
    for (const MpsTrack& track : reference.tracks) {
        MpsFrame(file, 'T', MpsTrackBody(track));
    }
    for (const MpsSegment& segment : reference.segments) {
        MpsFrame(file, 'L', MpsSegmentBody(segment));
    }
    if (reference.mapSet) {
        MpsFrame(file, 'V', *reference.mapSet);
    }
    return file.Take();
}

MpsReference BuiltInReference() {
    MpsReference reference;
    reference.realWaypoints = {MpsRealWaypoint{}};
    reference.mapSet = Bytes{0, 1};  // no map set name, named automatically
    return reference;
}

MpsReference SampleReference() {
    // Positions in semicircles around Taipei; 2^31 / 180 semicircles per degree.
    MpsReference reference;
    reference.realWaypoints = {
        {"HOME", 298842390, 1450262393, 9.0, "Home, Zhongzheng", 10},
        {"CAMP", 300532036, 1450935612, 820.0, "Camp site", 48},
        {"SUMMIT", 300132030, 1450910000, 1120.0, "Qixing summit", 106},
    };
    MpsTrack track{"PRACTICE", {1, 0, 0, 0, 0}, {}};
    for (std::uint32_t index = 0; index < 5; ++index) {
        const auto step = static_cast<std::int32_t>(index) * 12000;
        track.points.push_back(
            {298842390 + step, 1450262393 + step, 10.0 + index, 1000000000U + index * 10U});
    }
    reference.tracks = {track};
    reference.segments = {{1, 2, "Taiwan Topo", "North", "v1", 3, 4, {}}};
    reference.mapSet = Bytes{0, 1};  // no map set name, named automatically
    return reference;
}

MpsReference SampleArchive(int version) {
    MpsReference archive = SampleReference();
    archive.firstBody = {static_cast<std::uint8_t>(version == 3   ? 'd'
                                                   : version == 4 ? 'g'
                                                                  : 'i'),
                         0};
    archive.realWaypoints.push_back({"JUNCTION", 300000000, 1450500000, 0.0, "", 18, version, 0});
    archive.realWaypoints.back().waypointClass = 3;
    for (MpsRealWaypoint& waypoint : archive.realWaypoints) {
        waypoint.version = version;
    }
    const MpsCoordinate home{298842390, 1450262393, 9.0};
    const MpsCoordinate junction{300000000, 1450500000};
    archive.routes = {MpsRouteBody({"TO THE HILL",
                                    {{"HOME", 0, {home, {299000000, 1450300000}, junction}},
                                     {"JUNCTION", 3, {junction, {300300000, 1450800000, 700.0}}},
                                     {"HILLTOP"}},
                                    version})};
    return archive;
}

}  // namespace pelagor::testkit
