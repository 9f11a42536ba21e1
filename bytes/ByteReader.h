#pragma once

// One read-only cursor over a file held in memory, shared by the track-log and MapSource readers.
// Every read is all-or-nothing: a read that would pass the end fails and consumes nothing, so no
// caller can read past the end. Multi-byte values are little-endian, at any alignment.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>

#include "bytes/LittleEndian.h"

namespace pelagor {

// A read or a move that the structure already guarantees, because the caller has checked that
// the bytes lie inside the data. Debug and fuzz builds stop when the guarantee is broken; release
// builds go on with T{} (a zero, an empty name), which no structure that held could give.
#if !defined(NDEBUG) || defined(PELAGOR_CHECK_GUARANTEES)
inline constexpr bool kCheckGuarantees = true;
#else
inline constexpr bool kCheckGuarantees = false;
#endif

template <typename T>
T Guaranteed(std::optional<T> value) {
    if (kCheckGuarantees && !value) {
        std::abort();
    }
    return value.value_or(T{});
}

inline void Guaranteed(bool done) {
    if (kCheckGuarantees && !done) {
        std::abort();
    }
}

// `bytes` read as text (not owned).
inline std::string_view AsText(std::span<const std::uint8_t> bytes) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): file bytes read as text
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    [[nodiscard]] std::size_t position() const { return m_position; }
    [[nodiscard]] std::size_t remaining() const { return m_data.size() - m_position; }
    [[nodiscard]] std::size_t size() const { return m_data.size(); }
    [[nodiscard]] bool AtEnd() const { return remaining() == 0; }

    // Moves to an absolute offset; the end itself is a valid position.
    [[nodiscard]] bool Seek(std::size_t offset) {
        if (offset > m_data.size()) {
            return false;
        }
        m_position = offset;
        return true;
    }

    [[nodiscard]] bool Skip(std::size_t count) {
        if (count > remaining()) {
            return false;
        }
        m_position += count;
        return true;
    }

    // The next `count` bytes, consumed; empty when fewer remain.
    [[nodiscard]] std::optional<std::span<const std::uint8_t>> Bytes(std::size_t count) {
        if (count > remaining()) {
            return std::nullopt;
        }
        auto bytes = m_data.subspan(m_position, count);
        m_position += count;
        return bytes;
    }

    // The bytes from the position to the end, not consumed.
    [[nodiscard]] std::span<const std::uint8_t> Rest() const { return m_data.subspan(m_position); }

    // Whether the bytes at the position equal `pattern`; false when fewer remain. Consumes nothing.
    [[nodiscard]] bool StartsWith(std::span<const std::uint8_t> pattern) const {
        return pattern.size() <= remaining() &&
               std::equal(pattern.begin(), pattern.end(),
                          m_data.begin() + static_cast<std::ptrdiff_t>(m_position));
    }

    [[nodiscard]] std::optional<std::uint8_t> U8() { return Read<std::uint8_t>(); }
    [[nodiscard]] std::optional<std::uint16_t> U16le() { return Read<std::uint16_t>(); }
    [[nodiscard]] std::optional<std::uint32_t> U32le() { return Read<std::uint32_t>(); }
    [[nodiscard]] std::optional<std::int32_t> I32le() { return Read<std::int32_t>(); }
    [[nodiscard]] std::optional<float> F32le() { return Read<float>(); }
    [[nodiscard]] std::optional<double> F64le() { return Read<double>(); }

private:
    template <typename T>
    std::optional<T> Read() {
        const auto value = LoadLe<T>(m_data, m_position);
        if (value) {
            m_position += sizeof(T);
        }
        return value;
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};

}  // namespace pelagor
