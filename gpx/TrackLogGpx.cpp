#include <cmath>

#include "gpx/SourceWriters.h"

namespace pelagor::gpx {
namespace {

// A track log's altitudes are floats, and NaN stands for none.
Altitude TrackLogAltitude(float altitude) {
    return {static_cast<double>(altitude), true, std::isfinite(altitude)};
}

}  // namespace

void WriteWaypoints(GpxWriter& writer, const TrackLogDocument& log) {
    for (const WaypointEntry& waypoint : log.WaypointSpan()) {
        GpxWaypoint point;
        point.latitude = waypoint.latitude;
        point.longitude = waypoint.longitude;
        point.altitude = TrackLogAltitude(waypoint.altitude);
        point.name = NameOf(waypoint.name);
        writer.Waypoint(point);
    }
}

void WriteTracks(GpxWriter& writer, const TrackLogDocument& log) {
    for (const TrackEntry& track : log.TrackSpan()) {
        writer.BeginTrack(NameOf(track.name), 0);
        for (std::int32_t index = 0; index < track.pointCount; ++index) {
            const TrackPoint& point = track.points[static_cast<std::size_t>(index)];
            GpxTrackPoint out;
            out.latitude = point.latitude;
            out.longitude = point.longitude;
            out.altitude = TrackLogAltitude(point.altitude);
            out.time = point.time;
            writer.TrackPoint(out);
        }
        writer.EndTrack();
    }
}

}  // namespace pelagor::gpx
