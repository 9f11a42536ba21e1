#include <windows.h>
// shellapi.h needs windows.h first
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "platform/Console.h"
#include "platform/Utf16.h"

namespace pelagor::platform {
namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t** arguments) const { ::LocalFree(arguments); }
};

bool IsConsole(FILE* stream) {
    // The C runtime hands out handles as numbers.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

std::vector<std::string> CommandLineUtf8(int argc, const char* const* argv) {
    int count = 0;
    const std::unique_ptr<wchar_t*, LocalFreeDeleter> arguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!arguments || count != argc) {
        // Not the process's own command line (a caller's own array): take it as it is.
        return {argv, argv + argc};
    }
    std::vector<std::string> utf8;
    utf8.reserve(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        utf8.push_back(Utf16ToUtf8(arguments.get()[index]));
    }
    return utf8;
}

Utf8Console::Utf8Console() {
    // Text mode would turn every "\n" into "\r\n": JSON and text leave as the Linux build writes
    // them, byte for byte.
    // Nothing is written yet, and a stream that cannot take the mode stays as it is.
    static_cast<void>(std::fflush(stdout));
    static_cast<void>(std::fflush(stderr));
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    if (IsConsole(stdout) || IsConsole(stderr)) {
        m_previousOutputCodePage = ::GetConsoleOutputCP();
        ::SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8Console::~Utf8Console() {
    if (m_previousOutputCodePage != 0) {
        // What did not reach the console by now is reported by whoever wrote it.
        static_cast<void>(std::fflush(stdout));
        static_cast<void>(std::fflush(stderr));
        ::SetConsoleOutputCP(m_previousOutputCodePage);
    }
}

void WritesToClosedPipesFail() noexcept {}

bool StandardErrorIsTerminal() noexcept {
    return ::_isatty(::_fileno(stderr)) != 0;
}

}  // namespace pelagor::platform
