#include "app/PathText.h"

#include <algorithm>

namespace pelagor::app {

std::filesystem::path PathFromUtf8(std::string_view text) {
    std::u8string utf8(text.size(), u8'\0');
    std::transform(text.begin(), text.end(), utf8.begin(),
                   [](char c) { return static_cast<char8_t>(c); });
    return {utf8};
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    std::string text(utf8.size(), '\0');
    std::transform(utf8.begin(), utf8.end(), text.begin(),
                   [](char8_t c) { return static_cast<char>(c); });
    return text;
}

}  // namespace pelagor::app
