#pragma once

// The run of waypoint ('W') records. Loading turns each into a WaypointEntry; writing builds one
// record per source waypoint on a reference record as template, leaving the run as it was read.
//
// MapSource lays a waypoint out with texts of any length between its fixed fields (4.x and
// later; 3.x has 17 bytes in place of the subclass and the 4 bytes after it, and 2 bytes in
// place of the last 6 and the notes):
//
//   name, class (4), country, subclass (18), 4 bytes, latitude and longitude (4 + 4),
//   altitude valid (1), altitude (double), description, proximity valid and proximity (1 + 8),
//   display (4), colour (4), symbol (4, its low half the symbol code), city, state, facility,
//   1 byte, depth valid and depth (1 + 8), 6 bytes, notes
//
// Files whose records do not fit that structure are read by a fixed layout: name, block 1 of 46
// bytes (latitude at 29, longitude at 33, altitude valid at 37, altitude at 38), a text, block 2
// of 43 bytes (symbol at 17), then bytes never read. It is the structure for a 2-character country
// and 2 characters among its last four texts.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "mapsource/RecordList.h"
#include "tracklog/Entries.h"

namespace pelagor {

enum class WaypointLayout : std::uint8_t { Fixed, V3, V4 };

// The fields that only MapSource's own layout names, as byte offsets and texts in the body;
// a record read by the fixed layout leaves them at their defaults.
struct WaypointDetails {
    std::size_t waypointClass = 0;   // 4 bytes; 0 for a user's waypoint
    std::string_view country;        // into the record's body
    std::size_t proximityValid = 0;  // 1 byte, then the proximity as a double
    std::size_t display = 0;         // 4 bytes
    std::size_t colour = 0;          // 4 bytes
    std::string_view city;           // into the record's body
    std::string_view state;
    std::string_view facility;
    std::size_t depthValid = 0;  // 1 byte, then the depth as a double
    std::string_view notes;      // into the record's body; version 3 has no notes
};

// Where the fields this system reads and writes lie in a record's body.
struct WaypointRecordView {
    WaypointLayout layout = WaypointLayout::Fixed;
    std::string_view name;         // into the record's body
    std::string_view description;  // into the record's body; the fixed layout's middle text
    std::size_t latitude = 0;      // byte offsets in the body
    std::size_t longitude = 0;
    std::size_t altitudeValid = 0;
    std::size_t altitude = 0;
    std::size_t symbol = 0;
    std::size_t end = 0;      // end of what a built record keeps: the fixed layout drops the rest
    WaypointDetails details;  // MapSource's layout only
};

// How one source waypoint is written: the reference record it is built on and the name it is
// written with. The record is its template with that name, the waypoint's position, altitude
// (marked valid) and symbol written at the template's positions, and the template's layout.
struct WaypointBuild {
    std::array<char, 12> name{};  // the waypoint's name, made unique among those written before it
    std::size_t from = 0;         // the template record
    bool ownTemplate = false;     // the template has the waypoint's name, so its texts too
    bool padded = false;          // one 0 byte after the second block (see SettlePadding)
};

// Reads one waypoint body as a file of `version` lays it out: MapSource's structure first when the
// version is known, else (or when it does not fit) the fixed layout. Fails, with the fixed
// layout's rule, when neither fits.
bool ParseWaypointView(std::span<const std::uint8_t> body, MpsVersion version,
                       WaypointRecordView& view, std::string_view* rule = nullptr);

// The MapSource symbol written for a source symbol code.
std::uint16_t MapWaypointSymbol(std::uint16_t sourceSymbol);

class WaypointRecordList final : public RecordList<WaypointRecordList, WaypointRecordView, 'W'> {
public:
    // The version of the file the records come from; set before ParseList. Records of a known
    // version are read by MapSource's structure when they fit it, else by the fixed layout.
    void SetVersion(MpsVersion version) { m_version = version; }

    bool ParseView(std::span<const std::uint8_t> body, WaypointRecordView& view,
                   std::string_view* rule = nullptr) const;
    // Fills `entry` from the record at `index`; a name longer than the entry's field keeps its
    // first 11 bytes.
    bool GetEntry(std::int32_t index, WaypointEntry& entry) const;

    // Makes `builds`, one per entry: the template is the reference record of the entry's name
    // (else the first record), and repeated names are made unique in the builds, in order; the
    // entries are only read. Fails when there is no template for a nonempty `entries` or memory
    // runs out.
    bool PlanRebuild(std::span<const WaypointEntry> entries,
                     std::unique_ptr<WaypointBuild[]>& builds) const;
    // A record built on the fixed layout can be read by the structure at other positions: the new
    // values can end a text of the structure where the template's did not. Such a record gets a
    // padding byte after its second block, so that it reads back as written. Finding out builds
    // each record on the fixed layout aside once.
    void SettlePadding(std::span<WaypointBuild> builds,
                       std::span<const WaypointEntry> entries) const;
    // Emits the record `build` makes of `entry`: only counted, or written, as the cursor does.
    void EmitRebuilt(RecordCursor& cursor, const WaypointBuild& build,
                     const WaypointEntry& entry) const;

private:
    MpsVersion m_version = MpsVersion::Unknown;
};

}  // namespace pelagor
