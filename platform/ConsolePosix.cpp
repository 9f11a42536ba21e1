#include "platform/Console.h"

namespace pelagor::platform {

// The arguments are the bytes the shell passed; under a UTF-8 locale they are UTF-8 already.
std::vector<std::string> CommandLineUtf8(int argc, const char* const* argv) {
    return std::vector<std::string>(argv, argv + argc);
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

}  // namespace pelagor::platform
