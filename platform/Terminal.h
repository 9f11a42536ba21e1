#pragma once

// Whether the program talks to a person: progress lines are drawn only for a terminal, so that
// redirected output stays plain results and errors.

namespace pelagor::platform {

bool StandardErrorIsTerminal() noexcept;

}  // namespace pelagor::platform
