#include "mapsource/MapSegments.h"

namespace pelagor {

bool MapSegmentList::ParseView(std::span<const std::uint8_t> body, MapSegmentView& view,
                               std::string_view* rule) {
    ReadCursor cursor(body);
    if (!cursor.Skip(8)) {
        return Refuse(rule, "map segment shorter than its two leading values");
    }
    MapSegmentView parsed;
    for (std::string_view& text : parsed.texts) {
        const auto read = ReadText(cursor);
        if (!read) {
            return Refuse(rule, "map segment text has no terminator");
        }
        text = *read;
    }
    if (!cursor.Skip(8)) {
        return Refuse(rule, "map segment shorter than its two values after the texts");
    }
    view = parsed;
    return true;
}

}  // namespace pelagor
