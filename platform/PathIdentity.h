#pragma once

// Questions about paths that guard the user's files before anything is written: whether an
// output would land on an input, and what a path names now.

#include <filesystem>
#include <string>

namespace pelagor::platform {

// The path made absolute with every existing folder and link resolved and "." and ".." gone,
// spelled as the file system compares names (case-insensitively on Windows): two paths with the
// same key name the same file. Hard links and bind mounts can still name one file with two keys:
// an existing file is known by its FileIdentity instead.
std::string ResolvedKey(const std::filesystem::path& path) noexcept;

// Whether `path` names an existing folder (through links).
bool IsFolder(const std::filesystem::path& path) noexcept;

// Whether anything exists at `path` (through links).
bool Exists(const std::filesystem::path& path) noexcept;

}  // namespace pelagor::platform
