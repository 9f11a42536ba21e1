// The WTR reader: the base document's own Load.
//
// A WTR file is a signature, then one run of 64-byte slots from offset 16: every slot before the
// first one marked "\xffTrk\xff" is a waypoint, and that marked slot holds the one track, whose
// 21-byte point slots run from T + 50 up to the first slot marked "\xffRte\xff".

#include <array>
#include <cstdint>
#include <string>

#include "bytes/ByteReader.h"
#include "tracklog/Derivations.h"
#include "tracklog/Listing.h"
#include "tracklog/RecordFields.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor {
namespace {

using Marker = std::array<std::uint8_t, 5>;
constexpr Marker kWaypointSignature{0xFF, 'W', 'p', 't', 0xFF};
constexpr Marker kTrackSlotMarker{0xFF, 'T', 'r', 'k', 0xFF};
constexpr Marker kTrackHeaderMarker{0xEE, 'h', 'd', 'r', 0xEE};
constexpr Marker kTrackEndMarker{0xFF, 'R', 't', 'e', 0xFF};

constexpr std::size_t kFirstSlot = 16;
constexpr std::size_t kWaypointSlotSize = 64;
constexpr std::size_t kPointSlotSize = 21;
constexpr std::size_t kTrackHeaderOffset = 16;
constexpr std::size_t kTrackNameOffset = 34;
constexpr std::size_t kTrackNameLookahead = 32;
constexpr std::size_t kFirstPointOffset = 50;

// Where the first slot marked `marker` begins, stepping by `slotSize` from `start`; empty when
// the data ends before such a slot.
std::optional<std::size_t> FindMarkedSlot(std::span<const std::uint8_t> data, std::size_t start,
                                          std::size_t slotSize, const Marker& marker) {
    ByteReader slot(data);
    for (std::size_t offset = start; slot.Seek(offset); offset += slotSize) {
        if (slot.remaining() < marker.size()) {
            return std::nullopt;
        }
        if (slot.StartsWith(marker)) {
            return offset;
        }
    }
    return std::nullopt;
}

// A name ends at a zero byte.
std::optional<std::string_view> ZeroEndedName(const ByteReader& reader, std::size_t lookahead) {
    return TerminatedName(reader, lookahead, std::string_view("\0", 1));
}

std::int32_t ReadWtr(TrackLogDocument& document, std::span<const std::uint8_t> data,
                     LineSink* waypointList, LineSink* trackList, std::string& reason) {
    if (!WtrMayRead(data)) {
        return Fail(reason, "not a WTR file (signature)");
    }
    ByteReader reader(data);
    const auto trackSlot = FindMarkedSlot(data, kFirstSlot, kWaypointSlotSize, kTrackSlotMarker);
    if (!trackSlot) {
        return Fail(reason, "no track slot (FF 'Trk' FF) before the end of the data");
    }
    const std::size_t waypointTotal = (*trackSlot - kFirstSlot) / kWaypointSlotSize;
    if (waypointTotal == 0) {
        return 1;  // A file that starts with its track slot is an empty log, track or not.
    }
    if (!MakeEntries(document.waypoints, document.waypointCount,
                     static_cast<std::int64_t>(waypointTotal))) {
        return Fail(reason, "out of memory for the waypoints");
    }
    // Every waypoint slot lies whole before the track slot, so these reads cannot fail.
    for (std::size_t index = 0; index < waypointTotal; ++index) {
        const std::size_t slot = kFirstSlot + index * kWaypointSlotSize;
        WaypointEntry& waypoint = document.waypoints[index];
        Guaranteed(reader.Seek(slot));
        SetName(waypoint.name, Guaranteed(ZeroEndedName(reader, 10)));
        Guaranteed(reader.Seek(slot + 20));
        waypoint.latitude = Guaranteed(reader.I32le());
        waypoint.longitude = Guaranteed(reader.I32le());
        waypoint.altitude = WaypointAltitude(Guaranteed(reader.F32le()));
        Guaranteed(reader.Seek(slot + 40));
        waypoint.symbol = Guaranteed(reader.U16le());
        if (waypointList != nullptr) {
            waypointList->AppendLine(WaypointLine(waypoint));
        }
    }

    const std::size_t trackStart = *trackSlot;
    if (!reader.Seek(trackStart + kTrackHeaderOffset) ||
        reader.remaining() < kTrackHeaderMarker.size()) {
        return FailAt(reason, "data ends before the track header marker",
                      trackStart + kTrackHeaderOffset);
    }
    if (!reader.StartsWith(kTrackHeaderMarker)) {
        return 1;  // No header marker: the file has waypoints and no track.
    }
    if (!MakeEntries(document.tracks, document.trackCount, 1)) {
        return Fail(reason, "out of memory for the track");
    }
    TrackEntry& track = document.tracks[0];
    const std::optional<std::string_view> name = reader.Seek(trackStart + kTrackNameOffset)
                                                     ? ZeroEndedName(reader, kTrackNameLookahead)
                                                     : std::nullopt;
    if (!name) {
        return FailAt(reason, "data ends before the end of the track name",
                      trackStart + kTrackNameOffset);
    }
    SetName(track.name, *name);  // a name without a zero byte keeps its first 31 characters

    const std::size_t firstPoint = trackStart + kFirstPointOffset;
    const auto endSlot = FindMarkedSlot(data, firstPoint, kPointSlotSize, kTrackEndMarker);
    if (!endSlot) {
        return FailAt(reason, "no end-of-track marker (FF 'Rte' FF) after the track", firstPoint);
    }
    const std::size_t pointTotal = (*endSlot - firstPoint) / kPointSlotSize;
    if (!MakeEntries(track.points, track.pointCount, static_cast<std::int64_t>(pointTotal))) {
        return Fail(reason, "out of memory for the track points");
    }
    ReadTrackPoints(data, firstPoint, kPointSlotSize, track);
    if (trackList != nullptr) {
        trackList->AppendLine(TrackLine(track));
    }
    return 1;
}

}  // namespace

bool WtrMayRead(std::span<const std::uint8_t> firstBytes) {
    return ByteReader(firstBytes).StartsWith(kWaypointSignature);
}

std::int32_t TrackLogDocument::Load(const std::filesystem::path& path, LineSink* waypointList,
                                    LineSink* trackList) {
    return LoadFile(path, waypointList, trackList, WtrMayRead);
}

std::int32_t TrackLogDocument::LoadBytes(std::span<const std::uint8_t> data, LineSink* waypointList,
                                         LineSink* trackList) {
    return RunParse(data, [&](std::span<const std::uint8_t> bytes, std::string& reason) {
        return ReadWtr(*this, bytes, waypointList, trackList, reason);
    });
}

}  // namespace pelagor
