#pragma once

// Little-endian values at any alignment, the one place the file formats' byte order is written:
// the reading cursor and every record that reads or writes a field in place go through here.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace pelagor {

static_assert(std::endian::native == std::endian::little,
              "the file formats are little-endian; a big-endian host needs byte swaps here");

// The value whose bytes start at `bytes`; the caller knows that sizeof(T) bytes lie there.
template <typename T>
T LoadLe(const std::uint8_t* bytes) {
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

// Writes `value` at `bytes`; the caller knows that sizeof(T) bytes lie there.
template <typename T>
void StoreLe(std::uint8_t* bytes, T value) {
    std::memcpy(bytes, &value, sizeof(T));
}

// The value at `offset` of `bytes`; empty unless it lies whole inside.
template <typename T>
std::optional<T> LoadLe(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset > bytes.size() || sizeof(T) > bytes.size() - offset) {
        return std::nullopt;
    }
    return LoadLe<T>(bytes.data() + offset);
}

// Writes `value` at `offset` of `bytes`; false, writing nothing, unless it fits whole inside.
template <typename T>
bool StoreLe(std::span<std::uint8_t> bytes, std::size_t offset, T value) {
    if (offset > bytes.size() || sizeof(T) > bytes.size() - offset) {
        return false;
    }
    StoreLe(bytes.data() + offset, value);
    return true;
}

}  // namespace pelagor
