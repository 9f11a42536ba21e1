#include "gpx/GpxExport.h"

#include <cmath>

#include "gpx/GpxWriter.h"

namespace pelagor::gpx {
namespace {

// A track log's altitudes are floats, and NaN stands for none.
Altitude TrackLogAltitude(float altitude) {
    return {static_cast<double>(altitude), true, std::isfinite(altitude)};
}

void WriteWaypoints(GpxWriter& writer, const GpxSource& source) {
    if (source.log == nullptr) {
        return;
    }
    for (const WaypointEntry& waypoint : source.log->WaypointSpan()) {
        GpxWaypoint point;
        point.latitude = waypoint.latitude;
        point.longitude = waypoint.longitude;
        point.altitude = TrackLogAltitude(waypoint.altitude);
        point.name = NameOf(waypoint.name);
        writer.Waypoint(point);
    }
}

// A track log holds no routes.
void WriteRoutes(GpxWriter& /*writer*/, const GpxSource& /*source*/) {}

void WriteTracks(GpxWriter& writer, const GpxSource& source) {
    if (source.log == nullptr) {
        return;
    }
    for (const TrackEntry& track : source.log->TrackSpan()) {
        writer.BeginTrack(NameOf(track.name), 0);
        for (std::int32_t index = 0; index < track.pointCount; ++index) {
            const TrackPoint& point = track.points[static_cast<std::size_t>(index)];
            writer.TrackPoint({.latitude = point.latitude,
                               .longitude = point.longitude,
                               .altitude = TrackLogAltitude(point.altitude),
                               .time = point.time});
        }
        writer.EndTrack();
    }
}

}  // namespace

std::string Creator() {
    return std::string("pelagor-cli ") + PELAGOR_VERSION;
}

bool ExportGpx(std::span<const GpxSource> sources, std::string_view encoding,
               std::string_view creator, std::ostream& warnings, platform::OutputSink& out) {
    GpxWriter writer(out, encoding, warnings);
    writer.Begin(creator, false);
    // Each kind file by file, in the order the GPX schema wants them.
    for (const auto write : {WriteWaypoints, WriteRoutes, WriteTracks}) {
        for (const GpxSource& source : sources) {
            writer.BeginSource(source.label);
            write(writer, source);
        }
    }
    return writer.End();
}

platform::FileError ExportGpxFile(const std::filesystem::path& path,
                                  std::span<const GpxSource> sources, std::string_view encoding,
                                  std::string_view creator, std::ostream& warnings) noexcept {
    platform::FileError error;
    const bool written = platform::ReplaceFileWith(
        path,
        [&](platform::OutputSink& out) {
            return ExportGpx(sources, encoding, creator, warnings, out);
        },
        platform::ReplaceMode::Replace, &error);
    if (!written && error.kind == platform::FileErrorKind::None) {
        error.kind = platform::FileErrorKind::Other;
    }
    return error;
}

}  // namespace pelagor::gpx
