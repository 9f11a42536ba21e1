#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <vector>

// What each fsync() of this program flushed, in order: 'f' a file, 'd' a folder. Defined here,
// it stands in for the C library's for the whole test program, and still flushes.
std::vector<char> g_synced;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
extern "C" int fsync(int fd) {
    struct stat info {};
    g_synced.push_back(::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? 'd' : 'f');
    return static_cast<int>(::syscall(SYS_fsync, fd));
}
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "builder/ByteBuilder.h"
#include "builder/TempDir.h"
#include "platform/FileIo.h"
#include "platform/PathText.h"

namespace pelagor::platform {
namespace {

namespace fs = std::filesystem;
using testkit::ByteBuilder;
using testkit::ReadBytes;
using testkit::WriteBytes;

const std::vector<std::uint8_t> kOld = ByteBuilder().Text("old contents").bytes();
const std::vector<std::uint8_t> kNew = ByteBuilder().Text("new").U8(0).U8(0x0A).U8(0x0D).bytes();

// 航跡.mps and 台北.wtr: names outside every ANSI code page's reach but Big5's.
constexpr std::string_view kTrackMps = "\xE8\x88\xAA\xE8\xB7\xA1.mps";
constexpr std::string_view kTaipeiWtr = "\xE5\x8F\xB0\xE5\x8C\x97.wtr";

class FileIoTest : public testing::Test {
protected:
    [[nodiscard]] fs::path At(std::string_view utf8Name) const {
        return m_dir / PathFromUtf8(utf8Name);
    }

    // A failed read leaves both outputs as they were.
    struct ReadResult {
        bool ok = false;
        FileError error;
        std::unique_ptr<std::uint8_t[]> data{new std::uint8_t[1]{42}};
        const std::uint8_t* before = data.get();
        std::uint32_t size = 0xDEADBEEF;
    };

    static ReadResult Read(const fs::path& path) {
        ReadResult result;
        result.ok = ReadWholeFileExclusive(path, result.data, result.size, &result.error);
        return result;
    }

    testkit::TempDir m_dir;
};

TEST_F(FileIoTest, ReadGivesTheWholeFileInBinary) {
    // CR LF and ^Z would be changed or end the data in a text-mode read on Windows.
    const std::vector<std::uint8_t> bytes =
        ByteBuilder().Text("A\r\nB").U8(0x1A).U8(0).Text("C\n").bytes();
    WriteBytes(At("log.wtr"), bytes);
    const ReadResult read = Read(At("log.wtr"));
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.size, bytes.size());
    EXPECT_EQ(std::vector<std::uint8_t>(read.data.get(), read.data.get() + read.size), bytes);
}

TEST_F(FileIoTest, ReadFailuresLeaveTheOutputsAloneAndNameTheCause) {
    WriteBytes(At("empty.wtr"), {});
    WriteBytes(At(kTrackMps), {});  // empty, with a Chinese name
    fs::create_directory(At("folder.wtr"));
    std::vector<std::pair<std::string, FileErrorKind>> cases = {
        {"missing.wtr", FileErrorKind::NotFound},  {"none/missing.wtr", FileErrorKind::NotFound},
        {"empty.wtr", FileErrorKind::Empty},       {std::string(kTrackMps), FileErrorKind::Empty},
        {"folder.wtr", FileErrorKind::NotRegular},
    };
#ifndef _WIN32
    EXPECT_EQ(::mkfifo(At("pipe").c_str(), 0600), 0);  // no writer: opening it would block
    WriteBytes(At("huge"), {});
    fs::resize_file(At("huge"), std::uint64_t{1} << 32U);  // sparse: no disk used
    WriteBytes(At("secret"), kOld);
    fs::permissions(At("secret"), fs::perms::none);
    cases.insert(cases.end(),
                 {{"pipe", FileErrorKind::NotRegular}, {"huge", FileErrorKind::TooLarge}});
    if (::geteuid() != 0) {  // the superuser reads any file
        cases.emplace_back("secret", FileErrorKind::AccessDenied);
    }
#endif
    for (const auto& [name, kind] : cases) {
        const ReadResult read = Read(At(name));
        EXPECT_FALSE(read.ok) << name;
        EXPECT_EQ(read.error.kind, kind) << name;
        EXPECT_EQ(read.data.get(), read.before) << name;
        EXPECT_EQ(read.size, 0xDEADBEEF) << name;
    }
}

#ifndef _WIN32
// A writer that holds the file exclusively keeps readers out; other readers do not.
TEST_F(FileIoTest, PosixFileLockedExclusivelyIsNotRead) {
    WriteBytes(At("locked"), kOld);
    for (const int lock : {LOCK_EX, LOCK_SH}) {
        SCOPED_TRACE(lock == LOCK_EX ? "exclusive" : "shared");
        const int holder = ::open(At("locked").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, lock | LOCK_NB), 0);
        const ReadResult read = Read(At("locked"));
        ::close(holder);
        EXPECT_EQ(read.ok, lock == LOCK_SH);
        EXPECT_EQ(read.error.kind, lock == LOCK_EX ? FileErrorKind::InUse : FileErrorKind::None);
    }
}
#endif

#ifndef _WIN32
// The new contents reach the disk before the rename makes them the file's, then the rename does.
TEST_F(FileIoTest, PosixReplaceSyncsTheFileThenItsFolder) {
    g_synced.clear();
    ASSERT_TRUE(ReplaceFileContents(At("out.mps"), kNew, ReplaceMode::Replace, nullptr));
    EXPECT_EQ(g_synced, (std::vector<char>{'f', 'd'}));
}
#endif

