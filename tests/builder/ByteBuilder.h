#pragma once

// Writes test files byte by byte, little-endian, so that a test shows the layout it builds.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace pelagor::testkit {

class ByteBuilder {
public:
    ByteBuilder& U8(std::uint8_t value) { return Value(value); }
    ByteBuilder& U16le(std::uint16_t value) { return Value(value); }
    ByteBuilder& U32le(std::uint32_t value) { return Value(value); }
    ByteBuilder& I32le(std::int32_t value) { return Value(value); }
    ByteBuilder& F32le(float value) { return Value(value); }
    ByteBuilder& F64le(double value) { return Value(value); }
    ByteBuilder& Bytes(std::span<const std::uint8_t> bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // The characters of `text`, without a terminator (TextZ adds one).
    ByteBuilder& Text(std::string_view text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    ByteBuilder& TextZ(std::string_view text) { return Text(text).U8(0); }
    ByteBuilder& Fill(std::size_t count, std::uint8_t value = 0) {
        m_bytes.insert(m_bytes.end(), count, value);
        return *this;
    }
    // Pads with `value` up to an absolute size; does nothing when already there.
    ByteBuilder& PadTo(std::size_t size, std::uint8_t value = 0) {
        return Fill(size > m_bytes.size() ? size - m_bytes.size() : 0, value);
    }
    // Overwrites bytes at an absolute offset, growing the data when needed.
    ByteBuilder& Patch(std::size_t offset, std::span<const std::uint8_t> bytes) {
        m_bytes.resize(std::max(m_bytes.size(), offset + bytes.size()));
        std::copy(bytes.begin(), bytes.end(),
                  m_bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        return *this;
    }
    ByteBuilder& PatchText(std::size_t offset, std::string_view text) {
        return Patch(offset, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    template <typename T>
    ByteBuilder& PatchValue(std::size_t offset, T value) {
        return Patch(offset, Raw(value));
    }

    [[nodiscard]] std::size_t size() const { return m_bytes.size(); }
    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    template <typename T>
    static std::array<std::uint8_t, sizeof(T)> Raw(T value) {
        std::array<std::uint8_t, sizeof(T)> raw{};
        std::memcpy(raw.data(), &value, sizeof(T));  // the hosts we build on are little-endian
        return raw;
    }
    template <typename T>
    ByteBuilder& Value(T value) {
        return Bytes(Raw(value));
    }

    std::vector<std::uint8_t> m_bytes;
};

}  // namespace pelagor::testkit
