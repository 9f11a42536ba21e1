#include "mapsource/MpsRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "bytes/LittleEndian.h"
#include "platform/Memory.h"

namespace pelagor {

bool ReadRecord(ReadCursor& cursor, MpsRecord& record, std::string_view* rule) {
    if (cursor.remaining() < kFrameSize) {
        return Refuse(rule, "fewer than 5 bytes left for a record frame");
    }
    record.length = Guaranteed(cursor.U32le());
    record.type = Guaranteed(cursor.U8());
    if (record.length == 0) {
        return Refuse(rule, "record length is 0");
    }
    if (record.length > cursor.remaining()) {
        return Refuse(rule, "record length passes the end of the file");
    }
    std::unique_ptr<std::uint8_t[]> body = platform::NewByteBuffer(record.length);
    if (!body) {
        return Refuse(rule, "out of memory for the record body");
    }
    const auto bytes = cursor.Bytes(record.length);
    std::memcpy(body.get(), bytes->data(), bytes->size());
    record.body = std::move(body);
    return true;
}

std::optional<std::span<const std::uint8_t>> NextBody(ReadCursor& cursor, std::uint8_t type) {
    ReadCursor next = cursor;
    if (next.remaining() < kFrameSize) {
        return std::nullopt;
    }
    const std::uint32_t length = Guaranteed(next.U32le());
    if (length == 0 || Guaranteed(next.U8()) != type) {
        return std::nullopt;
    }
    const auto body = next.Bytes(length);
    if (body) {
        cursor = next;
    }
    return body;
}

std::size_t SkipRun(ReadCursor& cursor, std::uint8_t type) {
    std::size_t count = 0;
    while (NextBody(cursor, type)) {
        ++count;
    }
    return count;
}

std::span<std::uint8_t> RecordCursor::Reserve(std::uint64_t count) {
    std::span<std::uint8_t> reserved;
    if (m_writing) {
        if (m_total > m_target.size() || count > m_target.size() - m_total) {
            m_overrun = true;
        } else {
            reserved = m_target.subspan(static_cast<std::size_t>(m_total),
                                        static_cast<std::size_t>(count));
        }
    }
    m_total += count;
    return reserved;
}

void RecordCursor::Emit(std::span<const std::uint8_t> bytes) {
    const std::span<std::uint8_t> target = Reserve(bytes.size());
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(target.size()),
              target.begin());
}

void RecordCursor::EmitU32(std::uint32_t value) {
    std::array<std::uint8_t, sizeof value> bytes{};
    StoreLe(bytes.data(), value);
    Emit(bytes);
}

void RecordCursor::EmitText(std::string_view text) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): text written as bytes
    Emit({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    EmitU8(0);
}

bool EmitRecord(RecordCursor& cursor, const MpsRecord& record) {
    cursor.EmitU32(record.length);
    cursor.EmitU8(record.type);
    if (!record.body) {
        return false;
    }
    if (cursor.writing()) {
        cursor.Emit(record.Body());
    } else {
        cursor.Count(record.length);
    }
    return true;
}

std::optional<std::size_t> TextLength(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    if (end == bytes.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(end - bytes.begin());
}

std::optional<std::string_view> ReadText(ReadCursor& cursor) {
    const auto length = TextLength(cursor.Rest());
    if (!length) {
        return std::nullopt;
    }
    const std::string_view text = AsText(cursor.Rest().first(*length));
    Guaranteed(cursor.Skip(*length + 1));
    return text;
}

std::string RecordPlace(std::size_t index, std::optional<std::uint8_t> type, std::size_t offset) {
    std::string place = "record " + std::to_string(index);
    if (type) {
        if (*type > 0x20 && *type < 0x7F) {
            place += {' ', '(', '\'', static_cast<char>(*type), '\'', ')'};
        } else {
            std::array<char, 8> hex{};
            (void)std::snprintf(hex.data(), hex.size(), "0x%02X", static_cast<unsigned>(*type));
            place += " (" + std::string(hex.data()) + ")";
        }
    }
    return place + " at byte " + std::to_string(offset);
}

bool Refuse(std::string_view* rule, std::string_view text) {
    if (rule != nullptr) {
        *rule = text;
    }
    return false;
}

}  // namespace pelagor
