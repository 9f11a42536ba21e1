#include <iconv.h>

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

}  // namespace

bool IsEncodingSupported(std::string_view encoding) { return Converter(encoding).valid(); }

std::string DecodeToUtf8(std::string_view bytes, std::string_view encoding) {
    Converter converter(encoding);
    std::string result;
    if (!converter.valid()) {
        return result;
    }
    result.reserve(bytes.size() * 3);
    // iconv takes a non-const input pointer for historic reasons; it never writes through it.
    char* in = const_cast<char*>(bytes.data());  // NOLINT(cppcoreguidelines-pro-type-const-cast)
    std::size_t inLeft = bytes.size();
    std::array<char, 256> chunk{};
    while (inLeft > 0) {
        char* out = chunk.data();
        std::size_t outLeft = chunk.size();
        const std::size_t status = ::iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        result.append(chunk.data(), chunk.size() - outLeft);
        if (status != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // An invalid sequence, or one cut off by the end of the name: replace its first byte
        // and go on with the next, so that every undecodable byte shows.
        result += kReplacement;
        ++in;
        --inLeft;
        ::iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}

}  // namespace pelagor::platform
