#include "mapsource/TrackRecords.h"

#include <algorithm>
#include <optional>

#include "bytes/LittleEndian.h"
#include "tracklog/Derivations.h"

namespace pelagor {
namespace {

constexpr std::size_t kPointCountOffset = 5;
constexpr std::size_t kKeptHeaderBytes = 5;
constexpr std::size_t kAltitudeValidOffset = 8;
constexpr std::size_t kTimeValidOffset = 17;
constexpr std::size_t kDepthOffset = 22;  // depth valid and depth, to the point's end

}  // namespace

std::uint32_t TrackRecordView::pointCount() const {
    return LoadLe<std::uint32_t>(trackHeader.data() + kPointCountOffset);
}

void TrackRecordView::SetPointCount(std::uint32_t count) {
    StoreLe(trackHeader.data() + kPointCountOffset, count);
}

TrackTemplate BuiltInTrackTemplate() {
    TrackTemplate builtIn;
    builtIn.trackHeader[0] = 0x01;  // shown
    builtIn.point[kAltitudeValidOffset] = 0x01;
    builtIn.point[kTimeValidOffset] = 0x01;
    return builtIn;
}

bool TrackRecordList::ParseView(const MpsRecord& record, TrackRecordView& view,
                                std::string_view* rule) const {
    ReadCursor body(record.Body());
    const auto name = ReadText(body);
    if (!name) {
        return Refuse(rule, "track name has no terminator");
    }
    const auto header = body.Bytes(kTrackHeaderSize);
    if (!header) {
        return Refuse(rule, "track body shorter than its 9-byte track header");
    }
    TrackRecordView parsed;
    parsed.name = *name;
    std::copy(header->begin(), header->end(), parsed.trackHeader.begin());
    // 64-bit product: a count whose product only matches modulo 2^32 must not pass.
    if (std::uint64_t{parsed.pointCount()} * kMpsTrackPointSize != body.remaining()) {
        return Refuse(rule, "track body length does not match its point count");
    }
    parsed.points = body.Rest();
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
    const std::uint8_t* point = view.points.data();
    for (std::int32_t j = 0; j < entry.pointCount; ++j, point += kMpsTrackPointSize) {
        SetTrackPoint(entry.points[static_cast<std::size_t>(j)], LoadLe<std::int32_t>(point),
                      LoadLe<std::int32_t>(point + 4), LoadLe<std::uint32_t>(point + 18),
                      static_cast<float>(LoadLe<double>(point + 9)));
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
    const TrackRecordView& first = Views()[0];
    TrackTemplate chosen;
    std::copy_n(first.trackHeader.begin(), kKeptHeaderBytes, chosen.trackHeader.begin());
    if (!first.points.empty()) {
        std::copy_n(first.points.begin(), kMpsTrackPointSize, chosen.point.begin());
    }
    return chosen;
}

bool TrackRecordList::RebuildFromEntries(std::int32_t count, const TrackEntry* entries) {
    if (count < 0 || (count > 0 && entries == nullptr)) {
        return false;
    }
    const auto length = static_cast<std::size_t>(count);
    const std::span<const TrackEntry> tracks(entries, length);
    auto newRecords = NewArray<MpsRecord>(length);
    if (length != 0 && !newRecords) {
        return false;
    }
    TrackTemplate pattern = TemplateFor(tracks);
    // Every point carries an altitude and has no depth: the template's depth must not be stamped
    // on every point. Whether it has a time is told per point below, so that a template drawn
    // without times cannot hide ours.
    pattern.point[kAltitudeValidOffset] = 1;
    std::fill(pattern.point.begin() + kDepthOffset, pattern.point.end(), std::uint8_t{0});
    for (std::size_t index = 0; index < length; ++index) {
        const TrackEntry& track = tracks[index];
        const auto pointCount =
            track.points ? static_cast<std::size_t>(std::max(track.pointCount, 0)) : 0U;
        TrackRecordView working;
        working.trackHeader = pattern.trackHeader;
        working.name = NameOf(track.name);
        working.SetPointCount(static_cast<std::uint32_t>(pointCount));
        // The points are written straight into the new body: a separate point buffer would
        // only add one more copy of the largest part of the output.
        const auto points = BuildRecord(working, newRecords[index]);
        if (!points) {
            return false;
        }
        std::uint8_t* out = points->data();
        for (std::size_t j = 0; j < pointCount; ++j, out += kMpsTrackPointSize) {
            const TrackPoint& point = track.points[j];
            std::copy(pattern.point.begin(), pattern.point.end(), out);
            StoreLe(out, point.latitude);
            StoreLe(out + 4, point.longitude);
            StoreLe(out + 9, static_cast<double>(point.altitude));
            out[kTimeValidOffset] = point.time != 0 ? 1 : 0;
            StoreLe(out + 18, point.time);
        }
    }
    return ReplaceRecords(std::move(newRecords), length);
}

std::optional<std::span<std::uint8_t>> TrackRecordList::BuildRecord(const TrackRecordView& view,
                                                                    MpsRecord& record) {
    const std::uint64_t pointBytes = std::uint64_t{view.pointCount()} * kMpsTrackPointSize;
    if (!view.points.empty() && view.points.size() != pointBytes) {
        return std::nullopt;  // a view whose points do not match its count would write a broken
                              // record
    }
    const std::uint64_t length =
        std::uint64_t{view.name.size()} + 1U + kTrackHeaderSize + pointBytes;
    if (!AllocateRecord(record, kType, length)) {
        return std::nullopt;
    }
    std::uint8_t* out = record.body.get();
    out = std::copy(view.name.begin(), view.name.end(), out);
    *out++ = 0;
    out = std::copy(view.trackHeader.begin(), view.trackHeader.end(), out);
    std::copy(view.points.begin(), view.points.end(), out);
    return std::span<std::uint8_t>(out, static_cast<std::size_t>(pointBytes));
}

}  // namespace pelagor
