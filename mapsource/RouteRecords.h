#pragma once

// Route ('R') records: the route's name and flags, then its waypoints, each but the last followed
// by the link to the next, and how each route point finds its position.
//
// Body (little-endian; a coordinate is latitude and longitude (4 + 4), altitude valid (1) and
// altitude (double): 17 bytes):
//
//   name, auto-name flag (1), bounds absent (1; when 0, a maximum and a minimum coordinate
//   follow), waypoint count n (4), n route waypoints each followed by a link except the last,
//   then 4 bytes and 1 byte
//
//   route waypoint, versions 4 and 5: name, class (4), country, 22 bytes, bytes up to and
//   including the first 0 byte, 18 bytes; version 3: name, class (4), country, 17 + 18 bytes
//   link: coordinate count k >= 1 (4), k coordinates (the leg's two ends and the points
//   between), a 0 byte, the leg's maximum and minimum coordinates

#include <span>
#include <string_view>

#include "mapsource/MapSourceArchive.h"

namespace pelagor {

// Reads a route body by the layout of `version` (both layouts in turn when it is unknown). The
// points keep their names and classes; their positions are found by ResolveRoutePoints.
bool ReadArchiveRoute(std::span<const std::uint8_t> body, MpsVersion version, ArchiveRoute& route,
                      std::string_view* rule);

// Fills every route point of `archive` from the first waypoint of its name, else from its links.
void ResolveRoutePoints(MapSourceArchive& archive);

}  // namespace pelagor
