#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

// What each fsync() of this program flushed, in order: 'f' a file, 'd' a folder. Defined here,
// it stands in for the C library's for the whole test program, and still flushes.
std::vector<char> g_fsyncLog;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
extern "C" int fsync(int fd) {
    struct stat info {};
    g_fsyncLog.push_back(::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? 'd' : 'f');
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

#endif

// Where the file system keeps no hard links (FAT, exFAT), link() fails with EPERM; some of those
// cannot refuse an existing name in a rename either. On POSIX these stand in for the C library's.
enum class Links { Kept, None, NoneNorNoReplace };
Links g_links = Links::Kept;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
#ifndef _WIN32
extern "C" int link(const char* from, const char* to) noexcept {
    if (g_links != Links::Kept) {
        errno = EPERM;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_linkat, AT_FDCWD, from, AT_FDCWD, to, 0));
}
// Spelled as <cstdio> declares it, above.
// NOLINTBEGIN(bugprone-reserved-identifier,readability-identifier-naming)
extern "C" int renameat2(int __oldfd, const char* __old, int __newfd, const char* __new,
                         unsigned __flags) noexcept {
    if (g_links == Links::NoneNorNoReplace) {
        errno = EINVAL;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_renameat2, __oldfd, __old, __newfd, __new, __flags));
}
// NOLINTEND(bugprone-reserved-identifier,readability-identifier-naming)
#endif

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "builder/ByteBuilder.h"
#include "builder/TempDir.h"
#include "platform/FileIo.h"
#include "platform/PathText.h"

namespace pelagor::platform {
namespace {

namespace fs = std::filesystem;
using testkit::ReadBytes;
using testkit::WriteBytes;

const std::vector<std::uint8_t> kOld = testkit::ByteBuilder().Text("old contents").bytes();
const std::vector<std::uint8_t> kNew = testkit::ByteBuilder().Text("new\r\n").U8(0x1A).bytes();

// 航跡.mps and 台北.wtr: names outside every ANSI code page's reach but Big5's.
constexpr std::string_view kTrackMps = "\xE8\x88\xAA\xE8\xB7\xA1.mps";
constexpr std::string_view kTaipeiWtr = "\xE5\x8F\xB0\xE5\x8C\x97.wtr";

class FileIoTest : public testing::Test {
protected:
    [[nodiscard]] fs::path At(std::string_view utf8Name) const {
        return dir / PathFromUtf8(utf8Name);
    }

    // Reads `name`, expecting a failure of `kind` that leaves both outputs as they were.
    void ExpectReadFails(std::string_view name, FileErrorKind kind) const {
        SCOPED_TRACE(name);
        std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[1]{42});
        const std::uint8_t* before = data.get();
        std::uint32_t size = 0xDEADBEEF;
        FileError error;
        EXPECT_FALSE(ReadWholeFileExclusive(At(name), data, size, &error));
        EXPECT_EQ(error.kind, kind);
        EXPECT_EQ(data.get(), before);
        EXPECT_EQ(size, 0xDEADBEEF);
    }

    testkit::TempDir dir;
};

TEST_F(FileIoTest, ReadFailuresLeaveTheOutputsAloneAndNameTheCause) {
    WriteBytes(At(kTrackMps), {});
    fs::create_directory(At("folder.wtr"));
    std::vector<std::pair<std::string, FileErrorKind>> cases = {
        {"none/missing.wtr", FileErrorKind::NotFound},
        {std::string(kTrackMps), FileErrorKind::Empty},
        {"folder.wtr", FileErrorKind::NotRegular},
    };
#ifndef _WIN32
    EXPECT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);  // no writer: opening it would block
    WriteBytes(At("huge"), {});
    fs::resize_file(At("huge"), std::uint64_t{1} << 32U);  // sparse: no disk used
    cases.insert(cases.end(),
                 {{"pipe", FileErrorKind::NotRegular}, {"huge", FileErrorKind::TooLarge}});
    WriteBytes(At("secret"), kOld);
    fs::permissions(At("secret"), fs::perms::none);
    if (::geteuid() != 0) {  // the superuser reads any file
        cases.emplace_back("secret", FileErrorKind::AccessDenied);
    }
#endif
    for (const auto& [name, kind] : cases) {
        ExpectReadFails(name, kind);
    }
}

