#pragma once

// The head of a MapSource file: the signature, a first record of any type and the 'A' record.
// The reference file's header is written back unchanged at the head of every converted file.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "mapsource/MpsRecord.h"

namespace pelagor {

// The MapSource version that wrote a file, told by its first record: type 'D' and a lower-case
// letter ('d' for 3.x, 'e' to 'h' for 4.x, 'i' and later for 5.x and on, laid out as 4.x).
enum class MpsVersion : std::uint8_t { Unknown, V3, V4, V5 };

// Where and why a header or a record list refused the file, for the load's failure reason.
struct MpsFault {
    std::size_t recordIndex = 0;       // counted from the first record after the signature
    std::size_t offset = 0;            // byte offset of that record's frame in the file
    std::optional<std::uint8_t> type;  // its type letter, once its frame was read
    bool recordKnown = false;          // false for faults of the signature itself
    std::string_view rule;
};

// The MapSource reader's first rule: the signature.
bool MpsMayRead(std::span<const std::uint8_t> firstBytes);

class MpsHeader {
public:
    MpsHeader() = default;
    MpsHeader(const MpsHeader&) = delete;
    MpsHeader& operator=(const MpsHeader&) = delete;
    MpsHeader(MpsHeader&&) = delete;
    MpsHeader& operator=(MpsHeader&&) = delete;
    virtual ~MpsHeader() = default;

    // Reads and checks the signature, the first record and the 'A' record. On success the cursor
    // stands at the record after the 'A' record.
    bool ParseHeader(ReadCursor& cursor, MpsFault* fault = nullptr);
    // Checks the 'A' record's form: a 16-bit value and three NUL-terminated texts inside the body.
    // Nothing of it is read: it is written back as it is.
    static bool ParseARecord(const MpsRecord& record, std::string_view* rule = nullptr);
    // Emits the signature and both records as they were read.
    bool EmitHeader(RecordCursor& cursor) const;

    [[nodiscard]] MpsVersion Version() const {
        return VersionOf(firstRecord.type, firstRecord.Body());
    }
    // "D" and the letter after it when the first record is a 'D' record whose body starts with a
    // letter of either case; empty otherwise. Set as soon as the first record was read.
    [[nodiscard]] std::string Format() const {
        return FormatOf(firstRecord.type, firstRecord.Body());
    }

    // The same, told by a first record of `type` and `body`.
    static MpsVersion VersionOf(std::uint8_t type, std::span<const std::uint8_t> body);
    static std::string FormatOf(std::uint8_t type, std::span<const std::uint8_t> body);

    std::array<std::uint8_t, 6> magic{};
    MpsRecord firstRecord;
    MpsRecord aRecord;
};

}  // namespace pelagor
