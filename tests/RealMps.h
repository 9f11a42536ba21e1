#pragma once

// The real MapSource files are read where they lie (PELAGOR_REAL_MPS_DIR in the environment,
// else beside the checkout), never copied into the project; without them their tests skip.

#include <cstdlib>
#include <filesystem>

namespace pelagor::testkit {

inline std::filesystem::path RealMpsFolder() {
    const char* given = std::getenv("PELAGOR_REAL_MPS_DIR");  // NOLINT(concurrency-mt-unsafe)
    return given != nullptr ? given : PELAGOR_REAL_MPS_DIR;
}

}  // namespace pelagor::testkit