// A file that another program holds for writing is refused, whole, rather than read while it may
// be changing; another reader is no reason to refuse. A failed read keeps no hold of its own. On
// Windows, where a file held open cannot be replaced either, the replacement fails cleanly.
TEST_F(FileIoTest, FileHeldForWritingElsewhereIsNotRead) {
    WriteBytes(At(kTaipeiWtr), kNew);
    for (const bool writer : {false, true}) {
        SCOPED_TRACE(writer ? "writer" : "reader");
#ifdef _WIN32
        std::fstream holder(At(kTaipeiWtr), writer ? std::ios::in | std::ios::out | std::ios::binary
                                                   : std::ios::in | std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        EXPECT_FALSE(ReplaceFileContents(At(kTaipeiWtr), kOld, ReplaceMode::Replace, nullptr));
#else
        const int holder = ::open(At(kTaipeiWtr).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(holder, (writer ? LOCK_EX : LOCK_SH) | LOCK_NB), 0);
        const std::unique_ptr<const int, void (*)(const int*)> closer(
            &holder, [](const int* fd) { ::close(*fd); });
#endif
        if (writer) {
            ExpectReadFails(kTaipeiWtr, FileErrorKind::InUse);
            continue;
        }
        std::unique_ptr<std::uint8_t[]> data;
        std::uint32_t size = 0;
        ASSERT_TRUE(ReadWholeFileExclusive(At(kTaipeiWtr), data, size, nullptr));
        // Binary: CR and ^Z as they are.
        EXPECT_EQ(std::vector<std::uint8_t>(data.get(), data.get() + size), kNew);
    }
    // Nothing of the reads holds the file now: it can be replaced.
    EXPECT_TRUE(ReplaceFileContents(At(kTaipeiWtr), kOld, ReplaceMode::Replace, nullptr));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{std::string(kTaipeiWtr)});
}

// A replacement leaves either the new contents or the earlier state, and never a temporary file.
// The new contents reach the disk before the rename makes them the file's, then the rename does.
// The temporary file's name does not grow with the target's, even of the longest length allowed.
TEST_F(FileIoTest, ReplaceFileContents) {
    enum class Before { Nothing, File, Folder };
    const std::string longest = std::string(251, 'n') + ".mps";
    const struct {
        std::string name;
        Before before;
        ReplaceMode mode;
        FileErrorKind kind;  // None: succeeds
        TemporaryFile temporary = TemporaryFile::UnnamedWherePossible;
        Links links = Links::Kept;
    } cases[] = {
        {std::string(kTaipeiWtr), Before::File, ReplaceMode::Replace, FileErrorKind::None},
        {longest, Before::Nothing, ReplaceMode::Replace, FileErrorKind::None},
        {longest, Before::File, ReplaceMode::Replace, FileErrorKind::None, TemporaryFile::Named},
        {"out.mps", Before::Nothing, ReplaceMode::NoClobber, FileErrorKind::None},
        {"out.mps", Before::File, ReplaceMode::NoClobber, FileErrorKind::Exists,
         TemporaryFile::Named},
        {"none/out.mps", Before::Nothing, ReplaceMode::Replace, FileErrorKind::NotFound},
        {"out.mps", Before::Folder, ReplaceMode::Replace, FileErrorKind::NotRegular},
        {"out.mps", Before::Nothing, ReplaceMode::NoClobber, FileErrorKind::None,
         TemporaryFile::Named, Links::None},
        {"out.mps", Before::File, ReplaceMode::NoClobber, FileErrorKind::Exists,
         TemporaryFile::Named, Links::NoneNorNoReplace},
        {"out.mps", Before::Nothing, ReplaceMode::NoClobber, FileErrorKind::None,
         TemporaryFile::Named, Links::NoneNorNoReplace},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        fs::remove_all(dir.path());
        fs::create_directories(dir.path());
        if (c.before == Before::File) {
            WriteBytes(At(c.name), kOld);
#ifndef _WIN32
            // The replacement keeps them: bits that no umask makes, an owner only root can give.
            fs::permissions(At(c.name), static_cast<fs::perms>(0460));
            EXPECT_TRUE(::geteuid() != 0 || ::chown(At(c.name).c_str(), 1234, 5678) == 0);
#endif
        } else if (c.before == Before::Folder) {
            fs::create_directory(At(c.name));
        }
        FileError error;
#ifndef _WIN32
        g_fsyncLog.clear();
#endif
        g_links = c.links;
        const bool ok = ReplaceFileContents(At(c.name), kNew, c.mode, &error, c.temporary);
        g_links = Links::Kept;
        EXPECT_EQ(ok, c.kind == FileErrorKind::None) << Describe(error);
#ifndef _WIN32
        EXPECT_TRUE(!ok || g_fsyncLog == (std::vector<char>{'f', 'd'}));
        struct stat info {};
        EXPECT_TRUE(!ok || c.before != Before::File ||
                    (::stat(At(c.name).c_str(), &info) == 0 && (info.st_mode & 07777U) == 0460U &&
                     (::geteuid() != 0 || (info.st_uid == 1234 && info.st_gid == 5678))));
#endif
        if (c.kind != FileErrorKind::NotRegular) {  // each system names this one its own way
            EXPECT_EQ(error.kind, c.kind);
        }
        if (ok || c.before == Before::File) {
            EXPECT_EQ(ReadBytes(At(c.name)), ok ? kNew : kOld);
        }
        const bool nothingLeft = c.before == Before::Nothing && !ok;
        EXPECT_EQ(dir.Names(),
                  nothingLeft ? std::vector<std::string>{} : std::vector<std::string>{c.name});
    }
}

