// Reading a whole file on a POSIX system: what is refused, and that a refusal leaves the
// caller's outputs alone.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "builder/TempDir.h"
#include "platform/FileIo.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor {
namespace {

using platform::FileErrorKind;

// Every refusal names its kind, and neither output is touched.
TEST(ReadWholeFile, Refusals) {
    const testkit::TempDir folder;
    const struct {
        const char* what;
        std::function<std::filesystem::path()> make;
        FileErrorKind kind;
    } cases[] = {
        {"missing", [&] { return folder.path() / "missing"; }, FileErrorKind::NotFound},
        {"a folder", [&] { return folder.path(); }, FileErrorKind::NotRegular},
        {"a named pipe with no writer",
         [&] {
             auto pipe = folder.path() / "pipe";
             EXPECT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
             return pipe;
         },
         FileErrorKind::NotRegular},
        {"4 GiB",
         [&] {
             auto huge = folder.Write("huge", {});
             std::filesystem::resize_file(huge, std::uint64_t{1} << 32U);  // sparse: no disk used
             return huge;
         },
         FileErrorKind::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[1]{42});
        const std::uint8_t* before = data.get();
        std::uint32_t size = 7;
        platform::FileError error;
        EXPECT_EQ(TrackLogDocument::ReadWholeFile(c.make(), data, size, &error), 0);
        EXPECT_EQ(error.kind, c.kind);
        EXPECT_EQ(data.get(), before);
        EXPECT_EQ(size, 7U);
    }
}

TEST(ReadWholeFile, UnreadableFileIsRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser reads any file; the folder case covers a failing open";
    }
    const testkit::TempDir folder;
    const auto path = folder.Write("secret", std::vector<std::uint8_t>{1, 2, 3});
    std::filesystem::permissions(path, std::filesystem::perms::none);
    std::unique_ptr<std::uint8_t[]> data;
    std::uint32_t size = 0;
    platform::FileError error;
    EXPECT_EQ(TrackLogDocument::ReadWholeFile(path, data, size, &error), 0);
    EXPECT_EQ(error.kind, FileErrorKind::AccessDenied);
    EXPECT_EQ(data, nullptr);
}

// A writer that holds the file exclusively keeps readers out; other readers do not.
TEST(ReadWholeFile, FileLockedExclusivelyIsRefused) {
    const testkit::TempDir folder;
    const auto path = folder.Write("locked", std::vector<std::uint8_t>{1, 2, 3});
    for (const int lock : {LOCK_EX, LOCK_SH}) {
        SCOPED_TRACE(lock == LOCK_EX ? "exclusive" : "shared");
        const int holder = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, lock | LOCK_NB), 0);
        std::unique_ptr<std::uint8_t[]> data;
        std::uint32_t size = 0;
        platform::FileError error;
        const std::int32_t result = TrackLogDocument::ReadWholeFile(path, data, size, &error);
        ::close(holder);
        EXPECT_EQ(result, lock == LOCK_EX ? 0 : 1);
        EXPECT_EQ(error.kind, lock == LOCK_EX ? FileErrorKind::InUse : FileErrorKind::None);
        EXPECT_EQ(size, lock == LOCK_EX ? 0U : 3U);
    }
}

}  // namespace
}  // namespace pelagor
