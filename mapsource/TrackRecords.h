#pragma once

// The run of track ('T') records. Loading turns each into a TrackEntry with its points; writing
// rebuilds the run from a source's tracks, every record made from the first reference record and
// its first point.
//
// Body: name and NUL, a 9-byte track header (bytes 0 to 4 kept from the template, then the point
// count), then exactly that many 31-byte points (latitude, longitude, altitude valid, altitude as
// a double, time valid, time, depth valid and depth as a double).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "mapsource/RecordList.h"
#include "tracklog/Entries.h"

namespace pelagor {

inline constexpr std::size_t kMpsTrackPointSize = 31;
inline constexpr std::size_t kTrackHeaderSize = 9;

using MpsTrackPoint = std::array<std::uint8_t, kMpsTrackPointSize>;
using TrackHeader = std::array<std::uint8_t, kTrackHeaderSize>;

struct TrackRecordView {
    std::string_view name;  // into the record's body
    TrackHeader trackHeader{};
    std::span<const std::uint8_t> points;  // into the record's body: pointCount() × 31 bytes

    [[nodiscard]] std::uint32_t pointCount() const;
    void SetPointCount(std::uint32_t count);
};

// What a rebuilt track takes from its template: header bytes 0 to 4 (display and colour). A
// rebuilt point marks its altitude valid, its time valid unless it is 0, and has no depth,
// whatever the template's first point says. When the reference offers no template, the built-in
// one marks the track shown.
struct TrackTemplate {
    TrackHeader trackHeader{};
    MpsTrackPoint point{};
};
TrackTemplate BuiltInTrackTemplate();

class TrackRecordList final : public RecordList<TrackRecordList, TrackRecordView, 'T'> {
public:
    bool ParseView(const MpsRecord& record, TrackRecordView& view,
                   std::string_view* rule = nullptr) const;
    // Fills `entry` (name cut to 31 bytes) and makes its point array. Fails only on a bad index
    // or when the points cannot be allocated, leaving pointCount 0 and no points.
    bool GetEntry(std::int32_t index, TrackEntry& entry) const;
    // Replaces the records with one per entry; the entries are only read. Uses the built-in
    // template when the list has no record, or when its first record has no point while some
    // entry has points. Fails, keeping the list, only when memory runs out.
    bool RebuildFromEntries(std::int32_t count, const TrackEntry* entries);
    // Gives `record` the body of `view`: its name, its track header, then its points, copied from
    // `view.points`. A view without point bytes leaves them for the caller to write through the
    // returned span: the rebuild writes each point once, straight into the body. Empty when the
    // body cannot be allocated or `view.points` holds neither no bytes nor pointCount() points.
    static std::optional<std::span<std::uint8_t>> BuildRecord(const TrackRecordView& view,
                                                              MpsRecord& record);

    // The template a rebuild of `entries` would use.
    [[nodiscard]] TrackTemplate TemplateFor(std::span<const TrackEntry> entries) const;
};

}  // namespace pelagor
