#pragma once

// The run of track ('T') records. Loading turns each into a TrackEntry with its points; writing
// builds one record per source track on the first reference record's track header.
//
// Body: name and NUL, a 9-byte track header (bytes 0 to 4 kept from the template, then the point
// count), then exactly that many 31-byte points (latitude, longitude, altitude valid, altitude as
// a double, time valid, time, depth valid and depth as a double).

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "mapsource/RecordList.h"
#include "tracklog/Entries.h"

namespace pelagor {

inline constexpr std::size_t kMpsTrackPointSize = 31;
inline constexpr std::size_t kTrackHeaderSize = 9;

// Where the fields of the 31-byte track point lie, for the readers and the writer alike.
namespace trackpoint {
inline constexpr std::size_t kLatitude = 0;       // signed semicircles
inline constexpr std::size_t kLongitude = 4;      // signed semicircles
inline constexpr std::size_t kAltitudeValid = 8;  // 1 when the altitude holds one
inline constexpr std::size_t kAltitude = 9;       // a double
inline constexpr std::size_t kTimeValid = 17;     // 1 when the time holds one
inline constexpr std::size_t kTime = 18;          // unsigned seconds
inline constexpr std::size_t kDepth = 22;         // depth valid, then the depth as a double
}  // namespace trackpoint

using TrackHeader = std::array<std::uint8_t, kTrackHeaderSize>;

struct TrackRecordView {
    std::string_view name;  // into the record's body
    TrackHeader trackHeader{};
    std::span<const std::uint8_t> points;  // into the record's body: pointCount() × 31 bytes

    [[nodiscard]] std::uint32_t pointCount() const;
};

// What a built track takes from its template: header bytes 0 to 4 (display and colour). A built
// point marks its altitude valid, its time valid unless it is 0, and has no depth, whatever the
// template's points say. When the reference offers no template, the built-in one marks the track
// shown.
struct TrackTemplate {
    TrackHeader trackHeader{};
};
TrackTemplate BuiltInTrackTemplate();

class TrackRecordList final : public RecordList<TrackRecordList, TrackRecordView, 'T'> {
public:
    static bool ParseView(std::span<const std::uint8_t> body, TrackRecordView& view,
                          std::string_view* rule = nullptr);
    // Fills `entry` (name cut to 31 bytes) and makes its point array. Fails only on a bad index
    // or when the points cannot be allocated, leaving pointCount 0 and no points.
    bool GetEntry(std::int32_t index, TrackEntry& entry) const;
    // The template of the records built for `entries`: the first record's, or the built-in one
    // when the list has no record, or when its first record has no point while some entry has
    // points.
    [[nodiscard]] TrackTemplate TemplateFor(std::span<const TrackEntry> entries) const;
    // Emits the record of `track` on `pattern`: its name, the template's track header with the
    // track's point count, and its points. Only counted, or written, as the cursor does.
    static void BuildRecord(RecordCursor& cursor, const TrackEntry& track,
                            const TrackTemplate& pattern);
};

}  // namespace pelagor
