#pragma once

// What reading any bytes as a MapSource archive must leave: a reading that says whether it was
// whole, routes whose points and links agree, points found by the waypoint of their name, and
// listing lines for what it lists. The fuzz target and the regression tests share these.

#include <cstdint>
#include <span>
#include <string>

#include "mapsource/SourceFile.h"

namespace pelagor::fuzzing {

// The largest single allocation the reading of `inputSize` bytes may ask for. The values read
// take a few times the bytes they come from (a 17-byte route record becomes an 88-byte route,
// whose array may double as it grows), never more: a count is believed only once its bytes are
// known to be there.
inline std::size_t ArchiveAllocationLimit(std::size_t inputSize) {
    return 16 * inputSize + std::size_t{64} * 1024;
}

inline std::string RouteFault(const MapSourceArchive& archive, const ArchiveRoute& route) {
    const std::size_t legs = route.points.empty() ? 0 : route.points.size() - 1;
    if (route.links.size() != legs) {
        return "route " + route.name + ": links do not join its points";
    }
    for (const ArchiveRouteLink& link : route.links) {
        if (link.coordinates.empty()) {
            return "route " + route.name + ": a link without coordinates";
        }
    }
    for (const ArchiveRoutePoint& point : route.points) {
        if (point.waypoint && (*point.waypoint >= archive.waypoints.size() ||
                               archive.waypoints[*point.waypoint].name != point.name)) {
            return "route point " + point.name + " found by another waypoint's record";
        }
        if (!point.located && route.points.size() > 1) {
            return "route point " + point.name + " has no position";
        }
        if (point.symbol.has_value() != point.waypoint.has_value()) {
            return "route point " + point.name + ": a symbol without its waypoint";
        }
    }
    return {};
}

// The first broken rule after reading `bytes`, or empty.
inline std::string ArchiveFault(std::span<const std::uint8_t> bytes) {
    MapSourceArchive archive;
    const bool mapSource = LoadArchive(bytes, archive);
    if (mapSource != IsMapSourceFile(bytes)) {
        return "an archive read from a file without the signature, or not from one with it";
    }
    if (archive.complete != archive.warnings.empty()) {
        return "complete does not say whether there were warnings";
    }
    if (archive.warnings.size() > kMaxArchiveWarnings + 2) {  // and the count, and the stop
        return "more warnings than are named";
    }
    for (const std::string& warning : archive.warnings) {
        if (warning.find("out of memory") != std::string::npos) {
            return "ran out of memory: " + warning;
        }
    }
    for (const ArchiveRoute& route : archive.routes) {
        if (std::string fault = RouteFault(archive, route); !fault.empty()) {
            return fault;
        }
    }
    LineCollector waypointLines;
    LineCollector trackLines;
    ListArchive(archive, &waypointLines, &trackLines);
    if (waypointLines.lines.size() != archive.UserWaypointCount() ||
        trackLines.lines.size() != archive.tracks.size()) {
        return "the listing does not list every user waypoint and track";
    }
    return {};
}

}  // namespace pelagor::fuzzing
