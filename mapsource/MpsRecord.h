#pragma once

// The framing of a MapSource file: a six-byte signature, then records one after another, each a
// 32-bit body length, a type letter and the body. Records own a copy of their body, so the file's
// bytes can be released as soon as loading ends.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "bytes/ByteReader.h"

namespace pelagor {

inline constexpr std::array<std::uint8_t, 6> kMpsSignature{'M', 's', 'R', 'c', 'd', 0};
inline constexpr std::size_t kFrameSize = 5;

// The reading position over a file held whole in memory; every read checks what remains first.
using ReadCursor = ByteReader;

struct MpsRecord {
    std::uint32_t length = 0;              // body length, without the five frame bytes
    std::uint8_t type = 0;                 // one ASCII letter
    std::unique_ptr<std::uint8_t[]> body;  // exactly `length` bytes; absent until read or built

    [[nodiscard]] std::span<const std::uint8_t> Body() const {
        return body ? std::span<const std::uint8_t>(body.get(), length)
                    : std::span<const std::uint8_t>();
    }
};

// Reads one framed record at the cursor, copying its body. The frame stays consumed when the body
// cannot be read (zero length, a length past the end, no memory); `rule` then says which.
bool ReadRecord(ReadCursor& cursor, MpsRecord& record, std::string_view* rule = nullptr);

// The body of the record at the cursor, in the file's own bytes, when the record is of `type` and
// readable under the rules of ReadRecord; consumed with its frame. Empty, consuming nothing,
// otherwise.
std::optional<std::span<const std::uint8_t>> NextBody(ReadCursor& cursor, std::uint8_t type);

// Moves the cursor over the consecutive readable records of `type` and returns how many there
// were. The cursor stops before the first record of another type or that cannot be read.
std::size_t SkipRun(ReadCursor& cursor, std::uint8_t type);

// The emit cursor. Without a target it only counts; with one it also writes. The target's end is
// not checked per byte: both passes emit the same records, so the counted size is exact. `total`
// is 64-bit so that an output of 4 GiB or more is seen, never wrapped.
class RecordCursor {
public:
    RecordCursor() = default;  // counting only
    explicit RecordCursor(std::span<std::uint8_t> target) : m_target(target), m_writing(true) {}

    [[nodiscard]] std::uint64_t total() const { return m_total; }
    [[nodiscard]] bool writing() const { return m_writing; }
    // False once a write would have passed the target's end; nothing past it is written.
    [[nodiscard]] bool withinTarget() const { return !m_overrun; }

    void Emit(std::span<const std::uint8_t> bytes);
    void EmitU32(std::uint32_t value);
    void EmitU8(std::uint8_t value) { Emit(std::span<const std::uint8_t>(&value, 1)); }
    // The characters of `text` and a NUL.
    void EmitText(std::string_view text);
    // Adds `count` bytes to the total without writing them: the counting pass's view of a body.
    void Count(std::uint64_t count) { m_total += count; }
    // The next `count` bytes of the target, counted, for the caller to fill whole; empty while
    // only counting (and when they would pass the target's end).
    [[nodiscard]] std::span<std::uint8_t> Reserve(std::uint64_t count);

private:
    std::span<std::uint8_t> m_target;
    bool m_writing = false;
    bool m_overrun = false;
    std::uint64_t m_total = 0;
};

// The largest output this system writes: every size a document holds is 32-bit, and a file of
// 4 GiB or more could not be read back as a reference.
inline constexpr std::uint64_t kMaxOutputSize = 0xFFFFFFFFULL;

// Emits the five frame bytes and the body. Fails on a record without a body, after its frame was
// counted (and written, when writing).
bool EmitRecord(RecordCursor& cursor, const MpsRecord& record);

// The length of the NUL-terminated text at the start of `bytes`; empty when no NUL lies inside.
std::optional<std::size_t> TextLength(std::span<const std::uint8_t> bytes);

// Reads the NUL-terminated text at the cursor and consumes it with its NUL; empty, consuming
// nothing, when no NUL lies before the end. Strings inside a body must end inside it.
std::optional<std::string_view> ReadText(ReadCursor& cursor);

// "record 4 ('W') at byte 418": where a record stands, counted from the first record after the
// signature; a type that is no printable letter shows in hex, and an unread one not at all.
std::string RecordPlace(std::size_t index, std::optional<std::uint8_t> type, std::size_t offset);

// Notes why a record is refused, for the load's failure reason, and returns false.
bool Refuse(std::string_view* rule, std::string_view text);

}  // namespace pelagor
