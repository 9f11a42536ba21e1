#pragma once

// Where a command writes, and the guard that keeps it off its own inputs.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pelagor::cli {

// The file name of `source` with its last extension replaced by `extension` (".mps"):
// "trip.2024-05.v2.wtr" gives "trip.2024-05.v2.mps", "trip" gives "trip.mps".
std::filesystem::path OutputNameFor(const std::filesystem::path& source,
                                    std::string_view extension);

// The files a command must not write over, each with a label (its path as given, or the source
// whose output it is). Resolved paths are looked up by hash, so a batch of thousands of files is
// checked in linear time; only an existing output with other hard links is compared with every
// file one by one, since no spelling of a path reveals a hard link.
class PathGuard {
public:
    void Add(const std::filesystem::path& path, std::string label);

    // The label of the file that writing `output` would replace, or nothing.
    [[nodiscard]] std::optional<std::string> NamedBy(const std::filesystem::path& output) const;

private:
    std::vector<std::pair<std::filesystem::path, std::string>> m_files;
    std::unordered_map<std::string, std::size_t> m_byKey;  // resolved path -> index in m_files
};

// The first of `inputs` that writing `output` would replace, or nothing.
std::optional<std::string> InputNamedBy(const std::filesystem::path& output,
                                        std::span<const std::string> inputs);

}  // namespace pelagor::cli
