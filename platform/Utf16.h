#pragma once

// UTF-16 and UTF-8 for the Windows side of this folder and the Windows window.

#include <string>
#include <string_view>

namespace pelagor::platform {

// Lone surrogates, which UTF-8 cannot carry, become U+FFFD.
std::string Utf16ToUtf8(std::wstring_view text);
// Invalid UTF-8 becomes U+FFFD.
std::wstring Utf8ToUtf16(std::string_view text);

}  // namespace pelagor::platform
