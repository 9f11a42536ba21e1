#pragma once

// The run of map segment ('L') records: checked for form, kept, and written back unchanged
// after the track records.
//
// Body: two 32-bit values, three NUL-terminated texts, two 32-bit values, then any bytes.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "mapsource/RecordList.h"

namespace pelagor {

// A segment's three texts; a reference's segments are only checked for form and written back.
struct MapSegmentView {
    std::array<std::string_view, 3> texts;  // into the record's body
};

class MapSegmentList final : public RecordList<MapSegmentList, MapSegmentView, 'L'> {
public:
    static bool ParseView(std::span<const std::uint8_t> body, MapSegmentView& view,
                          std::string_view* rule = nullptr);
};

}  // namespace pelagor
