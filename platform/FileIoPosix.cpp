#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <random>
#include <utility>

#include "platform/FileIo.h"
#include "platform/FileSink.h"
#include "platform/Memory.h"
#include "platform/PathIdentity.h"
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

class DescriptorSink final : public FileSink {
public:
    explicit DescriptorSink(int fd) : m_fd(fd) {}

private:
    bool WriteThrough(std::span<const std::uint8_t> bytes, int& code) override {
        if (WriteAll(m_fd, bytes)) {
            return true;
        }
        code = errno;
        return false;
    }

    int m_fd;
};

// The folder that holds `path`, for the temporary file that is later renamed over it.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

std::string SystemErrorText(int code) {
    return std::strerror(code);  // NOLINT(concurrency-mt-unsafe): one thread
}

namespace {

// Reads `count` bytes at the file's position; the loop only resumes a read that the kernel split
// or that a signal interrupted. A file that shrank meanwhile is a failed read, never a short one.
bool ReadExactly(int fd, std::uint8_t* into, std::size_t count, FileError* error) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, into + done, count - done);
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
    return true;
}

}  // namespace

bool ReadWholeFileExclusive(const std::filesystem::path& path,
                            std::unique_ptr<std::uint8_t[]>& data, std::uint32_t& size,
                            FileError* error, const FirstBytesCheck& check) noexcept {
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
    std::array<std::uint8_t, kFirstBytesSize> first{};
    const std::size_t firstSize = check ? std::min<std::size_t>(first.size(), fileSize) : 0;
    if (!ReadExactly(file.get(), first.data(), firstSize, error)) {
        return false;
    }
    if (check && !check(std::span(first).first(firstSize))) {
        return Fail(error, FileErrorKind::Refused);
    }
    std::unique_ptr<std::uint8_t[]> buffer = NewByteBuffer(fileSize);
    if (!buffer) {
        return Fail(error, FileErrorKind::OutOfMemory);
    }
    std::copy_n(first.begin(), firstSize, buffer.get());
    if (!ReadExactly(file.get(), buffer.get() + firstSize, fileSize - firstSize, error)) {
        return false;
    }
    data = std::move(buffer);
    size = fileSize;
    return true;
}

namespace {

// The named temporary file of the write in progress, which a signal that ends the process
// removes first, with the placeholder that holds the target's name where one does. Only
// async-signal-safe calls touch them from the handler: the names wait in fixed buffers. One
// write at a time is guarded; another at the same moment goes unguarded.
struct EndingSignal {
    int number;
    // Guarded only while the signal keeps its default action: these end a program only where
    // nothing else was made of them, and a program that handles them itself keeps its handler.
    bool onlyByDefault;
};
constexpr std::array<EndingSignal, 6> kEndingSignals{{
    {SIGINT, false},
    {SIGTERM, false},
    {SIGHUP, false},
    {SIGQUIT, false},
    {SIGUSR1, true},
    {SIGALRM, true},
}};
std::atomic<bool> g_guardTaken{false};
volatile std::sig_atomic_t g_guardArmed = 0;
volatile std::sig_atomic_t g_placeholderArmed = 0;
std::array<char, 4096> g_guardedName{};
std::array<char, 4096> g_placeholderName{};
std::array<struct sigaction, kEndingSignals.size()> g_previousActions{};
std::array<bool, kEndingSignals.size()> g_installed{};

}  // namespace

extern "C" {
static void RemoveTemporaryThenEnd(int signal) {
    // The placeholder is removed only while the temporary file is there to take its place:
    // once that has been renamed, the name holds the finished file.
    if (g_guardArmed != 0 && ::unlink(g_guardedName.data()) == 0 && g_placeholderArmed != 0) {
        ::unlink(g_placeholderName.data());
    }
    g_guardArmed = 0;
    // What the program did before decides what the signal does now, normally ending it.
    for (std::size_t index = 0; index < kEndingSignals.size(); ++index) {
        if (kEndingSignals[index].number == signal) {
            ::sigaction(signal, &g_previousActions[index], nullptr);
        }
    }
    static_cast<void>(::raise(signal));
}
}

