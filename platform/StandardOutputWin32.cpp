#include <windows.h>

#include <algorithm>

#include "platform/ConsoleText.h"
#include "platform/StandardOutput.h"

namespace pelagor::platform {
namespace {

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != 0;
}

// Standard output is one per process, and so is the start of a character its console waits to
// see completed.
ConsoleText& OutputConsole() {
    static ConsoleText console(
        [](const wchar_t* text, std::uint32_t count, std::uint32_t& written) {
            DWORD units = 0;
            const BOOL done =
                ::WriteConsoleW(::GetStdHandle(STD_OUTPUT_HANDLE), text, count, &units, nullptr);
            written = units;
            return done != 0;
        });
    return console;
}

// The reason of the failure just seen.
int LastError() {
    const DWORD code = ::GetLastError();
    return static_cast<int>(code != 0 ? code : ERROR_WRITE_FAULT);
}

}  // namespace

bool StandardOutputBuffer::WriteAll(const char* bytes, std::size_t count) noexcept {
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsConsole(output)) {
        if (!OutputConsole().Write({bytes, count})) {
            m_error = LastError();
            return false;
        }
        return true;
    }
    // A file or a pipe takes the bytes as they are.
    while (count > 0) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1U << 30U));
        DWORD written = 0;
        if (::WriteFile(output, bytes, chunk, &written, nullptr) == 0 || written == 0) {
            m_error = LastError();
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

bool StandardOutputBuffer::ConfirmWritten() noexcept {
    if (IsConsole(::GetStdHandle(STD_OUTPUT_HANDLE)) && !OutputConsole().Finish()) {
        m_error = LastError();
        return false;
    }
    return true;
}

}  // namespace pelagor::platform
