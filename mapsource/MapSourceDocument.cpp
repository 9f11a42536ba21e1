#include "mapsource/MapSourceDocument.h"

#include <string>

#include "platform/Memory.h"
#include "platform/PathText.h"
#include "tracklog/Listing.h"

namespace pelagor {
namespace {

// "record 4 ('W') at byte 418: waypoint name has no terminator"; a fault of the signature names
// no record.
std::int32_t FailAtRecord(std::string& reason, const MpsFault& fault, std::size_t firstIndex) {
    if (!fault.recordKnown) {
        return FailAt(reason, fault.rule, fault.offset);
    }
    reason = RecordPlace(firstIndex + fault.recordIndex, fault.type, fault.offset) + ": ";
    reason += fault.rule;
    return 0;
}

// The byte offset of record `index` of a run that begins at `start`.
template <typename List>
std::size_t OffsetOf(const List& list, std::size_t start, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i) {
        start += kFrameSize + list.Records()[i].length;
    }
    return start;
}

// Why an output that the sizing pass counted cannot be written; empty when it can.
std::string SizeProblem(bool complete, const RecordCursor& sizing) {
    if (!complete) {
        return "a record to be written has no body";
    }
    if (sizing.total() > kMaxOutputSize) {
        return "the output would be " + std::to_string(sizing.total()) + " bytes, 4 GiB or more";
    }
    return {};
}

}  // namespace

MapSourceDocument::MapSourceDocument() = default;
MapSourceDocument::~MapSourceDocument() = default;

std::int32_t MapSourceDocument::Load(const std::filesystem::path& path, LineSink* waypointList,
                                     LineSink* trackList) {
    m_loaded = false;
    return LoadFile(path, waypointList, trackList, MpsMayRead);
}

std::int32_t MapSourceDocument::LoadBytes(std::span<const std::uint8_t> data,
                                          LineSink* waypointList, LineSink* trackList) {
    m_loaded = false;
    const std::int32_t result =
        RunParse(data, [&](std::span<const std::uint8_t> bytes, std::string& reason) {
            return ReadReference(bytes, waypointList, trackList, reason);
        });
    m_loaded = result != 0;
    return result;
}

std::int32_t MapSourceDocument::ReadReference(std::span<const std::uint8_t> data,
                                              LineSink* waypointList, LineSink* trackList,
                                              std::string& reason) {
    ReadCursor cursor(data);
    MpsFault fault;
    if (!header.ParseHeader(cursor, &fault)) {
        return FailAtRecord(reason, fault, 0);
    }
    std::size_t recordsBefore = 2;
    waypointRecords.SetVersion(header.Version());
    if (!waypointRecords.ParseList(cursor, &fault)) {
        return FailAtRecord(reason, fault, recordsBefore);
    }
    const std::int32_t waypointTotal = waypointRecords.recordCount;
    if (waypointTotal == 0) {
        return 1;  // without waypoints the file is no template; the later runs are not read
    }
    if (!MakeEntries(waypoints, waypointCount, waypointTotal)) {
        return Fail(reason, "out of memory for the waypoints");
    }
    for (std::int32_t index = 0; index < waypointTotal; ++index) {
        WaypointEntry& entry = waypoints[static_cast<std::size_t>(index)];
        Guaranteed(waypointRecords.GetEntry(index, entry));
        if (waypointList != nullptr) {
            waypointList->AppendLine(WaypointLine(entry));
        }
    }
    recordsBefore += static_cast<std::size_t>(waypointTotal);
    // Routes name the reference's own waypoints: they are read over, never kept.
    recordsBefore += SkipRun(cursor, 'R');

    const std::size_t trackStart = cursor.position();
    if (!trackRecords.ParseList(cursor, &fault,
                                {kMaxReferenceTracks, "more than 9999 track records"})) {
        return FailAtRecord(reason, fault, recordsBefore);
    }
    const std::int32_t trackTotal = trackRecords.recordCount;
    if (trackTotal > 0) {
        if (!MakeEntries(tracks, trackCount, trackTotal)) {
            return Fail(reason, "out of memory for the tracks");
        }
        for (std::int32_t index = 0; index < trackTotal; ++index) {
            TrackEntry& entry = tracks[static_cast<std::size_t>(index)];
            if (!trackRecords.GetEntry(index, entry)) {
                const auto at = static_cast<std::size_t>(index);
                fault = {at, OffsetOf(trackRecords, trackStart, at), 'T', true,
                         "out of memory for the track points"};
                return FailAtRecord(reason, fault, recordsBefore);
            }
            if (trackList != nullptr) {
                trackList->AppendLine(TrackLine(entry));
            }
        }
    }
    recordsBefore += static_cast<std::size_t>(trackTotal);

    if (!segments.ParseList(cursor, &fault)) {
        return FailAtRecord(reason, fault, recordsBefore);
    }
    MpsRecord last;
    if (ReadRecord(cursor, last) && last.type == 'V') {
        mapSet = std::move(last);
    }
    return 1;  // whatever follows is not read
}