// A writer's pieces arrive in order however they are cut; a writer that gives up or throws
// leaves the earlier file as it was, and nothing else.
TEST_F(FileIoTest, ReplaceFileWithAWriter) {
    std::string text;  // what the writer sent
    const auto pieces = [&text](OutputSink& sink) {
        // Short lines through the sink's buffer several times, then more than it holds at once.
        for (int line = 0; line <= 30000; ++line) {
            const std::string piece = line < 30000 ? std::to_string(line) + "\n" : text;
            text += piece;
            sink.WriteText(piece);
        }
        return true;
    };
    const std::pair<std::function<bool(OutputSink&)>, FileErrorKind> cases[] = {
        {pieces, FileErrorKind::None},
        {[](OutputSink& sink) { return !sink.Write(kNew); }, FileErrorKind::Abandoned},
        {[](OutputSink& /*sink*/) -> bool { throw std::bad_alloc(); }, FileErrorKind::OutOfMemory},
    };
    for (const auto& [write, kind] : cases) {
        for (const TemporaryFile temporary :
             {TemporaryFile::UnnamedWherePossible, TemporaryFile::Named}) {
            text.clear();
            WriteBytes(At("out.gpx"), kOld);
            FileError error;
            EXPECT_EQ(
                ReplaceFileWith(At("out.gpx"), write, ReplaceMode::Replace, &error, temporary),
                kind == FileErrorKind::None);
            EXPECT_EQ(error.kind, kind);
            const auto bytes = ReadBytes(At("out.gpx"));
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
                      kind == FileErrorKind::None ? text : "old contents");
            EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.gpx"});
        }
    }
}

#ifdef _WIN32

