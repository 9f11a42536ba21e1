#pragma once

#include <ostream>

namespace pelagor::cli {

// Parses the arguments, runs the chosen command and returns the process's exit status.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace pelagor::cli
