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
    void WriteInputs(const fs::path& folder) {
        fs::create_directories(folder);
        testkit::WriteBytes(folder / "trip.wtr",
                            testkit::WtrFile({{"WPT", 100, 200, 5.0F, 18}},
                                             testkit::SampleTrack{"T", {{1, 2, 3U, 4.0F}}}));
        testkit::WriteBytes(folder / "ref.mps", testkit::MpsFile(testkit::SampleReference()));
    }

    // The commands that write a file, aimed at `output`, must be refused with `reason` and leave
    // the inputs in `in` as they were; gpx is left out where the output names the reference,
    // which is no input of gpx.
    static void ExpectRefused(const std::string& in, const std::string& output,
                              const std::string& reason, int status) {
        const auto source = testkit::ReadBytes(in + "/trip.wtr");
        const auto reference = testkit::ReadBytes(in + "/ref.mps");
        const std::vector<std::vector<std::string>> commands = {
            {"convert", in + "/trip.wtr", "--reference", in + "/ref.mps", "-o", output},
            {"gpx", in + "/trip.wtr", "-o", output},
        };
        const bool namesReference = output.ends_with("ref.mps");
        for (const auto& args : commands) {
            if (namesReference && args.front() == "gpx") {
                continue;
            }
            SCOPED_TRACE(args.front() + " -o " + output);
            const CliRun run = Run(args);
            EXPECT_EQ(run.status, status);
            EXPECT_THAT(run.err, HasSubstr(reason));
            EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
            EXPECT_EQ(testkit::ReadBytes(in + "/trip.wtr"), source);
            EXPECT_EQ(testkit::ReadBytes(in + "/ref.mps"), reference);
        }
    }
};

#ifndef _WIN32

// Folders whose absolute path is longer than the system's limit of 4,096 bytes, made and removed
// one step at a time from inside, since no whole path reaches them.
class DeepFolder {
public:
    explicit DeepFolder(int levels) : m_name(200, 'd') {
        for (int level = 0; level < levels; ++level) {
            fs::create_directory(m_name);
            fs::current_path(m_name);
            ++m_levels;
        }
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;
    ~DeepFolder() {
        for (const auto& entry : fs::directory_iterator(".")) {
            fs::remove_all(entry.path());
        }
        for (; m_levels > 0; --m_levels) {
            fs::current_path("..");
            fs::remove(m_name);
        }
    }

private:
    std::string m_name;
    int m_levels = 0;
};

// A symbolic link to the input's folder, seen from a folder too deep for any resolved path:
// path text cannot tell the output from the input, the file's identity can.
TEST_F(OutputSafety, AliasOfAnInputInADeepFolderIsRefused) {
    const DeepFolder deep(21);
    WriteInputs("in");
    fs::create_directory_symlink("in", "alias");
    ExpectRefused("in", "alias/trip.wtr", "the output would replace the input in/trip.wtr", 2);
    ExpectRefused("in", "alias/ref.mps", "the output would replace the input in/ref.mps", 2);
}

// A bind mount shows the same files under a second folder; no spelling of the path tells.
TEST_F(OutputSafety, AliasOfAnInputThroughABindMountIsRefused) {
    WriteInputs("in");
    fs::create_directory("mounted");
    if (::geteuid() != 0 || ::mount((m_dir / "in").c_str(), (m_dir / "mounted").c_str(), nullptr,
                                    MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "a bind mount needs root and the right to mount";
    }
    const std::unique_ptr<const fs::path, void (*)(const fs::path*)> unmount(
        &m_dir, [](const fs::path* dir) { ::umount((*dir / "mounted").c_str()); });
    ExpectRefused("in", "mounted/trip.wtr", "the output would replace the input in/trip.wtr", 2);
    ExpectRefused("in", "mounted/ref.mps", "the output would replace the input in/ref.mps", 2);
}

// A pipe at the output path, or a link to one, is refused and stays a pipe.
TEST_F(OutputSafety, PipeAtTheOutputIsRefusedAndKept) {
    WriteInputs("in");
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    fs::create_symlink("pipe", "link");
    for (const char* output : {"pipe", "link"}) {
        ExpectRefused("in", output, std::string(output) + ": not a regular file", 1);
        EXPECT_TRUE(fs::is_fifo(fs::symlink_status("pipe")));
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"in", "link", "pipe"}));
}

#endif

// A control character in a name is printed escaped: every reason stays one line.
TEST_F(OutputSafety, NamesInMessagesAreEscaped) {
    WriteInputs("in");
    const std::string name = "a\nb\x1b[2J\t.wtr";
    const std::string shown = "a\\nb\\x1b[2J\\t.wtr";
    const std::vector<std::vector<std::string>> cases = {
        {"dump", name},
        {"show", name},
        {"gpx", name},
        {"convert", name, "--reference", "in/ref.mps", "-o", "out.mps"},
        {"convert", "in/trip.wtr", "--reference", "in/ref.mps", "--output-dir", name},
        {"gpx", "in/trip.wtr", "-o", name + "/out.gpx"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.front());
        const CliRun run = Run(args);
        EXPECT_NE(run.status, 0);
        EXPECT_THAT(run.err, HasSubstr(shown));
        EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
    }
}

}  // namespace
}  // namespace pelagor::cli
