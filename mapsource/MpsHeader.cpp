#include "mapsource/MpsHeader.h"

#include <algorithm>
#include <initializer_list>

namespace pelagor {

bool MpsMayRead(std::span<const std::uint8_t> firstBytes) {
    return ReadCursor(firstBytes).StartsWith(kMpsSignature);
}

bool MpsHeader::ParseHeader(ReadCursor& cursor, MpsFault* fault) {
    MpsFault found;
    const auto fail = [&](std::string_view rule) {
        found.rule = rule;
        if (fault != nullptr) {
            *fault = found;
        }
        return false;
    };
    found.offset = cursor.position();
    if (cursor.remaining() < magic.size()) {
        return fail("file shorter than the 6-byte MapSource signature");
    }
    const auto signature = cursor.Rest().first(magic.size());
    std::copy(signature.begin(), signature.end(), magic.begin());
    if (!MpsMayRead(signature)) {
        return fail("not a MapSource file (signature)");
    }
    Guaranteed(cursor.Skip(magic.size()));

    found.recordKnown = true;
    std::string_view rule;
    for (MpsRecord* record : {&firstRecord, &aRecord}) {
        found.offset = cursor.position();
        const bool frameReadable = cursor.remaining() >= kFrameSize;
        if (!ReadRecord(cursor, *record, &rule)) {
            if (frameReadable) {
                found.type = record->type;
            }
            return fail(rule);
        }
        ++found.recordIndex;
    }
    found.recordIndex = 1;
    found.type = aRecord.type;
    if (!ParseARecord(aRecord, &rule)) {
        return fail(rule);
    }
    return true;
}

bool MpsHeader::ParseARecord(const MpsRecord& record, std::string_view* rule) {
    if (record.type != 'A') {
        return Refuse(rule, "second header record is not an 'A' record");
    }
    ReadCursor body(record.Body());
    if (!body.Skip(2)) {
        return Refuse(rule, "'A' record shorter than its 2-byte value");
    }
    for (int text = 0; text < 3; ++text) {
        if (!ReadText(body)) {
            return Refuse(rule, "'A' record text has no terminator");
        }
    }
    return true;
}

namespace {

bool IsLower(std::uint8_t byte) {
    return byte >= 'a' && byte <= 'z';
}

}  // namespace

std::string MpsHeader::FormatOf(std::uint8_t type, std::span<const std::uint8_t> body) {
    if (type != 'D' || body.empty() || !(IsLower(body[0]) || (body[0] >= 'A' && body[0] <= 'Z'))) {
        return {};
    }
    return {'D', static_cast<char>(body[0])};
}

MpsVersion MpsHeader::VersionOf(std::uint8_t type, std::span<const std::uint8_t> body) {
    const std::string format = FormatOf(type, body);
    const char letter = format.empty() ? '\0' : format[1];
    if (letter < 'd' || letter > 'z') {
        return MpsVersion::Unknown;  // upper case, and letters before any MapSource version
    }
    if (letter == 'd') {
        return MpsVersion::V3;
    }
    return letter <= 'h' ? MpsVersion::V4 : MpsVersion::V5;
}

bool MpsHeader::EmitHeader(RecordCursor& cursor) const {
    cursor.Emit(magic);
    return EmitRecord(cursor, firstRecord) && EmitRecord(cursor, aRecord);
}

}  // namespace pelagor
