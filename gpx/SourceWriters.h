#pragma once

// Each kind of source told to the writer as plain points: a track log's waypoints and tracks,
// an archive's user waypoints, routes and tracks.

#include "gpx/GpxWriter.h"
#include "mapsource/MapSourceArchive.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::gpx {

void WriteWaypoints(GpxWriter& writer, const TrackLogDocument& log);
void WriteTracks(GpxWriter& writer, const TrackLogDocument& log);

// Only the user's waypoints: map points serve the routes that pass them.
void WriteWaypoints(GpxWriter& writer, const MapSourceArchive& archive);
void WriteRoutes(GpxWriter& writer, const MapSourceArchive& archive);
void WriteTracks(GpxWriter& writer, const MapSourceArchive& archive);
// Whether a track of `archive` has a display colour, which needs Garmin's extensions declared.
bool UsesTrackColours(const MapSourceArchive& archive);

}  // namespace pelagor::gpx
