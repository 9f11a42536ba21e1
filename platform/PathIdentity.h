#pragma once

// Questions about paths that guard the user's files before anything is written: whether an
// output would land on an input, and what a path names now.

#include <filesystem>
#include <string>

namespace pelagor::platform {

// Whether writing `output` would replace the file `input`: the same file through any spelling,
// symbolic link or hard link; when either does not exist yet, the same resolved folder and name.
bool NamesSameFile(const std::filesystem::path& output,
                   const std::filesystem::path& input) noexcept;

// The path made absolute with every existing folder and link resolved and "." and ".." gone:
// two paths with the same key name the same file. Hard links are the exception; see below.
std::string ResolvedKey(const std::filesystem::path& path) noexcept;

// Whether the existing file at `path` has other names as hard links, which no spelling of the
// path reveals.
bool HasOtherHardLinks(const std::filesystem::path& path) noexcept;

// Whether `path` names an existing folder (through links).
bool IsFolder(const std::filesystem::path& path) noexcept;

// Whether anything exists at `path` (through links).
bool Exists(const std::filesystem::path& path) noexcept;

}  // namespace pelagor::platform
