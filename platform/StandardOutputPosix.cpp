#include <unistd.h>

#include <cerrno>

#include "platform/StandardOutput.h"

namespace pelagor::platform {

bool StandardOutputBuffer::WriteAll(const char* bytes, std::size_t count) noexcept {
    while (count > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            m_error = written == 0 ? EIO : errno;
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool StandardOutputBuffer::ConfirmWritten() noexcept {
    // Some file systems (NFS) report a failed write only when a descriptor of the file closes;
    // closing a copy asks without giving up standard output itself.
    const int copy = ::dup(STDOUT_FILENO);
    if (copy >= 0 && ::close(copy) != 0 && errno != EINTR) {
        m_error = errno;
        return false;
    }
    return true;
}

}  // namespace pelagor::platform
