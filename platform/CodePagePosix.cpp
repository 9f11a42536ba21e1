#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>

#include "platform/CodePage.h"

namespace pelagor::platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// One iconv conversion state, closed on every path.
class Converter {
public:
    explicit Converter(std::string_view encoding)
        : m_handle(::iconv_open("UTF-8", std::string(encoding).c_str())) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (valid()) {
            ::iconv_close(m_handle);
        }
    }
    [[nodiscard]] bool valid() const {
        return m_handle != reinterpret_cast<iconv_t>(-1);  // NOLINT: iconv's own error value
    }
    [[nodiscard]] iconv_t get() const { return m_handle; }

private:
    iconv_t m_handle;
};

// The longest byte sequence of one character in the encodings that names come in (UTF-8, GB18030).
constexpr std::size_t kMaxCharacterLength = 4;

// Whether `utf8`, which iconv produced, holds only Unicode scalar values. glibc lets values
// beyond U+10FFFF through from UTF-8, and those would make the text invalid for any reader.
bool IsWithinUnicode(std::string_view utf8) {
    for (std::size_t index = 0; index < utf8.size(); ++index) {
        const auto lead = static_cast<unsigned char>(utf8[index]);
        if (lead >= 0xF5) {
            return false;
        }
        if (lead == 0xF4 && index + 1 < utf8.size() &&
            static_cast<unsigned char>(utf8[index + 1]) >= 0x90) {
            return false;
        }
    }
    return true;
}

// Decodes the shortest prefix of `bytes` that is one whole character, appends it to `result`
// and drops it from `bytes`. False when no prefix decodes; the conversion state is reset then.
bool DecodeOne(iconv_t converter, std::string_view& bytes, std::string& result) {
    const std::size_t limit = std::min(bytes.size(), kMaxCharacterLength);
    for (std::size_t length = 1; length <= limit; ++length) {
        // iconv takes a non-const input pointer for historic reasons; it never writes through it.
        char* in =
            const_cast<char*>(bytes.data());  // NOLINT(cppcoreguidelines-pro-type-const-cast)
        std::size_t inLeft = length;
        std::array<char, 32> chunk{};
        char* out = chunk.data();
        std::size_t outLeft = chunk.size();
        const std::size_t status = ::iconv(converter, &in, &inLeft, &out, &outLeft);
        const std::string_view decoded(chunk.data(), chunk.size() - outLeft);
        if (status != static_cast<std::size_t>(-1) && inLeft == 0) {
            if (!IsWithinUnicode(decoded)) {
                break;
            }
            result += decoded;
            bytes.remove_prefix(length);
            return true;
        }
        ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (status == static_cast<std::size_t>(-1) && errno != EINVAL) {
            break;  // an invalid sequence, not one that a further byte could complete
        }
    }
    return false;
}

}  // namespace

bool IsEncodingSupported(std::string_view encoding) {
    return Converter(encoding).valid();
}

std::string DecodeToUtf8(std::string_view bytes, std::string_view encoding) {
    Converter converter(encoding);
    std::string result;
    if (!converter.valid()) {
        return result;
    }
    result.reserve(bytes.size() * 3);
    // One character at a time: an undecodable byte is replaced on its own and decoding goes on
    // at the next byte. iconv's own position after an error cannot be trusted for that: some of
    // glibc's converters (UHC, for A2 E8) report an invalid sequence after consuming it.
    while (!bytes.empty()) {
        if (!DecodeOne(converter.get(), bytes, result)) {
            result += kReplacement;
            bytes.remove_prefix(1);
        }
    }
    return result;
}

}  // namespace pelagor::platform
