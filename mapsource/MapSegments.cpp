#include "mapsource/MapSegments.h"

namespace pelagor {

bool MapSegmentList::ParseView(std::span<const std::uint8_t> body, MapSegmentView& /*view*/,
                               std::string_view* rule) const {
    ReadCursor cursor(body);
    if (!cursor.Skip(8)) {
        return Refuse(rule, "map segment shorter than its two leading values");
    }
    for (int text = 0; text < 3; ++text) {
        if (!ReadText(cursor)) {
            return Refuse(rule, "map segment text has no terminator");
        }
    }
    if (!cursor.Skip(8)) {
        return Refuse(rule, "map segment shorter than its two values after the texts");
    }
    return true;
}

}  // namespace pelagor
