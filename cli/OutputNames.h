#pragma once

// Where a command writes, and the guard that keeps it off its own inputs.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelagor::cli {

// The file name of `source` with its last extension replaced by `extension` (".mps"):
// "trip.2024-05.v2.wtr" gives "trip.2024-05.v2.mps", "trip" gives "trip.mps".
std::filesystem::path OutputNameFor(const std::filesystem::path& source,
                                    std::string_view extension);

// The first of `inputs` that writing `output` would replace (the same file through any path),
// or nothing.
std::optional<std::string> InputNamedBy(const std::filesystem::path& output,
                                        std::span<const std::string> inputs);

}  // namespace pelagor::cli
