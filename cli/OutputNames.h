#pragma once

// Where a command writes: the output named after its source.

#include <filesystem>
#include <string_view>

namespace pelagor::cli {

// The file name of `source` with its last extension replaced by `extension` (".mps"):
// "trip.2024-05.v2.wtr" gives "trip.2024-05.v2.mps", "trip" gives "trip.mps".
std::filesystem::path OutputNameFor(const std::filesystem::path& source,
                                    std::string_view extension);

}  // namespace pelagor::cli
