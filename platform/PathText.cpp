#include "platform/PathText.h"

namespace pelagor::platform {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    std::u8string text(utf8.size(), u8'\0');
    for (std::size_t index = 0; index < utf8.size(); ++index) {
        text[index] = static_cast<char8_t>(utf8[index]);
    }
    return {text};
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    std::string utf8(text.size(), '\0');
    for (std::size_t index = 0; index < text.size(); ++index) {
        utf8[index] = static_cast<char>(text[index]);
    }
    return utf8;
}

std::string PrintableName(std::string_view utf8) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t index = 0; index < utf8.size(); ++index) {
        const auto byte = static_cast<unsigned char>(utf8[index]);
        // U+0080 to U+009F, the C1 controls, are two bytes in UTF-8: C2 80 to C2 9F.
        const bool c1 = byte == 0xC2 && index + 1 < utf8.size() &&
                        (static_cast<unsigned char>(utf8[index + 1]) & 0xE0U) == 0x80U;
        if (c1) {
            const auto next = static_cast<unsigned char>(utf8[++index]);
            text += "\\u00";
            text += kHex[next >> 4U];
            text += kHex[next & 0x0FU];
        } else if (byte == '\n') {
            text += "\\n";
        } else if (byte == '\r') {
            text += "\\r";
        } else if (byte == '\t') {
            text += "\\t";
        } else if (byte < 0x20U || byte == 0x7FU) {
            text += "\\x";
            text += kHex[byte >> 4U];
            text += kHex[byte & 0x0FU];
        } else {
            text += static_cast<char>(byte);
        }
    }
    return text;
}

}  // namespace pelagor::platform
