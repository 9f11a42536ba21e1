#pragma once

// Every call into the operating system's file interface lives behind this header, so that
// another platform replaces only the implementation file.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace pelagor::platform {

enum class FileErrorKind {
    None,
    NotFound,
    AccessDenied,
    InUse,       // another program holds the file locked
    NotRegular,  // a folder, a device or a pipe
    Empty,       // an empty file is never a document
    TooLarge,    // 4 GiB or more: the size does not fit the 32-bit size of a document
    OutOfMemory,
    ReadFailed,
    WriteFailed,
    Exists,  // the target exists and replacing it was not allowed
    Other,
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    int systemCode = 0;  // errno on POSIX, GetLastError() on Windows; 0 when none applies
};

// A short lower-case description fit for a message such as "cannot read trip.wtr: <text>".
std::string Describe(const FileError& error);

// Reads the whole file at `path` into one newly allocated buffer: one open (refused while a
// writer holds the file), one size query, one read. On failure `data` and `size` are untouched
// and nothing stays allocated or open.
bool ReadWholeFileExclusive(const std::filesystem::path& path,
                            std::unique_ptr<std::uint8_t[]>& data, std::uint32_t& size,
                            FileError* error) noexcept;

enum class ReplaceMode {
    Replace,   // an existing file of that name is replaced without a question
    NoClobber  // an existing file of that name makes the write fail, untouched
};

// Writes `bytes` as the file at `path` without ever exposing a partial file: the bytes go to a
// temporary file in the same folder, which is flushed to disk and then renamed over the target.
// On failure an earlier file of that name is untouched and no temporary file is left behind.
bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         ReplaceMode mode, FileError* error) noexcept;

// Whether the two paths name the same existing file, through any spelling, symbolic link or
// hard link. Empty when either cannot be examined (for example because it does not exist).
std::optional<bool> SameFile(const std::filesystem::path& first,
                             const std::filesystem::path& second) noexcept;

// The number of names (hard links) of the existing file at `path`; empty when it cannot be
// examined. The C runtime on Windows always says 1, so this asks the file system itself.
std::optional<std::uint32_t> HardLinkCount(const std::filesystem::path& path) noexcept;

}  // namespace pelagor::platform
