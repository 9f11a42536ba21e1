#pragma once

// The window's GPX must be what the command line writes: this is what `pelagor-cli gpx FILE`
// writes on its standard output.

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

namespace pelagor::app::testing {

inline std::vector<std::uint8_t> GpxOf(const std::string& file) {
    const char* argv[] = {"pelagor-cli", "gpx", file.c_str()};
    std::ostringstream out;
    std::ostringstream err;
    cli::RunCli(3, argv, out, err);
    const std::string text = out.str();
    return {text.begin(), text.end()};
}

}  // namespace pelagor::app::testing