namespace {

// Puts `text` where the signal handler finds it, then tells the handler it is there.
void Arm(const std::string& text, std::array<char, 4096>& name, volatile std::sig_atomic_t& armed) {
    std::copy(text.begin(), text.end(), name.begin());
    name[text.size()] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst);
    armed = 1;
}

class TemporaryNameGuard {
public:
    explicit TemporaryNameGuard(const std::filesystem::path& name) {
        const std::string& text = name.native();
        if (text.size() >= g_guardedName.size() || g_guardTaken.exchange(true)) {
            return;
        }
        m_owner = true;
        Arm(text, g_guardedName, g_guardArmed);
        struct sigaction action {};
        action.sa_handler = RemoveTemporaryThenEnd;
        sigemptyset(&action.sa_mask);
        for (std::size_t index = 0; index < kEndingSignals.size(); ++index) {
            const EndingSignal& ending = kEndingSignals[index];
            struct sigaction previous {};
            g_installed[index] = false;
            if (::sigaction(ending.number, nullptr, &previous) != 0) {
                continue;
            }
            // NOLINTBEGIN(cppcoreguidelines-pro-type-cstyle-cast): libc macros
            // A signal the program ignores (nohup) stays ignored.
            const bool ignored = previous.sa_handler == SIG_IGN;
            const bool byDefault =
                (previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_DFL;
            // NOLINTEND(cppcoreguidelines-pro-type-cstyle-cast)
            if (!ignored && (byDefault || !ending.onlyByDefault)) {
                g_installed[index] = true;
                g_previousActions[index] = previous;
                ::sigaction(ending.number, &action, nullptr);
            }
        }
    }
    TemporaryNameGuard(const TemporaryNameGuard&) = delete;
    TemporaryNameGuard& operator=(const TemporaryNameGuard&) = delete;
    ~TemporaryNameGuard() {
        if (!m_owner) {
            return;
        }
        for (std::size_t index = 0; index < kEndingSignals.size(); ++index) {
            if (g_installed[index]) {
                ::sigaction(kEndingSignals[index].number, &g_previousActions[index], nullptr);
            }
        }
        g_guardArmed = 0;
        g_placeholderArmed = 0;
        g_guardTaken = false;
    }

    // A placeholder now holds the target's name until the temporary file replaces it; a signal
    // removes it with the temporary file.
    void GuardPlaceholder(const std::filesystem::path& name) const {
        const std::string& text = name.native();
        if (m_owner && text.size() < g_placeholderName.size()) {
            Arm(text, g_placeholderName, g_placeholderArmed);
        }
    }

private:
    bool m_owner = false;
};

// Past the size limit of `ulimit -f` a write fails with EFBIG instead of the process being
// killed by SIGXFSZ with its temporary file left behind.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;  // NOLINT: a libc macro
        sigemptyset(&ignore.sa_mask);
        m_restore = ::sigaction(SIGXFSZ, &ignore, &m_previous) == 0;
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;
    ~FileSizeSignalIgnored() {
        if (m_restore) {
            ::sigaction(SIGXFSZ, &m_previous, nullptr);
        }
    }

private:
    struct sigaction m_previous {};
    bool m_restore = false;
};

// A short hidden name in `folder` that does not grow with the target's, so that a target name of
// up to 255 bytes still leaves room for it.
std::filesystem::path TemporaryName(const std::filesystem::path& folder,
                                    std::random_device& entropy) {
    std::array<char, 32> name{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): a fixed layout
    static_cast<void>(std::snprintf(name.data(), name.size(), ".pelagor-%08x.tmp", entropy()));
    return folder / name.data();
}

// Makes the folder's new entry durable; a folder that cannot be synced does not undo it.
void SyncFolder(const std::filesystem::path& folder) {
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) {
        ::fsync(directory.get());
    }
}

