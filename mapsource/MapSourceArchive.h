#pragma once

// A MapSource file read whole, as an archive: every waypoint, route, track, map segment and the
// map set name, in plain values that own their texts. Unlike a reference, an archive is read
// record by record whatever the records before held, and a record that fits no layout is skipped
// with a warning rather than ending the reading.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mapsource/MpsHeader.h"
#include "mapsource/WaypointRecords.h"

namespace pelagor {

// A waypoint record, any class. Texts are the file's code-page bytes, whole. A record read by the
// fixed layout has no country, proximity, display, colour, city, state, facility, depth or notes.
struct ArchiveWaypoint {
    std::string name;
    std::string description;
    std::string notes;  // versions 4 and 5 only
    std::string country;
    std::string city;
    std::string state;
    std::string facility;
    double altitude = 0.0;  // metres, as stored, also when not valid
    double proximity = 0.0;
    double depth = 0.0;
    std::uint32_t waypointClass = 0;  // 0: a user's waypoint; others are map points routes pass
    std::int32_t latitude = 0;        // semicircles
    std::int32_t longitude = 0;
    std::uint32_t display = 0;
    std::uint32_t colour = 0;
    std::uint16_t symbol = 0;  // the low half of the symbol field
    bool altitudeValid = false;
    bool proximityValid = false;
    bool depthValid = false;
    WaypointLayout layout = WaypointLayout::Fixed;

    [[nodiscard]] bool IsUserWaypoint() const { return waypointClass == 0; }
};

// A position as routes store it: 17 bytes.
struct ArchiveCoordinate {
    double altitude = 0.0;
    std::int32_t latitude = 0;
    std::int32_t longitude = 0;
    bool altitudeValid = false;
};

// A route's point, resolved: from the first waypoint record of its name (any class) when there is
// one; else its position and altitude come from the first coordinate of the link that leaves it
// (the last point's from the last coordinate of the link that reaches it), and it has no
// description, notes or symbol. A one-point route whose point names no record has no position.
struct ArchiveRoutePoint {
    std::string name;
    std::uint32_t waypointClass = 0;      // as the route record gives it
    std::optional<std::size_t> waypoint;  // the index in MapSourceArchive::waypoints
    bool located = false;
    std::int32_t latitude = 0;
    std::int32_t longitude = 0;
    bool altitudeValid = false;
    double altitude = 0.0;
    std::string description;
    std::string notes;
    std::optional<std::uint16_t> symbol;
};

// The leg from one route point to the next: its two ends and the points between.
struct ArchiveRouteLink {
    std::vector<ArchiveCoordinate> coordinates;  // at least one
};

struct ArchiveRoute {
    std::string name;
    bool autoName = false;
    std::vector<ArchiveRoutePoint> points;
    std::vector<ArchiveRouteLink> links;  // links[i] leaves points[i] for points[i + 1]
};

struct ArchiveTrackPoint {
    double altitude = 0.0;
    double depth = 0.0;
    std::int32_t latitude = 0;  // semicircles
    std::int32_t longitude = 0;
    std::uint32_t time = 0;  // seconds since 1970-01-01 UTC
    bool altitudeValid = false;
    bool timeValid = false;
    bool depthValid = false;
};

// Track colours 1 to 16 name MapSource's palette (1 black ... 16 white); 0, and any value past
// 16, names none.
inline constexpr std::uint32_t kLastTrackColour = 16;

struct ArchiveTrack {
    std::string name;
    bool display = false;
    std::uint32_t colour = 0;
    std::vector<ArchiveTrackPoint> points;
};

struct ArchiveMapSegment {
    std::string text1;
    std::string text2;
    std::string text3;
};

// At most this many warnings name their record; one more line counts the rest.
inline constexpr std::size_t kMaxArchiveWarnings = 100;

struct MapSourceArchive {
    std::string format;  // "D" and the version letter of the first record, or empty
    MpsVersion version = MpsVersion::Unknown;
    std::vector<ArchiveWaypoint> waypoints;  // every waypoint record in file order, map points too
    std::vector<ArchiveRoute> routes;
    std::vector<ArchiveTrack> tracks;
    std::vector<ArchiveMapSegment> mapSegments;
    std::optional<std::string> mapSetName;  // the first 'V' record's
    // One line per skipped record ("record 7 ('R') at byte 1824 skipped: ..."), and one for a
    // record that runs past the end of the file, which ends the reading.
    std::vector<std::string> warnings;
    bool complete = true;  // every record was read; false whenever there is a warning

    // Calls `visit` with each user waypoint, in file order.
    template <typename Visit>
    void ForEachUserWaypoint(Visit&& visit) const {
        for (const ArchiveWaypoint& waypoint : waypoints) {
            if (waypoint.IsUserWaypoint()) {
                visit(waypoint);
            }
        }
    }
    [[nodiscard]] std::size_t UserWaypointCount() const;
};

// Whether a file that begins with `firstBytes` is a MapSource file: "MsRcd" and a NUL.
bool IsMapSourceFile(std::span<const std::uint8_t> firstBytes);

// Reads `bytes` into `archive`, replacing what it held. Returns false, with a warning, only when
// the bytes are no MapSource file; otherwise whatever could be read is in `archive`, and
// `complete` says whether that was all of it. Never throws: when memory runs out, the reading
// stops there with a warning.
bool LoadArchive(std::span<const std::uint8_t> bytes, MapSourceArchive& archive) noexcept;

// The listing line of a waypoint, as the track-log readers list theirs: the whole name, a blank
// and the altitude (0 when it is not valid).
std::string ArchiveWaypointLine(const ArchiveWaypoint& waypoint);
// "NAME (n)", as a track log's tracks are listed.
std::string ArchiveTrackLine(const ArchiveTrack& track);

}  // namespace pelagor
