#include "tracklog/Listing.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "tracklog/Derivations.h"

namespace pelagor {

// The longest line is an 11-character name and a float altitude of 40 characters, or a
// 31-character name and an 11-character count: 96 bytes hold either.
using LineBuffer = std::array<char, 96>;

std::string WaypointLine(const WaypointEntry& waypoint) {
    const std::string name(NameOf(waypoint.name));
    const auto altitude = static_cast<double>(WaypointAltitude(waypoint.altitude));
    LineBuffer line{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): the listing line is a printf format
    const int length = std::snprintf(line.data(), line.size(), "%s %3.lf", name.c_str(), altitude);
    return {line.data(), std::min(static_cast<std::size_t>(std::max(length, 0)), line.size() - 1)};
}

std::string TrackLine(const TrackEntry& track) {
    const std::string name(NameOf(track.name));
    LineBuffer line{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): the listing line is a printf format
    const int length =
        std::snprintf(line.data(), line.size(), "%s (%d)", name.c_str(), track.pointCount);
    return {line.data(), std::min(static_cast<std::size_t>(std::max(length, 0)), line.size() - 1)};
}

}  // namespace pelagor
