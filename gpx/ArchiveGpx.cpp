#include <algorithm>

#include "gpx/SourceWriters.h"

namespace pelagor::gpx {
namespace {

// A waypoint record or a route point, whose fields share their names. The notes are <cmt>.
template <typename Point>
GpxWaypoint AsGpxWaypoint(const Point& source) {
    GpxWaypoint point;
    point.latitude = source.latitude;
    point.longitude = source.longitude;
    point.altitude = {source.altitude, false, source.altitudeValid};
    point.name = source.name;
    point.comment = source.notes;
    point.description = source.description;
    point.symbol = source.symbol;
    return point;
}

}  // namespace

void WriteWaypoints(GpxWriter& writer, const MapSourceArchive& archive) {
    archive.ForEachUserWaypoint(
        [&writer](const ArchiveWaypoint& waypoint) { writer.Waypoint(AsGpxWaypoint(waypoint)); });
}

void WriteRoutes(GpxWriter& writer, const MapSourceArchive& archive) {
    for (const ArchiveRoute& route : archive.routes) {
        writer.BeginRoute(route.name);
        for (const ArchiveRoutePoint& routePoint : route.points) {
            if (!routePoint.located) {
                writer.UnlocatedRoutePoint(routePoint.name);
                continue;
            }
            writer.RoutePoint(AsGpxWaypoint(routePoint));
        }
        writer.EndRoute();
    }
}

void WriteTracks(GpxWriter& writer, const MapSourceArchive& archive) {
    for (const ArchiveTrack& track : archive.tracks) {
        writer.BeginTrack(track.name, track.colour);
        for (const ArchiveTrackPoint& trackPoint : track.points) {
            GpxTrackPoint point;
            point.latitude = trackPoint.latitude;
            point.longitude = trackPoint.longitude;
            point.altitude = {trackPoint.altitude, false, trackPoint.altitudeValid};
            if (trackPoint.timeValid) {
                point.time = trackPoint.time;
            }
            writer.TrackPoint(point);
        }
        writer.EndTrack();
    }
}

bool UsesTrackColours(const MapSourceArchive& archive) {
    return std::ranges::any_of(archive.tracks, [](const ArchiveTrack& track) {
        return GarminColourName(track.colour).has_value();
    });
}

}  // namespace pelagor::gpx
