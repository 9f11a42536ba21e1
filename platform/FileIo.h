#pragma once

// Every call into the operating system's file interface lives behind this header, so that
// another platform replaces only the implementation file.

#include <cstdint>
#include <filesystem>
#include <functional>
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
    Exists,   // the target exists and replacing it was not allowed
    Refused,  // its first bytes show that no reader that may read it can take it
    Other,
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    int systemCode = 0;  // errno on POSIX, GetLastError() on Windows; 0 when none applies
};

// A short lower-case description fit for a message such as "cannot read trip.wtr: <text>".
std::string Describe(const FileError& error);

// How many of a file's first bytes a check sees before the file is read whole.
inline constexpr std::size_t kFirstBytesSize = 64;

// Says from a file's first bytes (kFirstBytesSize of them, or all when the file is shorter)
// whether the file is worth reading whole. It must not throw.
using FirstBytesCheck = std::function<bool(std::span<const std::uint8_t> firstBytes)>;

// Reads the whole file at `path` into one newly allocated buffer: one open (refused while a
// writer holds the file), one size query, one read. Given a check, the first bytes are read
// first, and a file whose first bytes the check refuses fails as Refused before the buffer for
// the whole file is made. On failure `data` and `size` are untouched and nothing stays
// allocated or open.
bool ReadWholeFileExclusive(const std::filesystem::path& path,
                            std::unique_ptr<std::uint8_t[]>& data, std::uint32_t& size,
                            FileError* error, const FirstBytesCheck& check = {}) noexcept;

enum class ReplaceMode {
    Replace,   // an existing file of that name is replaced without a question
    NoClobber  // an existing file of that name makes the write fail, untouched
};

// Where the bytes wait until they are complete. An unnamed file (O_TMPFILE on Linux) leaves
// nothing behind even when the process is killed; a file system without it, and Windows, use a
// short hidden name in the same folder, removed on Ctrl-C, SIGTERM and SIGHUP. Tests ask for the
// named one to exercise it where unnamed files work.
enum class TemporaryFile { UnnamedWherePossible, Named };

// Writes `bytes` as the file at `path` without ever exposing a partial file: the bytes go to a
// temporary file in the same folder, which is flushed to disk and then renamed over the target.
// An existing target that is not a regular file (a device, a pipe, a folder) is refused and left
// as it is; a symbolic link to a regular file stands for that file. On failure an earlier file
// of that name is untouched and no temporary file is left behind.
bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         ReplaceMode mode, FileError* error,
                         TemporaryFile temporary = TemporaryFile::UnnamedWherePossible) noexcept;

// What makes a file itself rather than one of its names: the device and inode on POSIX, the
// volume serial number and file index on Windows. Every spelling, symbolic link, hard link and
// bind mount of a file shares it.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the existing file at `path` (through links); empty when it cannot be examined,
// for example because it does not exist.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) noexcept;

}  // namespace pelagor::platform
