#include <io.h>

#include <cstdio>

#include "platform/Terminal.h"

namespace pelagor::platform {

bool StandardErrorIsTerminal() noexcept {
    return ::_isatty(::_fileno(stderr)) != 0;
}

}  // namespace pelagor::platform
