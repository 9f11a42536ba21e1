#pragma once

// Builders of whole WTR and EVO files from plain values, laid out as the readers expect them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "builder/ByteBuilder.h"

namespace pelagor::testkit {

struct SampleWaypoint {
    std::string name;  // raw bytes, as the file stores them
    std::int32_t latitude = 0, longitude = 0;
    float altitude = 0.0F;
    std::uint16_t symbol = 18;
};

struct SamplePoint {
    std::int32_t latitude = 0, longitude = 0;
    std::uint32_t time = 0;
    float altitude = 0.0F;
};

struct SampleTrack {
    std::string name;
    std::vector<SamplePoint> points;
};

// The WTR layout: 64-byte slots from offset 16; the track slot T holds its header marker at
// T + 16, its name at T + 34 and its first 21-byte point slot at T + 50.
inline constexpr std::size_t kWtrFirstSlot = 16;
inline constexpr std::size_t kWtrSlotSize = 64;
inline constexpr std::size_t kWtrHeaderMarkerAt = 16;
inline constexpr std::size_t kWtrTrackNameAt = 34;
inline constexpr std::size_t kWtrFirstPointAt = 50;
inline constexpr std::size_t kWtrPointSlotSize = 21;

// The EVO layout: the counts in the header, and within a waypoint record (from its 00 FF 00)
// the latitude, longitude and altitude from 24 and the name at 52.
inline constexpr std::size_t kEvoWaypointCountAt = 32;
inline constexpr std::size_t kEvoTrackCountAt = 36;
inline constexpr std::size_t kEvoFirstRecord = 48;
inline constexpr std::size_t kEvoLatitudeAt = 24;
inline constexpr std::size_t kEvoNameAt = 52;

// A whole WTR file: head, waypoint slots, the track slot (always there; its header marker only
// with a track) and, when given, the track's points and the end slot.
std::vector<std::uint8_t> WtrFile(const std::vector<SampleWaypoint>& waypoints,
                                  const std::optional<SampleTrack>& track);

// EVO pieces: the 48-byte header, one waypoint record (pattern, fields, name ended by a line
// feed, symbol ten bytes after it), one track record (00 00, a name that begins with "AC", a
// line feed, the point count and 24-byte points).
void EvoHeader(ByteBuilder& file, std::uint16_t waypointCount, std::uint16_t trackCount);
void EvoWaypointRecord(ByteBuilder& file, const SampleWaypoint& waypoint);
void EvoTrackRecord(ByteBuilder& file, const SampleTrack& track);
std::vector<std::uint8_t> EvoFile(const std::vector<SampleWaypoint>& waypoints,
                                  const std::vector<SampleTrack>& tracks);

}  // namespace pelagor::testkit
