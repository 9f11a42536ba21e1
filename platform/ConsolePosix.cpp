#include "platform/Console.h"

#include <unistd.h>

#include <csignal>

namespace pelagor::platform {

// The arguments are the bytes the shell passed; under a UTF-8 locale they are UTF-8 already.
std::vector<std::string> CommandLineUtf8(int argc, const char* const* argv) {
    return {argv, argv + argc};
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

void WritesToClosedPipesFail() noexcept {
    static_cast<void>(std::signal(SIGPIPE, SIG_IGN));  // NOLINT: a libc macro
}

bool StandardErrorIsTerminal() noexcept {
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace pelagor::platform
