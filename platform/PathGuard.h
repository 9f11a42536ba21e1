#pragma once

// The guard that keeps a write off the files it reads: the command line and the window ask it
// before they write an output.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileIo.h"

namespace pelagor::platform {

// The files a command must not write over, each with a label (its path as given, or the source
// whose output it is). An existing output is compared by file identity (device and inode, or
// volume and file index) with every file, which no spelling, link or bind mount escapes; only
// an output that does not exist yet is compared by its resolved path, which is how two outputs
// of one run that would collide are found. Both are looked up by hash, so a batch of thousands
// of files is checked in linear time.
class PathGuard {
public:
    void Add(const std::filesystem::path& path, std::string label);

    // The label of the file that writing `output` would replace, or nothing.
    [[nodiscard]] std::optional<std::string> NamedBy(const std::filesystem::path& output) const;

private:
    struct IdentityHash {
        std::size_t operator()(const FileIdentity& identity) const noexcept {
            return std::hash<std::uint64_t>{}(identity.device * 0x9E3779B97F4A7C15ULL ^
                                              identity.index);
        }
    };

    std::vector<std::string> m_labels;
    std::unordered_map<FileIdentity, std::size_t, IdentityHash> m_byIdentity;
    std::unordered_map<std::string, std::size_t> m_byKey;  // resolved path -> index in m_labels
};

// The first of `inputs` (UTF-8 paths) that writing `output` would replace, or nothing.
std::optional<std::string> InputNamedBy(const std::filesystem::path& output,
                                        std::span<const std::string> inputs);

}  // namespace pelagor::platform
