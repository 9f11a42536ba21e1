#include "mapsource/MapSegments.h"

#include <array>

namespace pelagor {

bool MapSegmentList::ParseView(const MpsRecord& record, MapSegmentView& view,
                               std::string_view* rule) const {
    const auto fail = [rule](std::string_view text) {
        if (rule != nullptr) {
            *rule = text;
        }
        return false;
    };
    ReadCursor body(record.Body());
    MapSegmentView parsed;
    const auto value1 = body.U32();
    const auto value2 = body.U32();
    if (!value1 || !value2) {
        return fail("map segment shorter than its two leading values");
    }
    parsed.value1 = *value1;
    parsed.value2 = *value2;
    for (std::string_view* text : std::array{&parsed.text1, &parsed.text2, &parsed.text3}) {
        const auto length = TextLength(body.Rest());
        if (!length) {
            return fail("map segment text has no terminator");
        }
        *text = AsText(body.Rest().first(*length));
        (void)body.Skip(*length + 1);
    }
    const auto value3 = body.U32();
    const auto value4 = body.U32();
    if (!value3 || !value4) {
        return fail("map segment shorter than its two values after the texts");
    }
    parsed.value3 = *value3;
    parsed.value4 = *value4;
    view = parsed;
    return true;
}

}  // namespace pelagor