// The attributes the earlier file showed stay on its replacement. A read-only file is refused, as
// Windows refuses to write or delete one, and stays as it was.
TEST_F(FileIoTest, ReplacementKeepsTheAttributesAndRefusesAReadOnlyFile) {
    const struct {
        DWORD attributes;
        bool replaced;
    } cases[] = {
        {FILE_ATTRIBUTE_HIDDEN, true},
        {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true},
        {FILE_ATTRIBUTE_READONLY, false},
    };
    const fs::path out = At("out.mps");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        WriteBytes(out, kOld);
        ASSERT_NE(::SetFileAttributesW(out.c_str(), c.attributes), 0);
        FileError error;
        EXPECT_EQ(ReplaceFileContents(out, kNew, ReplaceMode::Replace, &error), c.replaced);
        EXPECT_EQ(error.kind, c.replaced ? FileErrorKind::None : FileErrorKind::AccessDenied);
        EXPECT_EQ(::GetFileAttributesW(out.c_str()) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}, c.attributes);
        EXPECT_EQ(ReadBytes(out), c.replaced ? kNew : kOld);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.mps"});
        ::SetFileAttributesW(out.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A write ended from outside leaves no temporary file, though no handler of the program runs:
// TerminateProcess here, and under Wine SIGTERM and SIGHUP too. The child (this test again, told
// so by its environment) stops in the middle of its write and is killed there.
TEST(SafeReplace, KilledWriteLeavesNoTemporaryFile) {
    const std::wstring variable = L"PELAGOR_TEST_WRITE_INTO";
    const auto eventOf = [](const fs::path& folder) {
        return L"pelagor-" + folder.filename().wstring();
    };
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(::GetEnvironmentVariableW(variable.c_str(), folder.data(), MAX_PATH));
    if (!folder.empty()) {
        ReplaceFileWith(
            fs::path(folder) / "out.mps",
            [&](OutputSink& sink) {
                sink.Write(std::vector<std::uint8_t>(1U << 20U, 0x5A));  // past the sink's buffer
                ::SetEvent(::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventOf(folder).c_str()));
                ::Sleep(INFINITE);
                return true;
            },
            ReplaceMode::Replace, nullptr);
        return;
    }
    const testkit::TempDir dir;
    HANDLE started = ::CreateEventW(nullptr, TRUE, FALSE, eventOf(dir.path()).c_str());
    ::SetEnvironmentVariableW(variable.c_str(), dir.path().c_str());
    std::wstring self(MAX_PATH, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    std::wstring commandLine =
        L"\"" + self + L"\" --gtest_filter=SafeReplace.KilledWriteLeavesNoTemporaryFile";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    ASSERT_NE(::CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &child),
              0);
    ::SetEnvironmentVariableW(variable.c_str(), nullptr);
    EXPECT_EQ(::WaitForSingleObject(started, 60000), WAIT_OBJECT_0);
    ::TerminateProcess(child.hProcess, 1);
    ::WaitForSingleObject(child.hProcess, INFINITE);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    ::CloseHandle(started);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

#else

const std::vector<std::uint8_t> kLarge(16U << 20U, 0x5A);

// Runs `work` in a child process, ended by `killWith` after a while unless 0; returns its status.
template <typename Work>
int InChild(Work work, int killWith = 0) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(work());
    }
    if (killWith != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ::kill(child, killWith);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// Past `ulimit -f` the write fails with EFBIG instead of SIGXFSZ killing the process with its
// temporary file left behind.
TEST(SafeReplace, FileSizeLimitFailsTheWriteCleanly) {
    for (const TemporaryFile temporary :
         {TemporaryFile::UnnamedWherePossible, TemporaryFile::Named}) {
        const testkit::TempDir dir;
        const int status = InChild([&] {
            const rlimit limit{1024, 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            FileError error;
            const bool ok = ReplaceFileContents(dir / "out.mps", kLarge, ReplaceMode::Replace,
                                                &error, temporary);
            return !ok && error.systemCode == EFBIG ? 0 : 1;
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(dir.Names(), std::vector<std::string>{});
    }
}

// An unnamed temporary file has nothing to leave even under SIGKILL; a named one is removed by
// the signals that end a program politely.
TEST(SafeReplace, EndedWriteLeavesNoTemporaryFile) {
    const struct {
        TemporaryFile temporary;
        int signal;
    } cases[] = {
        {TemporaryFile::UnnamedWherePossible, SIGKILL},
        {TemporaryFile::Named, SIGTERM},
        {TemporaryFile::Named, SIGQUIT},
        {TemporaryFile::Named, SIGUSR1},
        {TemporaryFile::Named, SIGALRM},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        const testkit::TempDir dir;
        const int status = InChild(
            [&] {
                const rlimit noCore{0, 0};  // SIGQUIT would leave one
                ::setrlimit(RLIMIT_CORE, &noCore);
                for (;;) {  // each new file takes a name where none is
                    ReplaceFileContents(dir / "out.mps", kLarge, ReplaceMode::Replace, nullptr,
                                        c.temporary);
                    ::unlink((dir / "out.mps").c_str());
                }
                return 0;
            },
            c.signal);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
        for (const std::string& name : dir.Names()) {
            EXPECT_EQ(name, "out.mps");
        }
    }
}

#endif

}  // namespace
}  // namespace pelagor::platform
