#pragma once

// Paths cross the program as UTF-8 text (command-line arguments, JSON, messages). A narrow
// std::string given to std::filesystem::path is read in the ANSI code page on Windows, which
// mangles or refuses a Chinese file name: every conversion goes through these two instead.

#include <filesystem>
#include <string>
#include <string_view>

namespace pelagor::platform {

// On Windows text that is not UTF-8 throws std::filesystem::filesystem_error; the command line
// there is always valid UTF-8, taken from UTF-16.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// A file name as a message prints it: control characters (a line feed, a tab, an escape that
// would drive the terminal) written as "\n", "\t", "\x1b" and so on, so that a message stays
// one line and shows what the name holds. Everything else is kept byte for byte.
std::string PrintableName(std::string_view utf8);

}  // namespace pelagor::platform
