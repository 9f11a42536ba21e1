#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <utility>

#include "platform/FileIo.h"
#include "platform/Memory.h"
#include "platform/SystemError.h"

namespace pelagor::platform {
namespace {

FileErrorKind KindOfErrno(int code) {
    switch (code) {
        case ENOENT:
        case ENOTDIR:
            return FileErrorKind::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileErrorKind::AccessDenied;
        case EWOULDBLOCK:
            return FileErrorKind::InUse;
        case EISDIR:
            return FileErrorKind::NotRegular;
        case ENOMEM:
            return FileErrorKind::OutOfMemory;
        case EEXIST:
            return FileErrorKind::Exists;
        default:
            return FileErrorKind::Other;
    }
}

bool Fail(FileError* error, FileErrorKind kind, int code = 0) {
    if (error != nullptr) {
        *error = FileError{kind, code};
    }
    return false;
}

bool FailErrno(FileError* error, FileErrorKind fallback) {
    const int code = errno;
    const FileErrorKind kind = KindOfErrno(code);
    return Fail(error, kind == FileErrorKind::Other ? fallback : kind, code);
}

// Owns one file descriptor; closing is the destructor's job on every early return.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    ~Descriptor() { Reset(); }
    [[nodiscard]] int get() const { return m_fd; }
    [[nodiscard]] bool valid() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded: a failed close can lose written data.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    void Reset() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = -1;
    }

    int m_fd;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The folder that holds `path`, for the temporary file that is later renamed over it.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// A symbolic link given as the output stands for the file it points to: that file is replaced,
// and the link stays a link.
std::filesystem::path ResolveLinkedTarget(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
        if (!ec) {
            return resolved;
        }
    }
    return path;
}

}  // namespace

std::string SystemErrorText(int code) {
    return std::strerror(code);  // NOLINT(concurrency-mt-unsafe): one thread
}

bool ReadWholeFileExclusive(const std::filesystem::path& path,
                            std::unique_ptr<std::uint8_t[]>& data, std::uint32_t& size,
                            FileError* error) noexcept {
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come; regular
    // files read the same either way, and anything else is refused below.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.valid()) {
        return FailErrno(error, FileErrorKind::Other);
    }
    // A shared advisory lock: readers may read together, but a cooperating writer that holds
    // the file exclusively makes the read fail instead of seeing a half-written file. A file
    // system that keeps no locks (some network and FUSE mounts) is read unlocked rather than
    // refused, since every file there would fail alike.
    if (::flock(file.get(), LOCK_SH | LOCK_NB) != 0 && errno != ENOLCK && errno != EOPNOTSUPP &&
        errno != EINVAL) {
        return FailErrno(error, FileErrorKind::InUse);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return FailErrno(error, FileErrorKind::ReadFailed);
    }
    if (!S_ISREG(info.st_mode)) {
        return Fail(error, FileErrorKind::NotRegular);
    }
    // Back to blocking reads, which some file systems (FUSE) would otherwise cut short.
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags == -1 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) == -1) {
        return FailErrno(error, FileErrorKind::ReadFailed);
    }
    if (info.st_size == 0) {
        return Fail(error, FileErrorKind::Empty);
    }
    if (static_cast<std::uint64_t>(info.st_size) > std::numeric_limits<std::uint32_t>::max()) {
        return Fail(error, FileErrorKind::TooLarge);
    }
    const auto fileSize = static_cast<std::uint32_t>(info.st_size);
    std::unique_ptr<std::uint8_t[]> buffer = NewByteBuffer(fileSize);
    if (!buffer) {
        return Fail(error, FileErrorKind::OutOfMemory);
    }
    // One read of the whole size; the loop only resumes a read that the kernel split or that a
    // signal interrupted. A file that shrank meanwhile is a failed read, never a short buffer.
    std::size_t done = 0;
    while (done < fileSize) {
        const ssize_t got = ::read(file.get(), buffer.get() + done, fileSize - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return FailErrno(error, FileErrorKind::ReadFailed);
        }
        if (got == 0) {
            return Fail(error, FileErrorKind::ReadFailed);
        }
        done += static_cast<std::size_t>(got);
    }
    data = std::move(buffer);
    size = fileSize;
    return true;
}

bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         ReplaceMode mode, FileError* error) noexcept {
    try {
        const std::filesystem::path target = ResolveLinkedTarget(path);
        const std::filesystem::path folder = FolderOf(target);
        std::random_device entropy;
        std::filesystem::path temporary;
        Descriptor file(-1);
        for (int attempt = 0; attempt < 16 && !file.valid(); ++attempt) {
            std::array<char, 32> suffix{};
            // The suffix always fits: eight hex digits and five characters.
            static_cast<void>(std::snprintf(suffix.data(), suffix.size(), ".%08x.tmp", entropy()));
            // Appended piece by piece: GCC 12 at -O3 takes "." + string for an overlapping
            // copy (-Wrestrict), which breaks the optimised build.
            std::string name(".");
            name += target.filename().string();
            name += suffix.data();
            temporary = folder / name;
            file = Descriptor(::open(temporary.c_str(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
            if (!file.valid() && errno != EEXIST) {
                return FailErrno(error, FileErrorKind::WriteFailed);
            }
        }
        if (!file.valid()) {
            return FailErrno(error, FileErrorKind::WriteFailed);
        }
        const auto discard = [&](FileErrorKind fallback) {
            const int code = errno;
            ::unlink(temporary.c_str());
            errno = code;
            return FailErrno(error, fallback);
        };
        if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0 || !file.Close()) {
            return discard(FileErrorKind::WriteFailed);
        }
        if (mode == ReplaceMode::NoClobber) {
            // link() refuses an existing name atomically, unlike a test followed by rename().
            if (::link(temporary.c_str(), target.c_str()) != 0) {
                return discard(FileErrorKind::WriteFailed);
            }
            ::unlink(temporary.c_str());
        } else if (::rename(temporary.c_str(), target.c_str()) != 0) {
            return discard(FileErrorKind::WriteFailed);
        }
        // Make the rename itself durable; a folder that cannot be synced does not undo it.
        Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (directory.valid()) {
            ::fsync(directory.get());
        }
        return true;
    } catch (...) {
        return Fail(error, FileErrorKind::OutOfMemory);
    }
}

std::optional<bool> SameFile(const std::filesystem::path& first,
                             const std::filesystem::path& second) noexcept {
    struct stat a {};
    struct stat b {};
    if (::stat(first.c_str(), &a) != 0 || ::stat(second.c_str(), &b) != 0) {
        return std::nullopt;
    }
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::optional<std::uint32_t> HardLinkCount(const std::filesystem::path& path) noexcept {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(info.st_nlink);
}

}  // namespace pelagor::platform
