#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "builder/ByteBuilder.h"
#include "platform/FileIo.h"
#include "platform/PathText.h"

namespace pelagor::platform {
namespace {

namespace fs = std::filesystem;
using testkit::ByteBuilder;

// A fresh folder of its own for each test, removed afterwards.
class FileIoTest : public testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        // Named after the test and made unique, since test programs of several builds may run
        // at once.
        std::string name =
            std::string("pelagor-") + info->name() + "-" + std::to_string(std::random_device()());
        std::replace(name.begin(), name.end(), '/', '-');
        m_folder = fs::temp_directory_path() / name;
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    [[nodiscard]] fs::path At(std::string_view utf8Name) const {
        return m_folder / PathFromUtf8(utf8Name);
    }

    static void Put(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    static std::vector<std::uint8_t> Contents(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // The names in the folder, as UTF-8: a temporary file left behind shows here.
    [[nodiscard]] std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_folder)) {
            names.push_back(PathToUtf8(entry.path().filename()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    struct ReadResult {
        bool ok = false;
        FileError error;
        std::unique_ptr<std::uint8_t[]> data;
        std::uint32_t size = 0xDEADBEEF;  // untouched on failure
    };

    static ReadResult Read(const fs::path& path) {
        ReadResult result;
        result.ok = ReadWholeFileExclusive(path, result.data, result.size, &result.error);
        return result;
    }

    fs::path m_folder;
};

const std::vector<std::uint8_t> kOld = ByteBuilder().Text("old contents").bytes();
const std::vector<std::uint8_t> kNew = ByteBuilder().Text("new").U8(0).U8(0x0A).U8(0x0D).bytes();

TEST_F(FileIoTest, ReadGivesTheWholeFileInBinary) {
    // CR LF and ^Z would be changed or end the data in a text-mode read on Windows.
    const std::vector<std::uint8_t> bytes =
        ByteBuilder().Text("A\r\nB").U8(0x1A).U8(0).Text("C\n").bytes();
    Put(At("log.wtr"), bytes);
    const ReadResult read = Read(At("log.wtr"));
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.size, bytes.size());
    EXPECT_EQ(std::vector<std::uint8_t>(read.data.get(), read.data.get() + read.size), bytes);
}

struct ReadFailureCase {
    const char* what;
    std::string name;
    bool makeEmptyFile;
    bool makeFolder;
    FileErrorKind kind;
};

class ReadFailure : public FileIoTest, public testing::WithParamInterface<ReadFailureCase> {};

TEST_P(ReadFailure, LeavesNothingAllocatedAndNamesTheCause) {
    const ReadFailureCase& c = GetParam();
    if (c.makeEmptyFile) {
        Put(At(c.name), {});
    }
    if (c.makeFolder) {
        fs::create_directory(At(c.name));
    }
    const ReadResult read = Read(At(c.name));
    EXPECT_FALSE(read.ok) << c.what;
    EXPECT_EQ(read.error.kind, c.kind) << c.what;
    EXPECT_EQ(read.data, nullptr) << c.what;
    EXPECT_EQ(read.size, 0xDEADBEEF) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadFailure,
    testing::Values(
        ReadFailureCase{"missing", "missing.wtr", false, false, FileErrorKind::NotFound},
        ReadFailureCase{"in a missing folder", "none/missing.wtr", false, false,
                        FileErrorKind::NotFound},
        ReadFailureCase{"empty", "empty.wtr", true, false, FileErrorKind::Empty},
        ReadFailureCase{"a folder", "folder.wtr", false, true, FileErrorKind::NotRegular},
        ReadFailureCase{"empty, with a Chinese name", "\xE8\x88\xAA\xE8\xB7\xA1.wtr", true, false,
                        FileErrorKind::Empty}));

// 航跡.mps and 台北.wtr: names outside every ANSI code page's reach but Big5's.
constexpr std::string_view kTrackMps = "\xE8\x88\xAA\xE8\xB7\xA1.mps";
constexpr std::string_view kTaipeiWtr = "\xE5\x8F\xB0\xE5\x8C\x97.wtr";

TEST_F(FileIoTest, ChineseNamesAreWrittenAndReadAsTheyAreSpelled) {
    ASSERT_TRUE(ReplaceFileContents(At(kTrackMps), kNew, ReplaceMode::Replace, nullptr));
    EXPECT_EQ(Names(), std::vector<std::string>{std::string(kTrackMps)});
    const ReadResult read = Read(At(kTrackMps));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(std::vector<std::uint8_t>(read.data.get(), read.data.get() + read.size), kNew);
}

TEST_F(FileIoTest, ReplaceOverAnExistingFileLeavesOnlyTheNewContents) {
    Put(At(kTaipeiWtr), kOld);
    FileError error;
    ASSERT_TRUE(ReplaceFileContents(At(kTaipeiWtr), kNew, ReplaceMode::Replace, &error));
    EXPECT_EQ(Contents(At(kTaipeiWtr)), kNew);
    EXPECT_EQ(Names(), std::vector<std::string>{std::string(kTaipeiWtr)});
}

TEST_F(FileIoTest, ReplaceWhereNoFileWasCreatesIt) {
    ASSERT_TRUE(ReplaceFileContents(At("out.mps"), kNew, ReplaceMode::Replace, nullptr));
    EXPECT_EQ(Contents(At("out.mps")), kNew);
    EXPECT_EQ(Names(), std::vector<std::string>{"out.mps"});
}

TEST_F(FileIoTest, NoClobberRefusesAnExistingFileAndLeavesItAlone) {
    Put(At("out.mps"), kOld);
    FileError error;
    EXPECT_FALSE(ReplaceFileContents(At("out.mps"), kNew, ReplaceMode::NoClobber, &error));
    EXPECT_EQ(error.kind, FileErrorKind::Exists);
    EXPECT_EQ(Contents(At("out.mps")), kOld);
    EXPECT_EQ(Names(), std::vector<std::string>{"out.mps"});
}

TEST_F(FileIoTest, NoClobberWritesANewFile) {
    ASSERT_TRUE(ReplaceFileContents(At("out.mps"), kNew, ReplaceMode::NoClobber, nullptr));
    EXPECT_EQ(Contents(At("out.mps")), kNew);
}

TEST_F(FileIoTest, ReplaceIntoAMissingFolderFailsAndCreatesNothing) {
    FileError error;
    EXPECT_FALSE(ReplaceFileContents(At("none/out.mps"), kNew, ReplaceMode::Replace, &error));
    EXPECT_EQ(error.kind, FileErrorKind::NotFound);
    EXPECT_TRUE(Names().empty());
}

TEST_F(FileIoTest, ReplaceOverAFolderFailsAndLeavesNoTemporaryFile) {
    fs::create_directory(At("out.mps"));
    EXPECT_FALSE(ReplaceFileContents(At("out.mps"), kNew, ReplaceMode::Replace, nullptr));
    EXPECT_TRUE(fs::is_directory(At("out.mps")));
    EXPECT_EQ(Names(), std::vector<std::string>{"out.mps"});
}

TEST_F(FileIoTest, SameFileSeesThroughSpellingsAndHardLinks) {
    Put(At(kTaipeiWtr), kOld);
    Put(At("other.wtr"), kOld);
    fs::create_hard_link(At(kTaipeiWtr), At("link.wtr"));
    fs::create_directory(At("sub"));
    const fs::path roundabout = m_folder / "sub" / ".." / PathFromUtf8(kTaipeiWtr);
    EXPECT_EQ(SameFile(At(kTaipeiWtr), At(kTaipeiWtr)), true);
    EXPECT_EQ(SameFile(At(kTaipeiWtr), roundabout), true);
    EXPECT_EQ(SameFile(At(kTaipeiWtr), At("link.wtr")), true);
    EXPECT_EQ(SameFile(At(kTaipeiWtr), At("other.wtr")), false);
    EXPECT_EQ(SameFile(At(kTaipeiWtr), At("missing.wtr")), std::nullopt);
}

// Windows's C runtime says 1 for every file; an output guard that trusted it would let a hard
// link overwrite the file it names.
TEST_F(FileIoTest, HardLinkCountSeesEveryName) {
    Put(At(kTaipeiWtr), kOld);
    EXPECT_EQ(HardLinkCount(At(kTaipeiWtr)), 1U);
    fs::create_hard_link(At(kTaipeiWtr), At("link.wtr"));
    EXPECT_EQ(HardLinkCount(At(kTaipeiWtr)), 2U);
    EXPECT_EQ(HardLinkCount(At("link.wtr")), 2U);
    EXPECT_EQ(HardLinkCount(At("missing.wtr")), std::nullopt);
}

#ifdef _WIN32

// Reading opens with share mode 0: a file that another program holds open is refused, whole,
// rather than read while it may be changing.
TEST_F(FileIoTest, WindowsFileHeldOpenElsewhereIsNotRead) {
    Put(At(kTaipeiWtr), kOld);
    {
        std::ifstream holder(At(kTaipeiWtr), std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        const ReadResult read = Read(At(kTaipeiWtr));
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.error.kind, FileErrorKind::InUse);
        EXPECT_EQ(read.data, nullptr);
        EXPECT_EQ(read.size, 0xDEADBEEF);
    }
    // The failed read kept no handle: the file reads once the other handle is gone.
    EXPECT_TRUE(Read(At(kTaipeiWtr)).ok);
}

TEST_F(FileIoTest, WindowsReadHoldsTheFileOnlyWhileReading) {
    Put(At("log.wtr"), kOld);
    ASSERT_TRUE(Read(At("log.wtr")).ok);
    std::ofstream writer(At("log.wtr"), std::ios::binary | std::ios::app);
    EXPECT_TRUE(writer.is_open());
}

// A target that another program holds open without allowing deletion cannot be replaced: the
// write fails, the earlier file keeps its contents and no temporary file is left.
TEST_F(FileIoTest, WindowsReplaceOverAFileHeldOpenFailsCleanly) {
    Put(At(kTrackMps), kOld);
    {
        std::ifstream holder(At(kTrackMps), std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        FileError error;
        EXPECT_FALSE(ReplaceFileContents(At(kTrackMps), kNew, ReplaceMode::Replace, &error));
        EXPECT_NE(error.kind, FileErrorKind::None);
    }
    EXPECT_EQ(Contents(At(kTrackMps)), kOld);
    EXPECT_EQ(Names(), std::vector<std::string>{std::string(kTrackMps)});
}

TEST_F(FileIoTest, WindowsReplaceKeepsAReadOnlyFile) {
    Put(At("out.mps"), kOld);
    fs::permissions(At("out.mps"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(ReplaceFileContents(At("out.mps"), kNew, ReplaceMode::Replace, nullptr));
    fs::permissions(At("out.mps"), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Contents(At("out.mps")), kOld);
    EXPECT_EQ(Names(), std::vector<std::string>{"out.mps"});
}

#endif

}  // namespace
}  // namespace pelagor::platform
