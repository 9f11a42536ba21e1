#include "mapsource/MpsRecord.h"

#include <algorithm>
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

std::size_t SkipRun(ReadCursor& cursor, std::uint8_t type) {
    std::size_t count = 0;
    for (ReadCursor next = cursor; next.remaining() >= kFrameSize; cursor = next) {
        const std::uint32_t length = Guaranteed(next.U32le());
        if (length == 0 || Guaranteed(next.U8()) != type || !next.Skip(length)) {
            break;
        }
        ++count;
    }
    return count;
}

void ReleaseRecord(MpsRecord& record) {
    record.body.reset();
}

bool AllocateRecord(MpsRecord& record, std::uint8_t type, std::uint64_t length) {
    if (length == 0 || length > 0xFFFFFFFFULL) {
        return false;
    }
    // Not zero-filled: whoever allocates a body writes every byte of it.
    std::unique_ptr<std::uint8_t[]> body =
        platform::NewByteBuffer(static_cast<std::size_t>(length));
    if (!body) {
        return false;
    }
    record.length = static_cast<std::uint32_t>(length);
    record.type = type;
    record.body = std::move(body);
    return true;
}

void RecordCursor::Emit(std::span<const std::uint8_t> bytes) {
    if (m_writing) {
        if (m_total > m_target.size() || bytes.size() > m_target.size() - m_total) {
            m_overrun = true;
        } else {
            std::copy(bytes.begin(), bytes.end(),
                      m_target.begin() + static_cast<std::ptrdiff_t>(m_total));
        }
    }
    m_total += bytes.size();
}

void RecordCursor::EmitU32(std::uint32_t value) {
    std::array<std::uint8_t, sizeof value> bytes{};
    StoreLe(bytes.data(), value);
    Emit(bytes);
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

bool Refuse(std::string_view* rule, std::string_view text) {
    if (rule != nullptr) {
        *rule = text;
    }
    return false;
}

}  // namespace pelagor