// The name through which the open unnamed file `fd` can be given a name of its own.
std::string ProcessName(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// Creates a new name for the open unnamed file `fd`; false with errno set.
bool LinkUnnamed(int fd, const std::filesystem::path& name) {
    return ::linkat(AT_FDCWD, ProcessName(fd).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) ==
           0;
}

// Runs the caller's writer into the file `fd` and flushes it to disk; false with `error` set.
bool Produce(int fd, const std::function<bool(OutputSink&)>& write, FileError* error) {
    DescriptorSink sink(fd);
    const FileError produced = Produce(sink, write);
    if (produced.kind == FileErrorKind::WriteFailed) {
        errno = produced.systemCode;
        return FailErrno(error, FileErrorKind::WriteFailed);
    }
    if (produced.kind != FileErrorKind::None) {
        return Fail(error, produced.kind);
    }
    return ::fsync(fd) == 0 || FailErrno(error, FileErrorKind::WriteFailed);
}

// Removes a temporary name that will not become the target; the failure keeps its own reason.
bool DiscardThenFail(const std::filesystem::path& temporary, FileErrorKind kind, FileError* error) {
    const int code = errno;
    ::unlink(temporary.c_str());
    errno = code;
    return FailErrno(error, kind);
}

// The replacement keeps what was chosen for the earlier file: its permission bits and, where the
// process may set them, its owner and group (a refusal is no failure: the file is then the
// writer's). Group permissions go only to the group they were given to; set-id and sticky bits,
// which a data file has no use for, are never carried. Done before a byte is written, so that a
// private file's contents are never readable by others under the temporary name.
void CarryOver(int fd, const struct stat* earlier) {
    if (earlier == nullptr) {
        return;
    }
    const bool groupKept = ::fchown(fd, earlier->st_uid, earlier->st_gid) == 0 ||
                           ::fchown(fd, static_cast<uid_t>(-1), earlier->st_gid) == 0;
    mode_t mode = earlier->st_mode & 0777U;
    if (!groupKept) {
        mode &= ~static_cast<mode_t>(0070U);
    }
    static_cast<void>(::fchmod(fd, mode));
}

// Gives the finished temporary file the target's name unless something has that name already, in
// a way no other writer can come between: renameat2(RENAME_NOREPLACE) where the file system has
// it, else a hard link. A file system with neither (FAT or exFAT through FUSE or an older kernel
// keep no links) gets an empty placeholder made exclusively, which claims the name until the
// rename replaces it: for that moment the name shows an empty file. False with errno set and the
// temporary file still there.
bool TakeNameExclusively(const std::filesystem::path& temporary,
                         const std::filesystem::path& target, TemporaryNameGuard& guard) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return false;
    }
    if (::link(temporary.c_str(), target.c_str()) == 0) {
        ::unlink(temporary.c_str());
        return true;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
        return false;
    }
    const Descriptor placeholder(
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    if (!placeholder.valid()) {
        return false;
    }
    guard.GuardPlaceholder(target);
    if (::rename(temporary.c_str(), target.c_str()) == 0) {
        return true;
    }
    const int code = errno;
    ::unlink(target.c_str());
    errno = code;
    return false;
}

enum class Outcome { Done, Failed, TryNamed };

