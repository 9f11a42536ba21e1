#pragma once

// What every Load must leave behind, successful or not, whatever the file held: counts that
// agree with their arrays, names that end inside their fields, points whose derived values match
// what they derive from, and no line for an entry that was not stored. The fuzz targets stop on
// the first broken rule; the regression tests assert that none is broken.

#include <algorithm>
#include <cstdint>
#include <string>

#include "tracklog/Derivations.h"
#include "tracklog/LineSink.h"
#include "tracklog/Listing.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::fuzzing {

template <std::size_t N>
bool Terminated(const std::array<char, N>& field) {
    return std::find(field.begin(), field.end(), '\0') != field.end();
}

inline std::string PointFault(const TrackPoint& point) {
    TrackPoint expected{};
    SetTrackPoint(expected, point.latitude, point.longitude, point.time, point.altitude);
    if (point.hour != expected.hour || point.minute != expected.minute ||
        point.second != expected.second) {
        return "clock reading does not match the time";
    }
    if (point.latitudeDegrees != expected.latitudeDegrees ||
        point.longitudeDegrees != expected.longitudeDegrees) {
        return "degrees do not match the semicircles";
    }
    return {};
}

inline std::string TrackFault(const TrackEntry& track) {
    if (!Terminated(track.name)) {
        return "track name without a terminator";
    }
    if (track.pointCount < 0 || (track.pointCount > 0 && !track.points)) {
        return "point count without its array";
    }
    for (std::int32_t index = 0; index < track.pointCount; ++index) {
        std::string fault = PointFault(track.points[static_cast<std::size_t>(index)]);
        if (!fault.empty()) {
            return "point " + std::to_string(index) + ": " + fault;
        }
    }
    return {};
}

// The first broken rule of `document` after a Load that returned `loaded` and appended
// `waypointLines` and `trackLines`; empty when every rule holds. Reads every entry and every
// point, so that an array shorter than its count shows up under AddressSanitizer.
inline std::string BrokenInvariant(const TrackLogDocument& document, std::int32_t loaded,
                                   const LineCollector& waypointLines,
                                   const LineCollector& trackLines) {
    if (loaded != 0 && loaded != 1) {
        return "Load returned " + std::to_string(loaded);
    }
    if (document.waypointCount < 0 || (document.waypointCount > 0 && !document.waypoints)) {
        return "waypoint count without its array";
    }
    if (document.trackCount < 0 || (document.trackCount > 0 && !document.tracks)) {
        return "track count without its array";
    }
    if (loaded == 0 && document.FailureReason().empty()) {
        return "failed Load without a reason";
    }
    for (const WaypointEntry& waypoint : document.WaypointSpan()) {
        if (!Terminated(waypoint.name)) {
            return "waypoint name without a terminator";
        }
    }
    for (const TrackEntry& track : document.TrackSpan()) {
        std::string fault = TrackFault(track);
        if (!fault.empty()) {
            return fault;
        }
    }
    // A line is appended right after its entry is stored, so the lines list a prefix of the
    // entries, in order; a successful Load lists them all.
    const auto waypoints = document.WaypointSpan();
    const auto tracks = document.TrackSpan();
    if (waypointLines.lines.size() > waypoints.size() || trackLines.lines.size() > tracks.size()) {
        return "more lines than stored entries";
    }
    if (loaded == 1 && (waypointLines.lines.size() != waypoints.size() ||
                        trackLines.lines.size() != tracks.size())) {
        return "a successful Load did not list every entry";
    }
    for (std::size_t index = 0; index < waypointLines.lines.size(); ++index) {
        if (waypointLines.lines[index] != WaypointLine(waypoints[index])) {
            return "waypoint line " + std::to_string(index) + " does not show its entry";
        }
    }
    for (std::size_t index = 0; index < trackLines.lines.size(); ++index) {
        if (trackLines.lines[index] != TrackLine(tracks[index])) {
            return "track line " + std::to_string(index) + " does not show its entry";
        }
    }
    return {};
}

}  // namespace pelagor::fuzzing
