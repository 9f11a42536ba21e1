#include "mapsource/RouteRecords.h"

#include <string>
#include <unordered_map>

namespace pelagor {
namespace {

constexpr std::size_t kCoordinateSize = 4 + 4 + 1 + 8;
constexpr std::size_t kBoundsSize = 2 * kCoordinateSize;  // a maximum and a minimum
constexpr std::size_t kClassSize = 4;
constexpr std::size_t kAfterCountry4 = 22;
constexpr std::size_t kAfterCountry3 = 17;
constexpr std::size_t kPointTail = 18;
constexpr std::size_t kRouteTail = 4 + 1;
// The fewest bytes a route waypoint takes (version 3, empty texts): no count that would need
// more than the record holds is believed.
constexpr std::size_t kSmallestPoint = 1 + kClassSize + 1 + kAfterCountry3 + kPointTail;

std::optional<ArchiveCoordinate> ReadCoordinate(ReadCursor& cursor) {
    const auto latitude = cursor.I32le();
    const auto longitude = cursor.I32le();
    const auto valid = cursor.U8();
    const auto altitude = cursor.F64le();
    if (!latitude || !longitude || !valid || !altitude) {
        return std::nullopt;
    }
    return ArchiveCoordinate{*altitude, *latitude, *longitude, *valid != 0};
}

bool ReadPoint(ReadCursor& cursor, bool v3, ArchiveRoutePoint& point, std::string_view* rule) {
    const auto name = ReadText(cursor);
    const auto waypointClass = name ? cursor.U32le() : std::nullopt;
    const auto country = waypointClass ? ReadText(cursor) : std::nullopt;
    if (!name || !waypointClass || !country) {
        return Refuse(rule, "route waypoint's name, class or country runs past the record");
    }
    // Version 4 and later: a run of bytes up to a 0 (only the 0 for a user's waypoint).
    if (!cursor.Skip(v3 ? kAfterCountry3 : kAfterCountry4) || (!v3 && !ReadText(cursor)) ||
        !cursor.Skip(kPointTail)) {
        return Refuse(rule, "route waypoint runs past the record");
    }
    point.name = *name;
    point.waypointClass = *waypointClass;
    return true;
}

bool ReadLink(ReadCursor& cursor, ArchiveRouteLink& link, std::string_view* rule) {
    const auto count = cursor.U32le();
    if (!count || *count == 0) {
        return Refuse(rule, "route link without a coordinate count");
    }
    if (*count > cursor.remaining() / kCoordinateSize) {
        return Refuse(rule, "route link's coordinates run past the record");
    }
    link.coordinates.reserve(*count);
    for (std::uint32_t index = 0; index < *count; ++index) {
        link.coordinates.push_back(Guaranteed(ReadCoordinate(cursor)));
    }
    if (!cursor.Skip(1 + kBoundsSize)) {
        return Refuse(rule, "route link's bounds run past the record");
    }
    return true;
}

bool ReadRoute(std::span<const std::uint8_t> body, bool v3, ArchiveRoute& route,
               std::string_view* rule) {
    ReadCursor cursor(body);
    const auto name = ReadText(cursor);
    if (!name) {
        return Refuse(rule, "route name has no terminator");
    }
    const auto autoName = cursor.U8();
    const auto boundsAbsent = autoName ? cursor.U8() : std::nullopt;
    if (!autoName || !boundsAbsent || (*boundsAbsent == 0 && !cursor.Skip(kBoundsSize))) {
        return Refuse(rule, "route header runs past the record");
    }
    const auto count = cursor.U32le();
    if (!count || *count > cursor.remaining() / kSmallestPoint) {
        return Refuse(rule, "route waypoint count passes the record");
    }
    ArchiveRoute read;
    read.name = *name;
    read.autoName = *autoName != 0;
    read.points.resize(*count);
    read.links.resize(*count > 0 ? *count - 1 : 0);
    for (std::size_t index = 0; index < read.points.size(); ++index) {
        if (!ReadPoint(cursor, v3, read.points[index], rule) ||
            (index < read.links.size() && !ReadLink(cursor, read.links[index], rule))) {
            return false;
        }
    }
    if (!cursor.Skip(kRouteTail) || !cursor.AtEnd()) {
        return Refuse(rule, "route record does not end after its last waypoint");
    }
    route = std::move(read);
    return true;
}

void Locate(ArchiveRoutePoint& point, const ArchiveCoordinate& at) {
    point.located = true;
    point.latitude = at.latitude;
    point.longitude = at.longitude;
    point.altitudeValid = at.altitudeValid;
    point.altitude = at.altitude;
}

}  // namespace

bool ReadArchiveRoute(std::span<const std::uint8_t> body, MpsVersion version, ArchiveRoute& route,
                      std::string_view* rule) {
    switch (version) {
        case MpsVersion::V3:
            return ReadRoute(body, true, route, rule);
        case MpsVersion::V4:
        case MpsVersion::V5:
            return ReadRoute(body, false, route, rule);
        case MpsVersion::Unknown:
            break;
    }
    return ReadRoute(body, false, route, nullptr) || ReadRoute(body, true, route, rule);
}

void ResolveRoutePoints(MapSourceArchive& archive) {
    // The first record of each name, whatever its class.
    std::unordered_map<std::string_view, std::size_t> firstOfName;
    firstOfName.reserve(archive.waypoints.size());
    for (std::size_t index = 0; index < archive.waypoints.size(); ++index) {
        firstOfName.emplace(archive.waypoints[index].name, index);
    }
    for (ArchiveRoute& route : archive.routes) {
        for (std::size_t index = 0; index < route.points.size(); ++index) {
            ArchiveRoutePoint& point = route.points[index];
            if (const auto found = firstOfName.find(point.name); found != firstOfName.end()) {
                const ArchiveWaypoint& waypoint = archive.waypoints[found->second];
                point.waypoint = found->second;
                Locate(point, {waypoint.altitude, waypoint.latitude, waypoint.longitude,
                               waypoint.altitudeValid});
                point.description = waypoint.description;
                point.notes = waypoint.notes;
                point.symbol = waypoint.symbol;
            } else if (index < route.links.size()) {
                Locate(point, route.links[index].coordinates.front());
            } else if (index > 0) {
                Locate(point, route.links[index - 1].coordinates.back());
            }
        }
    }
}

}  // namespace pelagor
