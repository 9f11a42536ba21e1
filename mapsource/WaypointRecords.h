#pragma once

// The run of waypoint ('W') records. Loading turns each into a WaypointEntry; writing rebuilds
// the run from a source's waypoints, each new record made from a reference record as template.
//
// Body: name and NUL, block 1 (46 bytes: latitude at 29, longitude at 33, altitude as a double
// at 38), a middle text and NUL, block 2 (43 bytes: symbol at 17), then bytes never read.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "mapsource/RecordList.h"
#include "tracklog/Entries.h"

namespace pelagor {

struct WaypointRecordView {
    static constexpr std::size_t kBlock1Size = 46;
    static constexpr std::size_t kBlock2Size = 43;
    static constexpr std::size_t kLatitudeOffset = 29;
    static constexpr std::size_t kLongitudeOffset = 33;
    static constexpr std::size_t kAltitudeOffset = 38;
    static constexpr std::size_t kSymbolOffset = 17;

    std::string_view name;  // into the record's body
    std::array<std::uint8_t, kBlock1Size> block1{};
    std::string_view midText;  // into the record's body
    std::array<std::uint8_t, kBlock2Size> block2{};
};

// The MapSource symbol written for a source symbol code.
std::uint16_t MapWaypointSymbol(std::uint16_t sourceSymbol);

class WaypointRecordList final : public RecordList<WaypointRecordList, WaypointRecordView, 'W'> {
public:
    bool ParseView(const MpsRecord& record, WaypointRecordView& view,
                   std::string_view* rule = nullptr) const;
    // Fills `entry` from the record at `index`; a name longer than the entry's field keeps its
    // first 11 bytes.
    bool GetEntry(std::int32_t index, WaypointEntry& entry) const;
    // Replaces the records with one per entry, each from the reference record of the same name
    // (else the first record), and renames repeated names inside `entries`. Fails, keeping the
    // list, when there is no template record for a nonempty `entries` or memory runs out.
    bool RebuildFromEntries(std::int32_t count, WaypointEntry* entries);
    static bool BuildRecord(const WaypointRecordView& view, MpsRecord& record);
};

}  // namespace pelagor
