#pragma once

#include <string>

#include "tracklog/SourceLoader.h"

namespace pelagor::cli {

// Why neither reader took a source: "not a WTR file (signature); EVO: waypoint count 0 at
// byte 32".
std::string DescribeSourceFailure(const SourceLoadReport& report);

}  // namespace pelagor::cli
