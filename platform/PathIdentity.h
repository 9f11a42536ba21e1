#pragma once

// Questions about paths that guard the user's files before anything is written: whether an
// output would land on an input, and what a path names now.

#include <filesystem>
#include <optional>
#include <string>

namespace pelagor::platform {

// The file that writing `path` creates or replaces: `path` itself, or where it is a symbolic link,
// the file the link names (through further links), whether or not that file exists yet. A
// relative link is taken from the link's own folder, as the system takes it. Nothing when the
// links go round in a loop.
std::optional<std::filesystem::path> LinkedFile(const std::filesystem::path& path) noexcept;

// The path made absolute with every existing folder and link resolved, a link at the end followed
// even where the file it names does not exist yet, and "." and ".." gone, spelled as the file
// system compares names (case-insensitively on Windows): two paths with the same key name the
// same file. Hard links and bind mounts can still name one file with two keys: an existing file
// is known by its FileIdentity instead.
std::string ResolvedKey(const std::filesystem::path& path) noexcept;

// Whether `path` names an existing folder (through links).
bool IsFolder(const std::filesystem::path& path) noexcept;

// Whether anything exists at `path` (through links).
bool Exists(const std::filesystem::path& path) noexcept;

}  // namespace pelagor::platform
