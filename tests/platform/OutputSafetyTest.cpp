#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "builder/TempDir.h"
#include "platform/FileIo.h"

namespace pelagor::platform {
namespace {

const std::vector<std::uint8_t> kBytes(4096, 0x5A);

// A target name of the longest length a file system allows still gets its temporary file: the
// temporary name does not grow with it.
TEST(SafeReplace, LongestFileNameIsWritten) {
    for (const TemporaryFile temporary :
         {TemporaryFile::UnnamedWherePossible, TemporaryFile::Named}) {
        const testkit::TempDir dir;
        const std::string name = std::string(251, 'n') + ".mps";
        FileError error;
        EXPECT_TRUE(
            ReplaceFileContents(dir / name, kBytes, ReplaceMode::Replace, &error, temporary))
            << Describe(error);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{name});
    }
}

#ifndef _WIN32

// Runs `work` in a child process and returns its wait status.
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
            const bool ok = ReplaceFileContents(dir / "out.mps", kBytes, ReplaceMode::Replace,
                                                &error, temporary);
            return !ok && error.systemCode == EFBIG ? 0 : 1;
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(dir.Names(), std::vector<std::string>{});
    }
}

// A process ended while it writes leaves no temporary file: an unnamed one has nothing to leave
// even under SIGKILL, a named one is removed by the signals that end a program politely.
TEST(SafeReplace, EndedWriteLeavesNoTemporaryFile) {
    const struct {
        TemporaryFile temporary;
        int signal;
    } cases[] = {
        {TemporaryFile::UnnamedWherePossible, SIGKILL},
        {TemporaryFile::Named, SIGTERM},
        {TemporaryFile::Named, SIGINT},
        {TemporaryFile::Named, SIGHUP},
    };
    const std::vector<std::uint8_t> large(16U << 20U, 0x5A);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        const testkit::TempDir dir;
        const int status = InChild(
            [&] {
                // Writes for ever; each new file takes a name where none is.
                for (;;) {
                    ReplaceFileContents(dir / "out.mps", large, ReplaceMode::Replace, nullptr,
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