// The bytes go to a file without a name, so that nothing is left behind whatever ends the
// process before it is complete; only then does it get a name. Where no target exists the file
// takes its name directly; otherwise it passes a moment under a temporary name, then replaces the
// target in one rename.
Outcome WriteUnnamed(const std::filesystem::path& target, const std::filesystem::path& folder,
                     const std::function<bool(OutputSink&)>& write, ReplaceMode mode,
                     const struct stat* earlier, FileError* error) {
    Descriptor file(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (!file.valid()) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return Outcome::TryNamed;
        }
        FailErrno(error, FileErrorKind::WriteFailed);
        return Outcome::Failed;
    }
    // Without /proc the file could never take a name: the named way is taken before the writer
    // runs, which it does only once.
    struct stat self {};
    if (::lstat(ProcessName(file.get()).c_str(), &self) != 0) {
        return Outcome::TryNamed;
    }
    CarryOver(file.get(), earlier);
    if (!Produce(file.get(), write, error)) {
        return Outcome::Failed;
    }
    // link() refuses an existing name atomically, unlike a test followed by rename().
    if (LinkUnnamed(file.get(), target)) {
        SyncFolder(folder);
        return Outcome::Done;
    }
    if (errno != EEXIST || mode == ReplaceMode::NoClobber) {
        FailErrno(error, FileErrorKind::WriteFailed);
        return Outcome::Failed;
    }
    std::random_device entropy;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::filesystem::path temporary = TemporaryName(folder, entropy);
        if (!LinkUnnamed(file.get(), temporary)) {
            if (errno == EEXIST) {
                continue;
            }
            FailErrno(error, FileErrorKind::WriteFailed);
            return Outcome::Failed;
        }
        const TemporaryNameGuard guard(temporary);
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            DiscardThenFail(temporary, FileErrorKind::WriteFailed, error);
            return Outcome::Failed;
        }
        SyncFolder(folder);
        return Outcome::Done;
    }
    FailErrno(error, FileErrorKind::WriteFailed);
    return Outcome::Failed;
}

// The same with a named temporary file, for file systems that keep no unnamed ones.
bool WriteNamed(const std::filesystem::path& target, const std::filesystem::path& folder,
                const std::function<bool(OutputSink&)>& write, ReplaceMode mode,
                const struct stat* earlier, FileError* error) {
    std::random_device entropy;
    std::filesystem::path temporary;
    Descriptor file(-1);
    for (int attempt = 0; attempt < 16 && !file.valid(); ++attempt) {
        temporary = TemporaryName(folder, entropy);
        file = Descriptor(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (!file.valid() && errno != EEXIST) {
            return FailErrno(error, FileErrorKind::WriteFailed);
        }
    }
    if (!file.valid()) {
        return FailErrno(error, FileErrorKind::WriteFailed);
    }
    TemporaryNameGuard guard(temporary);
    const auto discard = [&] {
        return DiscardThenFail(temporary, FileErrorKind::WriteFailed, error);
    };
    CarryOver(file.get(), earlier);
    if (!Produce(file.get(), write, error)) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (!file.Close()) {
        return discard();
    }
    if (mode == ReplaceMode::NoClobber) {
        if (!TakeNameExclusively(temporary, target, guard)) {
            return discard();
        }
    } else if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return discard();
    }
    SyncFolder(folder);
    return true;
}

}  // namespace

bool ReplaceFileWith(const std::filesystem::path& path,
                     const std::function<bool(OutputSink&)>& write, ReplaceMode mode,
                     FileError* error, TemporaryFile temporary) noexcept {
    try {
        // A symbolic link given as the output stands for the file it names, which is written
        // whether or not it exists yet; the link stays a link.
        const std::optional<std::filesystem::path> target = LinkedFile(path);
        if (!target) {
            return Fail(error, FileErrorKind::WriteFailed, ELOOP);
        }
        // A device or a pipe at the name is never replaced by a file: as root, "-o /dev/null"
        // would replace the system's own.
        struct stat existing {};
        const bool exists = ::stat(target->c_str(), &existing) == 0;
        if (exists && !S_ISREG(existing.st_mode)) {
            return Fail(error, FileErrorKind::NotRegular);
        }
        const struct stat* earlier = exists ? &existing : nullptr;
        const std::filesystem::path folder = FolderOf(*target);
        const FileSizeSignalIgnored fileSizeSignal;
        if (temporary == TemporaryFile::UnnamedWherePossible) {
            const Outcome outcome = WriteUnnamed(*target, folder, write, mode, earlier, error);
            if (outcome != Outcome::TryNamed) {
                return outcome == Outcome::Done;
            }
        }
        return WriteNamed(*target, folder, write, mode, earlier, error);
    } catch (...) {
        return Fail(error, FileErrorKind::OutOfMemory);
    }
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) noexcept {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace pelagor::platform
