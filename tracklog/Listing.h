#pragma once

// The two listing lines that readers append for what they store.

#include <cstdint>
#include <string>
#include <string_view>

#include "tracklog/Entries.h"

namespace pelagor {

// "%s %3.lf": the name, a blank, and the altitude rounded to a whole number, right-aligned in
// at least three characters. An altitude above 9999 shows as 0, as the altitude rule has it.
std::string WaypointLine(const WaypointEntry& waypoint);
// The same line for a name of any length and its altitude as stored.
std::string WaypointLine(std::string_view name, float altitude);

// "%s (%d)": the name, a blank, and the point count in parentheses.
std::string TrackLine(const TrackEntry& track);
std::string TrackLine(std::string_view name, std::int64_t pointCount);

}  // namespace pelagor
