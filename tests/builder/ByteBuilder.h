#pragma once

// Writes test files byte by byte, little-endian, so that a test shows the layout it builds.

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace pelagor::testkit {

class ByteBuilder {
public:
    ByteBuilder& U8(std::uint8_t value) { return Raw(value); }
    ByteBuilder& U16(std::uint16_t value) { return Raw(value); }
    ByteBuilder& U32(std::uint32_t value) { return Raw(value); }
    ByteBuilder& I32(std::int32_t value) { return Raw(value); }
    ByteBuilder& F32(float value) { return Raw(value); }
    ByteBuilder& F64(double value) { return Raw(value); }
    ByteBuilder& Bytes(std::span<const std::uint8_t> bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    ByteBuilder& Bytes(std::initializer_list<std::uint8_t> bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // The characters of `text`, without a terminator.
    ByteBuilder& Text(std::string_view text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    // The characters of `text` and a NUL.
    ByteBuilder& TextZ(std::string_view text) { return Text(text).U8(0); }
    ByteBuilder& Fill(std::size_t count, std::uint8_t value = 0) {
        m_bytes.insert(m_bytes.end(), count, value);
        return *this;
    }
    // Pads with `value` up to an absolute size; does nothing when already there.
    ByteBuilder& PadTo(std::size_t size, std::uint8_t value = 0) {
        if (m_bytes.size() < size) {
            Fill(size - m_bytes.size(), value);
        }
        return *this;
    }
    // Overwrites bytes at an absolute offset, growing the data when needed.
    ByteBuilder& Patch(std::size_t offset, std::span<const std::uint8_t> bytes) {
        if (m_bytes.size() < offset + bytes.size()) {
            m_bytes.resize(offset + bytes.size());
        }
        std::memcpy(m_bytes.data() + offset, bytes.data(), bytes.size());
        return *this;
    }
    ByteBuilder& PatchText(std::size_t offset, std::string_view text) {
        return Patch(offset, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    template <typename T>
    ByteBuilder& PatchValue(std::size_t offset, T value) {
        std::uint8_t raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        return Patch(offset, raw);
    }

    [[nodiscard]] std::size_t size() const { return m_bytes.size(); }
    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    template <typename T>
    ByteBuilder& Raw(T value) {
        std::uint8_t raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));  // the hosts we build on are little-endian
        m_bytes.insert(m_bytes.end(), raw, raw + sizeof(T));
        return *this;
    }

    std::vector<std::uint8_t> m_bytes;
};

}  // namespace pelagor::testkit
