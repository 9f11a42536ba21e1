#pragma once

#include <ostream>

namespace pelagor::cli {

// Parses the arguments, runs the chosen command and returns the process's exit status.
// `errIsTerminal` tells whether `err` reaches a person, who then sees a batch's progress.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           bool errIsTerminal = false);

}  // namespace pelagor::cli