// A replacement leaves either the new contents or the earlier state, and never a temporary file.
TEST_F(FileIoTest, ReplaceFileContents) {
    enum class Before { Nothing, File, Folder };
    const struct {
        const char* what;
        Before before;
        std::string name;
        ReplaceMode mode;
        FileErrorKind kind;  // None: succeeds
    } cases[] = {
        {"over a file", Before::File, std::string(kTaipeiWtr), ReplaceMode::Replace,
         FileErrorKind::None},
        {"where none was", Before::Nothing, "out.mps", ReplaceMode::Replace, FileErrorKind::None},
        {"no-clobber, new", Before::Nothing, "out.mps", ReplaceMode::NoClobber,
         FileErrorKind::None},
        {"no-clobber, existing", Before::File, "out.mps", ReplaceMode::NoClobber,
         FileErrorKind::Exists},
        {"into a missing folder", Before::Nothing, "none/out.mps", ReplaceMode::Replace,
         FileErrorKind::NotFound},
        {"over a folder", Before::Folder, "out.mps", ReplaceMode::Replace,
         FileErrorKind::NotRegular},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(m_dir.path());
        fs::create_directories(m_dir.path());
        if (c.before == Before::File) {
            WriteBytes(At(c.name), kOld);
        } else if (c.before == Before::Folder) {
            fs::create_directory(At(c.name));
        }
        FileError error;
        const bool ok = ReplaceFileContents(At(c.name), kNew, c.mode, &error);
        EXPECT_EQ(ok, c.kind == FileErrorKind::None);
        if (c.kind != FileErrorKind::NotRegular) {  // each system names this one its own way
            EXPECT_EQ(error.kind, c.kind);
        }
        if (ok || c.before == Before::File) {
            EXPECT_EQ(ReadBytes(At(c.name)), ok ? kNew : kOld);
        }
        const bool nothingLeft = c.before == Before::Nothing && !ok;
        EXPECT_EQ(m_dir.Names(),
                  nothingLeft ? std::vector<std::string>{} : std::vector<std::string>{c.name});
    }
}

// Windows's C runtime says 0 for every inode; an output guard that trusted it would let a hard
// link overwrite the file it names.
TEST_F(FileIoTest, IdentityOfSeesThroughSpellingsAndLinks) {
    WriteBytes(At(kTaipeiWtr), kOld);
    WriteBytes(At("other.wtr"), kOld);
    fs::create_hard_link(At(kTaipeiWtr), At("link.wtr"));
    fs::create_directory(At("sub"));
    const fs::path roundabout = m_dir / "sub" / ".." / PathFromUtf8(kTaipeiWtr);
    const auto identity = IdentityOf(At(kTaipeiWtr));
    ASSERT_TRUE(identity);
    EXPECT_EQ(IdentityOf(roundabout), identity);
    EXPECT_EQ(IdentityOf(At("link.wtr")), identity);
    EXPECT_NE(IdentityOf(At("other.wtr")), identity);
    EXPECT_EQ(IdentityOf(At("missing.wtr")), std::nullopt);
}

#ifdef _WIN32

// Reading opens with share mode 0: a file that another program holds open is refused, whole,
// rather than read while it may be changing.
TEST_F(FileIoTest, WindowsFileHeldOpenElsewhereIsNotRead) {
    WriteBytes(At(kTaipeiWtr), kOld);
    {
        std::ifstream holder(At(kTaipeiWtr), std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        const ReadResult read = Read(At(kTaipeiWtr));
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.error.kind, FileErrorKind::InUse);
        EXPECT_EQ(read.data.get(), read.before);
        EXPECT_EQ(read.size, 0xDEADBEEF);
    }
    // The failed read kept no handle: the file reads once the other handle is gone.
    EXPECT_TRUE(Read(At(kTaipeiWtr)).ok);
}

TEST_F(FileIoTest, WindowsReadHoldsTheFileOnlyWhileReading) {
    WriteBytes(At("log.wtr"), kOld);
    ASSERT_TRUE(Read(At("log.wtr")).ok);
    std::ofstream writer(At("log.wtr"), std::ios::binary | std::ios::app);
    EXPECT_TRUE(writer.is_open());
}

// A target that another program holds open without allowing deletion cannot be replaced: the
// write fails, the earlier file keeps its contents and no temporary file is left.
TEST_F(FileIoTest, WindowsReplaceOverAFileHeldOpenFailsCleanly) {
    WriteBytes(At(kTrackMps), kOld);
    {
        std::ifstream holder(At(kTrackMps), std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        FileError error;
        EXPECT_FALSE(ReplaceFileContents(At(kTrackMps), kNew, ReplaceMode::Replace, &error));
        EXPECT_NE(error.kind, FileErrorKind::None);
    }
    EXPECT_EQ(ReadBytes(At(kTrackMps)), kOld);
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{std::string(kTrackMps)});
}

TEST_F(FileIoTest, WindowsReplaceKeepsAReadOnlyFile) {
    WriteBytes(At("out.mps"), kOld);
    fs::permissions(At("out.mps"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(ReplaceFileContents(At("out.mps"), kNew, ReplaceMode::Replace, nullptr));
    fs::permissions(At("out.mps"), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadBytes(At("out.mps")), kOld);
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"out.mps"});
}

#endif

}  // namespace
}  // namespace pelagor::platform
