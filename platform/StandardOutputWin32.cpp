#include <windows.h>
// io.h after windows.h, as elsewhere
#include <io.h>

#include <algorithm>
#include <cstdio>

#include "platform/StandardOutput.h"

namespace pelagor::platform {

bool StandardOutputBuffer::WriteAll(const char* bytes, std::size_t count) noexcept {
    // The C runtime's descriptor, which Utf8Console set to binary mode.
    while (count > 0) {
        const auto chunk = static_cast<unsigned>(std::min<std::size_t>(count, 1U << 30U));
        _set_doserrno(0);
        const int written = ::_write(::_fileno(stdout), bytes, chunk);
        if (written <= 0) {
            unsigned long code = 0;
            _get_doserrno(&code);
            // The system's own code, which SystemErrorText describes, not the C runtime's errno.
            m_error = code != 0 ? static_cast<int>(code) : static_cast<int>(ERROR_WRITE_FAULT);
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool StandardOutputBuffer::ConfirmWritten() noexcept {
    return true;
}

}  // namespace pelagor::platform
