#include "mapsource/SourceFile.h"

#include <new>

namespace pelagor {
namespace {

bool SourceOrArchiveMayRead(std::span<const std::uint8_t> firstBytes) {
    return IsMapSourceFile(firstBytes) || TrackLogMayRead(firstBytes);
}

}  // namespace

void ListArchive(const MapSourceArchive& archive, LineSink* waypointList, LineSink* trackList) {
    if (waypointList != nullptr) {
        archive.ForEachUserWaypoint([waypointList](const ArchiveWaypoint& waypoint) {
            waypointList->AppendLine(ArchiveWaypointLine(waypoint));
        });
    }
    if (trackList != nullptr) {
        for (const ArchiveTrack& track : archive.tracks) {
            trackList->AppendLine(ArchiveTrackLine(track));
        }
    }
}

OpenedSource OpenSource(const std::filesystem::path& path, LineSink* waypointList,
                        LineSink* trackList, ArchiveUse archives) noexcept {
    OpenedSource opened;
    // A MapSource file that is not to be read passes no first rule, so it is not read whole.
    const FileForLoad file = TrackLogDocument::ReadForLoad(
        path, archives == ArchiveUse::Read ? SourceOrArchiveMayRead : TrackLogMayRead);
    opened.mapSourceFile = file.Readable() && IsMapSourceFile(file.Bytes());
    if (!opened.mapSourceFile) {
        opened.result =
            LoadSourceRead(opened.trackLog, file, waypointList, trackList, &opened.report);
        return opened;
    }
    if (archives == ArchiveUse::Refuse) {
        return opened;
    }
    opened.archive.reset(new (std::nothrow) MapSourceArchive);
    if (!opened.archive) {
        return opened;
    }
    LoadArchive(file.Bytes(), *opened.archive);
    try {
        ListArchive(*opened.archive, waypointList, trackList);
    } catch (...) {
        return opened;  // no memory for the lines: the archive is there, not the result
    }
    opened.result = opened.archive->complete ? 1 : 0;
    return opened;
}

}  // namespace pelagor
