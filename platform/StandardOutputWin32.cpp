#include <windows.h>

#include <algorithm>

#include "platform/StandardOutput.h"

namespace pelagor::platform {

bool StandardOutputBuffer::WriteAll(const char* bytes, std::size_t count) noexcept {
    // The bytes as they are: Utf8Console made a console show them as UTF-8.
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    while (count > 0) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1U << 30U));
        DWORD written = 0;
        if (::WriteFile(output, bytes, chunk, &written, nullptr) == 0 || written == 0) {
            const DWORD code = ::GetLastError();
            m_error = static_cast<int>(code != 0 ? code : ERROR_WRITE_FAULT);
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

bool StandardOutputBuffer::ConfirmWritten() noexcept {
    return true;
}

}  // namespace pelagor::platform
