#pragma once

// Paths travel through the dialog as UTF-8 text; files are opened by std::filesystem::path.
// The conversion never goes through the local 8-bit code page.

#include <filesystem>
#include <string>
#include <string_view>

namespace pelagor::app {

std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace pelagor::app
