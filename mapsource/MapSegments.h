#pragma once

// The run of map segment ('L') records: checked for form, kept, and written back unchanged
// after the track records.
//
// Body: two 32-bit values, three NUL-terminated texts, two 32-bit values, then any bytes.

#include <cstdint>
#include <span>
#include <string_view>

#include "mapsource/RecordList.h"

namespace pelagor {

// Nothing of a segment is read: its record is only checked for form and written back.
struct MapSegmentView {};

class MapSegmentList final : public RecordList<MapSegmentList, MapSegmentView, 'L'> {
public:
    bool ParseView(std::span<const std::uint8_t> body, MapSegmentView& view,
                   std::string_view* rule = nullptr) const;
};

}  // namespace pelagor
