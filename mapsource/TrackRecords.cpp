#include "mapsource/TrackRecords.h"

#include <algorithm>

#include "bytes/LittleEndian.h"
#include "tracklog/Derivations.h"

namespace pelagor {
namespace {

constexpr std::size_t kPointCountOffset = 5;
constexpr std::size_t kKeptHeaderBytes = 5;

void ReadPoint(const std::uint8_t* bytes, TrackPoint& read) {
    SetTrackPoint(read, LoadLe<std::int32_t>(bytes + trackpoint::kLatitude),
                  LoadLe<std::int32_t>(bytes + trackpoint::kLongitude),
                  LoadLe<std::uint32_t>(bytes + trackpoint::kTime),
                  static_cast<float>(LoadLe<double>(bytes + trackpoint::kAltitude)));
}

// Every point carries an altitude and no depth; whether it has a time is told per point, so that
// the points of a log recorded without times do not claim the time 0.
void WritePoint(std::uint8_t* bytes, const TrackPoint& written) {
    StoreLe(bytes + trackpoint::kLatitude, written.latitude);
    StoreLe(bytes + trackpoint::kLongitude, written.longitude);
    bytes[trackpoint::kAltitudeValid] = 1;
    StoreLe(bytes + trackpoint::kAltitude, static_cast<double>(written.altitude));
    bytes[trackpoint::kTimeValid] = written.time != 0 ? 1 : 0;
    StoreLe(bytes + trackpoint::kTime, written.time);
    std::fill(bytes + trackpoint::kDepth, bytes + kMpsTrackPointSize, std::uint8_t{0});
}

}  // namespace

std::uint32_t TrackRecordView::pointCount() const {
    return LoadLe<std::uint32_t>(trackHeader.data() + kPointCountOffset);
}

TrackTemplate BuiltInTrackTemplate() {
    TrackTemplate builtIn;
    builtIn.trackHeader[0] = 0x01;  // shown
    return builtIn;
}

bool TrackRecordList::ParseView(std::span<const std::uint8_t> body, TrackRecordView& view,
                                std::string_view* rule) {
    ReadCursor cursor(body);
    const auto name = ReadText(cursor);
    if (!name) {
        return Refuse(rule, "track name has no terminator");
    }
    const auto header = cursor.Bytes(kTrackHeaderSize);
    if (!header) {
        return Refuse(rule, "track body shorter than its 9-byte track header");
    }
    TrackRecordView parsed;
    parsed.name = *name;
    std::copy(header->begin(), header->end(), parsed.trackHeader.begin());
    // 64-bit product: a count whose product only matches modulo 2^32 must not pass.
    if (std::uint64_t{parsed.pointCount()} * kMpsTrackPointSize != cursor.remaining()) {
        return Refuse(rule, "track body length does not match its point count");
    }
    parsed.points = cursor.Rest();
    view = parsed;
    return true;
}

bool TrackRecordList::GetEntry(std::int32_t index, TrackEntry& entry) const {
    if (index < 0 || index >= recordCount || !views) {
        return false;
    }
    const TrackRecordView& view = views[static_cast<std::size_t>(index)];
    SetName(entry.name, view.name);
    if (!MakeEntries(entry.points, entry.pointCount, std::int64_t{view.pointCount()})) {
        return false;
    }
    const std::uint8_t* bytes = view.points.data();
    for (std::int32_t j = 0; j < entry.pointCount; ++j, bytes += kMpsTrackPointSize) {
        ReadPoint(bytes, entry.points[static_cast<std::size_t>(j)]);
    }
    return true;
}

TrackTemplate TrackRecordList::TemplateFor(std::span<const TrackEntry> entries) const {
    const bool needsPoint =
        std::any_of(entries.begin(), entries.end(),
                    [](const TrackEntry& entry) { return entry.pointCount > 0; });
    if (Views().empty() || (needsPoint && Views()[0].points.empty())) {
        return BuiltInTrackTemplate();
    }
    TrackTemplate chosen;
    std::copy_n(Views()[0].trackHeader.begin(), kKeptHeaderBytes, chosen.trackHeader.begin());
    return chosen;
}

void TrackRecordList::BuildRecord(RecordCursor& cursor, const TrackEntry& track,
                                  const TrackTemplate& pattern) {
    const std::string_view name = NameOf(track.name);
    const auto pointCount =
        track.points ? static_cast<std::size_t>(std::max(track.pointCount, 0)) : 0U;
    const std::uint64_t pointBytes = std::uint64_t{pointCount} * kMpsTrackPointSize;
    // A length past 32 bits makes an output that is refused before it is written.
    cursor.EmitU32(static_cast<std::uint32_t>(name.size() + 1U + kTrackHeaderSize + pointBytes));
    cursor.EmitU8(kType);
    cursor.EmitText(name);
    TrackHeader header = pattern.trackHeader;
    StoreLe(header.data() + kPointCountOffset, static_cast<std::uint32_t>(pointCount));
    cursor.Emit(header);
    // The points are written straight into the output: the largest part of it is copied once.
    std::uint8_t* out = cursor.Reserve(pointBytes).data();
    for (std::size_t j = 0; out != nullptr && j < pointCount; ++j, out += kMpsTrackPointSize) {
        WritePoint(out, track.points[j]);
    }
}

}  // namespace pelagor
