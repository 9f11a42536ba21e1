#include <algorithm>

#include "gpx/SourceWriters.h"

namespace pelagor::gpx {

void WriteWaypoints(GpxWriter& writer, const MapSourceArchive& archive) {
    archive.ForEachUserWaypoint([&writer](const ArchiveWaypoint& waypoint) {
        GpxWaypoint point;
        point.latitude = waypoint.latitude;
        point.longitude = waypoint.longitude;
        point.altitude = {waypoint.altitude, false, waypoint.altitudeValid};
        point.name = waypoint.name;
        point.comment = waypoint.notes;
        point.description = waypoint.description;
        point.symbol = waypoint.symbol;
        writer.Waypoint(point);
    });
}

void WriteRoutes(GpxWriter& writer, const MapSourceArchive& archive) {
    for (const ArchiveRoute& route : archive.routes) {
        writer.BeginRoute(route.name);
        for (const ArchiveRoutePoint& routePoint : route.points) {
            if (!routePoint.located) {
                writer.UnlocatedRoutePoint(routePoint.name);
                continue;
            }
            GpxWaypoint point;
            point.latitude = routePoint.latitude;
            point.longitude = routePoint.longitude;
            point.altitude = {routePoint.altitude, false, routePoint.altitudeValid};
            point.name = routePoint.name;
            point.comment = routePoint.notes;
            point.description = routePoint.description;
            point.symbol = routePoint.symbol;
            writer.RoutePoint(point);
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