bool MapSourceDocument::EmitMapSet(RecordCursor& cursor) const {
    if (mapSet.body) {
        return EmitRecord(cursor, mapSet);
    }
    static constexpr std::array<std::uint8_t, 7> kNoName{2, 0, 0, 0, 'V', 0, 1};
    cursor.Emit(kNoName);
    return true;
}

std::int32_t MapSourceDocument::WriteMerged(const TrackLogDocument& source,
                                            const std::filesystem::path& path,
                                            platform::ReplaceMode mode) {
    m_writeFailureReason.clear();
    try {
        return Merge(source, path, mode);
    } catch (...) {
        return RefuseWrite("out of memory");
    }
}

std::int32_t MapSourceDocument::RefuseWrite(std::string reason) {
    m_writeFailureReason = std::move(reason);
    return 0;
}

std::int32_t MapSourceDocument::Merge(const TrackLogDocument& source,
                                      const std::filesystem::path& path,
                                      platform::ReplaceMode mode) {
    // A document whose Load failed may hold lists with records never read; nothing is built on it.
    if (!m_loaded) {
        return RefuseWrite("the reference file did not load");
    }
    const std::span<const WaypointEntry> sourceWaypoints = source.WaypointSpan();
    const std::span<const TrackEntry> sourceTracks = source.TrackSpan();
    if (!sourceWaypoints.empty() && waypointRecords.recordCount == 0) {
        return RefuseWrite("the reference file has no waypoint record to build waypoints from");
    }
    std::unique_ptr<WaypointBuild[]> plan;
    if (!waypointRecords.PlanRebuild(sourceWaypoints, plan)) {
        return RefuseWrite("out of memory while planning the waypoint records");
    }
    const std::span<WaypointBuild> builds(plan.get(), sourceWaypoints.size());
    const TrackTemplate trackTemplate = trackRecords.TemplateFor(sourceTracks);
    // One pass sizes the output, and the same pass with a target writes it.
    const auto emitAll = [&](RecordCursor& cursor) {
        if (!header.EmitHeader(cursor)) {
            return false;
        }
        for (std::size_t index = 0; index < sourceWaypoints.size(); ++index) {
            waypointRecords.EmitRebuilt(cursor, builds[index], sourceWaypoints[index]);
        }
        for (const TrackEntry& track : sourceTracks) {
            TrackRecordList::BuildRecord(cursor, track, trackTemplate);
        }
        return segments.EmitAll(cursor) && EmitMapSet(cursor);
    };
    // Sized before anything is built. Settling the padding bytes builds some waypoints aside and
    // only adds bytes, so an output too large without them is refused first.
    RecordCursor unpadded;
    if (std::string problem = SizeProblem(emitAll(unpadded), unpadded); !problem.empty()) {
        return RefuseWrite(std::move(problem));
    }
    waypointRecords.SettlePadding(builds, sourceWaypoints);
    RecordCursor sizing;
    if (std::string problem = SizeProblem(emitAll(sizing), sizing); !problem.empty()) {
        return RefuseWrite(std::move(problem));
    }
    const auto size = static_cast<std::size_t>(sizing.total());
    // Not zero-filled: the writing pass fills every byte, as its total shows.
    std::unique_ptr<std::uint8_t[]> buffer = platform::NewByteBuffer(size);
    if (!buffer) {
        return RefuseWrite("out of memory for the " + std::to_string(size) + "-byte output");
    }
    const std::span<std::uint8_t> bytes(buffer.get(), size);
    RecordCursor writing(bytes);
    if (!emitAll(writing) || writing.total() != size || !writing.withinTarget()) {
        return RefuseWrite("the output changed between sizing and writing");
    }
    platform::FileError error;
    if (!platform::ReplaceFileContents(path, bytes, mode, &error)) {
        return RefuseWrite("cannot write " + platform::PrintableName(platform::PathToUtf8(path)) +
                           ": " + platform::Describe(error));
    }
    return 1;
}

}  // namespace pelagor
