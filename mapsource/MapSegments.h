#pragma once

// The run of map segment ('L') records: checked for form, kept, and written back unchanged
// after the track records.
//
// Body: two 32-bit values, three NUL-terminated texts, two 32-bit values, then any bytes.

#include <cstdint>
#include <string_view>

#include "mapsource/RecordList.h"

namespace pelagor {

struct MapSegmentView {
    std::uint32_t value1 = 0;
    std::uint32_t value2 = 0;
    std::string_view text1;  // into the record's body
    std::string_view text2;
    std::string_view text3;
    std::uint32_t value3 = 0;
    std::uint32_t value4 = 0;
};

class MapSegmentList final : public RecordList<MapSegmentList, MapSegmentView, 'L'> {
public:
    bool ParseView(const MpsRecord& record, MapSegmentView& view,
                   std::string_view* rule = nullptr) const;
};

}  // namespace pelagor
