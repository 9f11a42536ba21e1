#pragma once

// The reference document: a MapSource file read as a track log, whose header, record templates
// and map segments make the converted file.

#include <cstdint>
#include <filesystem>
#include <string>

#include "mapsource/MapSegments.h"
#include "mapsource/MpsHeader.h"
#include "mapsource/TrackRecords.h"
#include "mapsource/WaypointRecords.h"
#include "platform/FileIo.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor {

// Reference files with more track records than this are refused.
inline constexpr std::int32_t kMaxReferenceTracks = 9999;

class MapSourceDocument : public TrackLogDocument {
public:
    MapSourceDocument();
    ~MapSourceDocument() override;
    MapSourceDocument(const MapSourceDocument&) = delete;
    MapSourceDocument& operator=(const MapSourceDocument&) = delete;
    MapSourceDocument(MapSourceDocument&&) = delete;
    MapSourceDocument& operator=(MapSourceDocument&&) = delete;

    // Reads the reference file: header, the run of 'W' records, then (when it held any) a run of
    // 'R' records read over, the runs of 'T' and 'L' records and a 'V' record after them. Fills the
    // inherited waypoints and tracks from the 'W' and 'T' records, appending a line for each to
    // the given lists. FailureReason() names the record, its byte offset and the rule it broke.
    std::int32_t Load(const std::filesystem::path& path, LineSink* waypointList,
                      LineSink* trackList) override;
    std::int32_t LoadBytes(std::span<const std::uint8_t> data, LineSink* waypointList,
                           LineSink* trackList) override;

    // Writes `source` to `path` on this reference: its header, one 'W' record per source
    // waypoint (repeated names made unique in the output only) and one 'T' record per source
    // track, each built on the reference's records as loaded, then its segments and map set. The
    // output is sized from the templates and the source, and refused at 4 GiB or more, before any
    // record is built; then it is assembled in one buffer and written through the safe replace.
    // Neither document changes, so every call builds on the reference as loaded. Returns 1 once
    // the file is written, 0 otherwise, and then WriteFailureReason() says why. A document whose
    // Load failed is never written.
    std::int32_t WriteMerged(const TrackLogDocument& source, const std::filesystem::path& path,
                             platform::ReplaceMode mode = platform::ReplaceMode::Replace);

    [[nodiscard]] const std::string& WriteFailureReason() const { return m_writeFailureReason; }

    MpsHeader header;
    WaypointRecordList waypointRecords;
    TrackRecordList trackRecords;
    MapSegmentList segments;
    // The map set record ('V') that followed the segments, written last; without one the output
    // ends with an empty map set name and its "auto name" flag set, as MapSource writes it.
    MpsRecord mapSet;

private:
    std::int32_t ReadReference(std::span<const std::uint8_t> data, LineSink* waypointList,
                               LineSink* trackList, std::string& reason);
    std::int32_t Merge(const TrackLogDocument& source, const std::filesystem::path& path,
                       platform::ReplaceMode mode);
    std::int32_t RefuseWrite(std::string reason);
    bool EmitMapSet(RecordCursor& cursor) const;

    bool m_loaded = false;
    std::string m_writeFailureReason;
};

}  // namespace pelagor
