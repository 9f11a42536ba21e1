#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelagor::cli {

// "1 track", "3 tracks", "0 waypoints".
inline std::string Counted(std::int64_t count, std::string_view noun) {
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

}  // namespace pelagor::cli
