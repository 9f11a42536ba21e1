#include "tracklog/Listing.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "tracklog/Derivations.h"

namespace pelagor {
namespace {

// The longest number is a float altitude of 40 characters.
using NumberBuffer = std::array<char, 64>;

std::string Printed(const NumberBuffer& buffer, int length) {
    return {buffer.data(),
            std::min(static_cast<std::size_t>(std::max(length, 0)), buffer.size() - 1)};
}

}  // namespace

std::string WaypointLine(std::string_view name, float altitude) {
    NumberBuffer number{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): the listing line is a printf format
    const int length = std::snprintf(number.data(), number.size(), "%3.lf",
                                     static_cast<double>(WaypointAltitude(altitude)));
    std::string line(name);
    return line.append(1, ' ').append(Printed(number, length));
}

std::string WaypointLine(const WaypointEntry& waypoint) {
    return WaypointLine(NameOf(waypoint.name), waypoint.altitude);
}

std::string TrackLine(std::string_view name, std::int64_t pointCount) {
    std::string line(name);
    return line.append(" (").append(std::to_string(pointCount)).append(1, ')');
}

std::string TrackLine(const TrackEntry& track) {
    return TrackLine(NameOf(track.name), track.pointCount);
}

}  // namespace pelagor
