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
#include <string_view>

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
    Exists,     // the target exists and replacing it was not allowed
    Refused,    // its first bytes show that no reader that may read it can take it
    Abandoned,  // the writer of a replacement gave up; the caller knows why
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
// short hidden name in the same folder, removed by the signals that end the program (Ctrl-C,
// SIGTERM, SIGHUP, SIGQUIT; SIGUSR1 and SIGALRM where nothing else handles them). On Windows that
// file is also marked for deletion until it is complete, so that a killed process leaves nothing
// either. Tests ask for the named one to exercise it where unnamed files work.
enum class TemporaryFile { UnnamedWherePossible, Named };

// Where the bytes of a replacement go, piece by piece, as its writer makes them. Small pieces are
// gathered into large writes.
class OutputSink {
public:
    OutputSink() = default;
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;
    OutputSink(OutputSink&&) = delete;
    OutputSink& operator=(OutputSink&&) = delete;
    virtual ~OutputSink() = default;

    // Appends `bytes`. False once a write has failed: nothing more is written, and the
    // replacement fails with the system's reason whatever the writer goes on to return.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // Text as its bytes (the UTF-8 of an XML file).
    bool WriteText(std::string_view text);
};

// Writes what `write` makes as the file at `path` without ever exposing a partial file: `write`
// is called once, with a sink whose bytes go to a temporary file in the same folder; that file is
// flushed to disk and then renamed over the target. An existing target that is not a regular file
// (a device, a pipe, a folder) is refused before `write` is called, and left as it is; a symbolic
// link stands for the file it names, which is written through it (the link stays a link; on
// Windows a link whose file is gone is refused as NotFound). The replacement keeps the earlier
// file's permission bits and, on POSIX, its owner and group where the process may set them; on
// Windows its security and its hidden, system and archive attributes, and a read-only file is
// refused (AccessDenied) as Windows refuses to change one. On failure an earlier file of that name
// is untouched and no temporary file is left behind:
// - `write` returns false (it gave up): Abandoned; a std::bad_alloc from it: OutOfMemory, and any
//   other exception: Abandoned.
// - a write to the sink failed (a full disk): WriteFailed or a kind of its own, with the system's
//   code, whatever `write` returned.
bool ReplaceFileWith(const std::filesystem::path& path,
                     const std::function<bool(OutputSink&)>& write, ReplaceMode mode,
                     FileError* error,
                     TemporaryFile temporary = TemporaryFile::UnnamedWherePossible) noexcept;

// The same with bytes made beforehand.
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
