#pragma once

// The reference document: a MapSource file read as a track log, whose header, record templates
// and map segments make the converted file.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/FileIo.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor {

class MapSourceDocument : public TrackLogDocument {
public:
    MapSourceDocument();
    ~MapSourceDocument() override;
    MapSourceDocument(const MapSourceDocument&) = delete;
    MapSourceDocument& operator=(const MapSourceDocument&) = delete;
    MapSourceDocument(MapSourceDocument&&) = delete;
    MapSourceDocument& operator=(MapSourceDocument&&) = delete;

    // Reads the reference file: header, then the runs of 'W', 'T' and 'L' records. Fills the
    // inherited waypoints and tracks from the 'W' and 'T' records, appending a line for each to
    // the given lists. FailureReason() names the record, its byte offset and the rule it broke.
    std::int32_t Load(const std::filesystem::path& path, LineSink* waypointList,
                      LineSink* trackList) override;

    // Rebuilds the 'W' and then the 'T' records from `source` (renaming its repeated waypoint
    // names in place), sizes the output, assembles it in one buffer and writes it to `path`
    // through the safe replace. Returns 1 once the file is written, 0 otherwise, and then
    // WriteFailureReason() says why.
    std::int32_t WriteMerged(TrackLogDocument& source, const std::filesystem::path& path,
                             platform::ReplaceMode mode = platform::ReplaceMode::Replace);

    [[nodiscard]] const std::string& WriteFailureReason() const { return m_writeFailureReason; }

private:
    std::string m_writeFailureReason;
};

}  // namespace pelagor
