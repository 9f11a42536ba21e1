#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
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

// A dangling link at the output: the file it names is written through it and the link stays; a
// second output that reaches the same new file is found; a link into a missing folder is refused
// with the reason.
TEST_F(OutputSafety, DanglingLinkAtTheOutputIsWrittenThrough) {
    WriteInputs("in");
    fs::create_directory("out");
    const std::vector<std::pair<std::string, fs::path>> links = {
        {"first", "../new.mps"}, {"again", dir / "new.mps"}, {"lost", "missing/lost.mps"}};
    std::vector<std::string> args = {"convert"};
    for (const auto& [name, target] : links) {
        fs::copy_file("in/trip.wtr", "in/" + name + ".wtr");
        fs::create_symlink(target, "out/" + name + ".mps");
        args.push_back("in/" + name + ".wtr");
    }
    args.insert(args.end(), {"--reference", "in/ref.mps", "--output-dir", "out"});
    const CliRun run = Run(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "in/first.wtr -> out/first.mps (1 waypoint, 0 tracks)\n");
    EXPECT_THAT(run.err,
                HasSubstr("\n  in/again.wtr: the output out/again.mps is already that of "
                          "in/first.wtr\n  in/lost.wtr: cannot write out/lost.mps: no such "
                          "file or folder\n"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("new.mps")));
    for (const auto& [name, target] : links) {
        EXPECT_EQ(fs::read_symlink("out/" + name + ".mps"), target);
    }
}

// A reader that goes away (`| head -n 1`) ends no batch: every source is converted, and the
// program says why its output was cut, once, with status 1.
TEST_F(OutputSafety, ClosedPipeFinishesTheBatch) {
    WriteInputs("in");
    fs::copy_file("in/trip.wtr", "in/second.wtr");
    std::array<int, 2> ends{};
    ASSERT_EQ(::pipe(ends.data()), 0);
    ::close(ends[0]);
    const pid_t child = ::fork();
    if (child == 0) {
        static_cast<void>(std::signal(SIGPIPE, SIG_DFL));  // as a shell starts it
        ::dup2(ends[1], STDOUT_FILENO);
        ::dup2(::open("err.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0600), STDERR_FILENO);
        ::execl(PELAGOR_CLI, "pelagor-cli", "convert", "in/trip.wtr", "in/second.wtr",
                "--reference", "in/ref.mps", "--output-dir", ".", nullptr);
        ::_exit(127);
    }
    ::close(ends[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(testkit::ReadBytes("second.mps"), testkit::ReadBytes("trip.mps"));
    const auto err = testkit::ReadBytes("err.txt");
    EXPECT_EQ(std::string(err.begin(), err.end()),
              "converted 2 of 2 sources\npelagor-cli: cannot write standard output: Broken pipe\n");
}

#endif

// A control character in a name is printed escaped: every reason stays one line.
TEST_F(OutputSafety, NamesInMessagesAreEscaped) {
    WriteInputs("in");
    const std::string name = "a\nb\x1b[2J\t.wtr";
    const std::vector<std::vector<std::string>> cases = {
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
