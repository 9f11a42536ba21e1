#pragma once

// Names in track logs and MapSource files are bytes in a legacy Windows code page (950, Big5,
// for the program's Traditional Chinese users). Conversion to UTF-8 is a platform service.

#include <string>
#include <string_view>

namespace pelagor::platform {

inline constexpr std::string_view kDefaultEncoding = "cp950";

// Whether `encoding` (for example "cp950", "cp1252", "utf-8") can be decoded here.
bool IsEncodingSupported(std::string_view encoding);

// Decodes `bytes` from `encoding` to UTF-8. Every byte sequence that does not decode becomes
// U+FFFD, one per undecodable byte, so nothing is dropped silently.
std::string DecodeToUtf8(std::string_view bytes, std::string_view encoding);

}  // namespace pelagor::platform
