#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TrackLogFiles.h"
#include "cli/CliFixture.h"

namespace pelagor::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class OutputSafety : public CliTest {
protected:
    // A source and a reference in `folder` (relative to the current folder).
    static void WriteInputs(const fs::path& folder) {
        fs::create_directories(folder);
        testkit::WriteBytes(folder / "trip.wtr",
                            testkit::WtrFile({{"WPT", 100, 200, 5.0F, 18}}, std::nullopt));
        testkit::WriteBytes(folder / "ref.mps", testkit::MpsFile(testkit::SampleReference()));
    }

    // `commands`, or else convert and gpx aimed at `output`, are refused with `reason` before
    // anything is written; gpx is left out where the output names the reference, no input of gpx.
    static void ExpectRefused(const std::string& in, const std::string& output,
                              const std::string& reason, int status,
                              std::vector<std::vector<std::string>> commands = {}) {
        if (commands.empty()) {
            commands = {{"convert", in + "/trip.wtr", "--reference", in + "/ref.mps", "-o", output},
                        {"gpx", in + "/trip.wtr", "-o", output}};
            commands.resize(output.ends_with("ref.mps") ? 1 : 2);
        }
        const auto source = testkit::ReadBytes(in + "/trip.wtr");
        const auto reference = testkit::ReadBytes(in + "/ref.mps");
        const auto files = testkit::FileNames(in);
        for (const auto& args : commands) {
            SCOPED_TRACE(testing::PrintToString(args));
            const CliRun run = Run(args);
            EXPECT_EQ(run.status, status);
            EXPECT_THAT(run.err, HasSubstr(reason));
            EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(testkit::ReadBytes(in + "/trip.wtr"), source);
            EXPECT_EQ(testkit::ReadBytes(in + "/ref.mps"), reference);
            EXPECT_EQ(testkit::FileNames(in), files);
        }
    }
};

TEST_F(OutputSafety, OutputNamingAnInputIsRefused) {
    WriteInputs("in");
    fs::create_hard_link("in/trip.wtr", "hard.wtr");
    std::error_code noLinks;  // symbolic links need rights that a Windows user usually lacks
    fs::create_symlink(dir / "in/trip.wtr", dir / "link.wtr", noLinks);
    Write("ref.wtr", testkit::WtrFile({{"R"}}, {}));  // named like the reference
    Write("in/self.mps", testkit::WtrFile({{"S"}}, {}));
    const std::string trip = "the output would replace the input in/trip.wtr";
    ExpectRefused("in", "in/../in/./trip.wtr", trip, 2);
    ExpectRefused("in", "hard.wtr", trip, 2);
    ExpectRefused("in", noLinks ? "in/trip.wtr" : "link.wtr", trip, 2);
    ExpectRefused("in", "./in/ref.mps", "the output would replace the input in/ref.mps", 2);
    // --output-dir names: the reference's, or a source that already ends in .mps.
    ExpectRefused(
        "in", "", "the output would replace the input in/ref.mps", 2,
        {{"convert", "in/trip.wtr", "ref.wtr", "--reference", "in/ref.mps", "--output-dir", "in"}});
    ExpectRefused("in", "", "the output would replace the input in/self.mps", 2,
                  {{"convert", "in/self.mps", "--reference", "in/ref.mps", "--output-dir", "in"}});
}

#ifndef _WIN32

// Path text cannot tell the output from the input where no resolved path fits in the system's
// 4,096 bytes (nor through a bind mount); the file's identity can.
TEST_F(OutputSafety, AliasOfAnInputInADeepFolderIsRefused) {
    for (int level = 0; level < 21; ++level) {
        fs::create_directory(std::string(200, 'd'));
        fs::current_path(std::string(200, 'd'));
    }
    WriteInputs("in");
    fs::create_directory_symlink("in", "alias");
    ExpectRefused("in", "alias/trip.wtr", "the output would replace the input in/trip.wtr", 2);
}

// A bind mount shows the same files under a second path that no path text resolves to.
TEST_F(OutputSafety, AliasOfAnInputThroughABindMountIsRefused) {
    WriteInputs("in");
    fs::create_directory("bound");
    if (::mount("in", "bound", nullptr, MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "a bind mount needs the right to mount (root in a mount namespace)";
    }
    const std::unique_ptr<const char, void (*)(const char*)> unmount(
        "bound", [](const char* folder) { ::umount2(folder, MNT_DETACH); });
    ExpectRefused("in", "bound/trip.wtr", "the output would replace the input in/trip.wtr", 2);
    ExpectRefused("in", "bound/ref.mps", "the output would replace the input in/ref.mps", 2);
}

// A pipe at the output path, or a link to one, is refused and stays a pipe.
TEST_F(OutputSafety, PipeAtTheOutputIsRefusedAndKept) {
    WriteInputs("in");
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    fs::create_symlink("pipe", "link");
    for (const std::string output : {"pipe", "link"}) {
        ExpectRefused("in", output, output + ": not a regular file", 1);
        EXPECT_TRUE(fs::is_fifo(fs::symlink_status("pipe")));
    }
}

#endif

// A control character in a name is printed escaped: every reason stays one line.
TEST_F(OutputSafety, NamesInMessagesAreEscaped) {
    WriteInputs("in");
    const std::string name = "a\nb\x1b[2J\t.wtr";
    const std::vector<std::vector<std::string>> cases = {
        {"dump", name},
        {"show", name},
        {"convert", name, "--reference", "in/ref.mps", "-o", "out.mps"},
        {"convert", "in/trip.wtr", "--reference", "in/ref.mps", "--output-dir", name},
        {"gpx", "in/trip.wtr", "-o", name + "/out.gpx"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.front());
        const CliRun run = Run(args);
        EXPECT_NE(run.status, 0);
        EXPECT_THAT(run.err, HasSubstr("a\\nb\\x1b[2J\\t.wtr"));
        EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
    }
}

}  // namespace
}  // namespace pelagor::cli
