#include <unistd.h>

#include "platform/Terminal.h"

namespace pelagor::platform {

bool StandardErrorIsTerminal() noexcept {
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace pelagor::platform
