#pragma once

// UTF-16 to UTF-8 for the Windows side of this folder.

#include <string>
#include <string_view>

namespace pelagor::platform {

// Lone surrogates, which UTF-8 cannot carry, become U+FFFD.
std::string Utf16ToUtf8(std::wstring_view text);

}  // namespace pelagor::platform
