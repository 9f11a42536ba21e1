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

}  // namespace pelagor::platform
