#pragma once

// How a file given as a source is opened, by the command line and the window alike: it is read
// once; a MapSource file, known by its first six bytes, is read whole as an archive, and any
// other file as a track log (WTR, then EVO, as LoadSource does).

#include <cstdint>
#include <filesystem>
#include <memory>

#include "mapsource/MapSourceArchive.h"
#include "tracklog/SourceLoader.h"

namespace pelagor {

struct OpenedSource {
    // The WTR or EVO document (the failed EVO one when neither read it, the failed WTR one when
    // the file could not be read); absent for a MapSource file, and when memory ran out.
    std::unique_ptr<TrackLogDocument> trackLog;
    // The archive, for a MapSource file when archives are read; absent when memory ran out.
    std::unique_ptr<MapSourceArchive> archive;
    bool mapSourceFile = false;  // the file begins with MapSource's signature
    // 1 when the track log loaded, or when the archive was read whole (every record); else 0.
    std::int32_t result = 0;
    SourceLoadReport report;  // why the track-log readers refused the file
};

enum class ArchiveUse : std::uint8_t {
    Read,    // a MapSource file is read as an archive
    Refuse,  // a MapSource file is only recognised, not read whole
};

// Opens `path`, appending the listing line of each user waypoint and track (an archive's map
// points are not listed) to the sinks, either of which may be null. Never throws.
OpenedSource OpenSource(const std::filesystem::path& path, LineSink* waypointList,
                        LineSink* trackList, ArchiveUse archives = ArchiveUse::Read) noexcept;

// Appends the listing lines of `archive` as OpenSource does.
void ListArchive(const MapSourceArchive& archive, LineSink* waypointList, LineSink* trackList);

}  // namespace pelagor
