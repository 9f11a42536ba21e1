#pragma once

// Values derived from what the files store: degrees, the clock reading and the altitude rule.

#include <cstdint>

#include "tracklog/Entries.h"

namespace pelagor {

// The double nearest to 180 / 2147483640, the program's historic factor. It is slightly larger
// than 180 / 2^31, so -2^31 semicircles give -180.00000067055225 degrees; documents keep it so
// that their derived degrees stay what users have always seen.
inline constexpr double kDegreesPerSemicircle = 8.381903202764329e-8;

inline double SemicirclesToDegrees(std::int32_t semicircles) {
    return static_cast<double>(semicircles) * kDegreesPerSemicircle;
}

// Altitudes above 9999 in a waypoint are receivers' "no altitude" values and become 0.
inline float WaypointAltitude(float fileAltitude) {
    return static_cast<double>(fileAltitude) > 9999.0 ? 0.0F : fileAltitude;
}

// Sets a point's four stored values and derives the other five: the degrees, and the clock
// reading, which runs eight hours ahead of the clock the file's seconds count in.
inline void SetTrackPoint(TrackPoint& point, std::int32_t latitude, std::int32_t longitude,
                          std::uint32_t time, float altitude) {
    point.latitude = latitude;
    point.longitude = longitude;
    point.longitudeDegrees = SemicirclesToDegrees(longitude);
    point.latitudeDegrees = SemicirclesToDegrees(latitude);
    point.altitude = altitude;
    point.time = time;
    point.second = static_cast<std::int32_t>(time % 60U);
    point.minute = static_cast<std::int32_t>((time / 60U) % 60U);
    const std::uint32_t hour = (time / 3600U) % 24U + 8U;
    point.hour = static_cast<std::int32_t>(hour >= 24U ? hour - 24U : hour);
}

}  // namespace pelagor
