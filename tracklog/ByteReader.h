#pragma once

// One read-only cursor over a file held in memory. Every read is all-or-nothing: a read that
// would pass the end fails and consumes nothing, so no caller can read past the end.
// Multi-byte values are little-endian, at any alignment.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace pelagor {

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
    [[nodiscard]] std::optional<std::uint16_t> U16() { return Read<std::uint16_t>(); }
    [[nodiscard]] std::optional<std::uint32_t> U32() { return Read<std::uint32_t>(); }
    [[nodiscard]] std::optional<std::int32_t> I32() { return Read<std::int32_t>(); }
    [[nodiscard]] std::optional<float> F32() { return Read<float>(); }
    [[nodiscard]] std::optional<double> F64() { return Read<double>(); }

private:
    template <typename T>
    std::optional<T> Read() {
        static_assert(std::endian::native == std::endian::little,
                      "the file formats are little-endian; a big-endian host needs byte swaps");
        if (sizeof(T) > remaining()) {
            return std::nullopt;
        }
        T value;
        std::memcpy(&value, m_data.data() + m_position, sizeof(T));
        m_position += sizeof(T);
        return value;
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};

}  // namespace pelagor
