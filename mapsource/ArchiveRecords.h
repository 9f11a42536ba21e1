#pragma once

// The archive's reading of one 'W', 'T', 'L' or 'V' record body into plain values. Each fails,
// naming the rule broken, when the body fits no layout, and then leaves its output as it was.

#include <span>
#include <string>
#include <string_view>

#include "mapsource/MapSourceArchive.h"

namespace pelagor {

// By MapSource's structure for the file's version when it fits, else by the fixed layout.
bool ReadArchiveWaypoint(std::span<const std::uint8_t> body, MpsVersion version,
                         ArchiveWaypoint& waypoint, std::string_view* rule);

// Name, display flag (1), colour (4), point count (4), then exactly that many 31-byte points.
bool ReadArchiveTrack(std::span<const std::uint8_t> body, ArchiveTrack& track,
                      std::string_view* rule);

bool ReadArchiveSegment(std::span<const std::uint8_t> body, ArchiveMapSegment& segment,
                        std::string_view* rule);

// The map set record: its name, then an "auto name" flag that is not kept.
bool ReadMapSetName(std::span<const std::uint8_t> body, std::string& name, std::string_view* rule);

}  // namespace pelagor
