#include "mapsource/MapSegments.h"

#include <array>

namespace pelagor {

bool MapSegmentList::ParseView(const MpsRecord& record, MapSegmentView& view,
                               std::string_view* rule) const {
    ReadCursor body(record.Body());
    MapSegmentView parsed;
    const auto value1 = body.U32le();
    const auto value2 = body.U32le();
    if (!value1 || !value2) {
        return Refuse(rule, "map segment shorter than its two leading values");
    }
    parsed.value1 = *value1;
    parsed.value2 = *value2;
    for (std::string_view* text : std::array{&parsed.text1, &parsed.text2, &parsed.text3}) {
        const auto read = ReadText(body);
        if (!read) {
            return Refuse(rule, "map segment text has no terminator");
        }
        *text = *read;
    }
    const auto value3 = body.U32le();
    const auto value4 = body.U32le();
    if (!value3 || !value4) {
        return Refuse(rule, "map segment shorter than its two values after the texts");
    }
    parsed.value3 = *value3;
    parsed.value4 = *value4;
    view = parsed;
    return true;
}

}  // namespace pelagor
