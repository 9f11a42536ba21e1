#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TrackLogFiles.h"
#include "cli/CliFixture.h"

namespace pelagor::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testkit::SampleTrack;
using testkit::SampleWaypoint;

class ConvertCommandTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        Write("ref.mps", testkit::MpsFile(testkit::SampleReference()));
        m_reference = Read("ref.mps");
    }

    std::string Wtr(const std::string& name, const std::string& waypoint = "WPT") {
        return Write(name, testkit::WtrFile(
                               {{waypoint, 100, 200, 5.0F, 18}, {waypoint, 300, 400, 6.0F, 8246}},
                               SampleTrack{"TRACK", {{1, 2, 3U, 4.0F}}}));
    }
    std::string Evo(const std::string& name) {
        return Write(name, testkit::EvoBytes(testkit::SampleEvoLog()));
    }
    // The reference never changes, whatever a conversion does.
    void ExpectReferenceUntouched() { EXPECT_EQ(Read("ref.mps"), m_reference); }

    std::vector<std::uint8_t> m_reference;
};

TEST_F(ConvertCommandTest, SingleSourceWritesTheMergedFile) {
    const std::string source = Wtr("trip.wtr");
    const CliRun run = Run({"convert", source, "--reference", "ref.mps", "-o", "out.mps"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "trip.wtr -> out.mps (2 waypoints, 1 track)\n");
    EXPECT_EQ(run.err, "");
    // The output loads again as a reference, with the source's renamed waypoints.
    const CliRun show = Run({"show", "--reference", "out.mps"});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_THAT(show.out, HasSubstr("  WPT   5  Home, Zhongzheng\n  WPTA   6  Home, Zhongzheng\n"));
    EXPECT_THAT(show.out, HasSubstr("  TRACK (1)"));
    ExpectReferenceUntouched();
}

const std::string kSeparator(1, static_cast<char>(std::filesystem::path::preferred_separator));

TEST_F(ConvertCommandTest, BatchNamesOutputsAfterSourcesAndReportsFailures) {
    Wtr("in/trip.2024-05.v2.wtr");
    Evo("in/evening.evo");
    Write("in/garbage.wtr", std::vector<std::uint8_t>(100, 0x42));
    Write("in/empty.wtr", testkit::WtrFile({}, SampleTrack{"ONLY", {{}}}));
    Write("out/.keep", {});
    const CliRun run =
        Run({"convert", "in/trip.2024-05.v2.wtr", "in/garbage.wtr", "in/missing.wtr",
             "in/evening.evo", "in/empty.wtr", "--reference", "ref.mps", "--output-dir", "out"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Files("out"),
              (std::vector<std::string>{".keep", "evening.mps", "trip.2024-05.v2.mps"}));
    // An output in --output-dir is named with the system's own separator.
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{
                  "in/trip.2024-05.v2.wtr -> out" + kSeparator +
                      "trip.2024-05.v2.mps (2 waypoints, 1 track)",
                  "in/evening.evo -> out" + kSeparator + "evening.mps (8 waypoints, 2 tracks)"}));
    const auto err = Lines(run.err);
    ASSERT_EQ(err.size(), 7U) << run.err;
    EXPECT_THAT(err[0], HasSubstr("in/garbage.wtr: not a WTR or EVO file ("));
    EXPECT_EQ(err[1], "in/missing.wtr: cannot read the file: no such file or folder");
    EXPECT_EQ(err[2], "in/empty.wtr: has no waypoints; nothing to convert");
    EXPECT_EQ(err[3], "converted 2 of 5 sources; failed:");
    EXPECT_THAT(err[4], HasSubstr("  in/garbage.wtr: not a WTR or EVO file"));
    EXPECT_THAT(err[5], HasSubstr("  in/missing.wtr: cannot read"));
    EXPECT_THAT(err[6], HasSubstr("  in/empty.wtr: has no waypoints"));
    EXPECT_THAT(run.err, Not(HasSubstr("\r")));  // not a terminal: no progress line
    ExpectReferenceUntouched();
}

// The second source's waypoints would take the first one's records as templates if the reference
// were reused: each output must equal a conversion of its own. A terminal sees the progress.
TEST_F(ConvertCommandTest, TwoSourcesAreTwoSingleConversions) {
    Wtr("a.wtr", "HOME");
    Wtr("b.wtr", "CAMP");
    Write("out/.keep", {});
    Write("single/.keep", {});
    const CliRun batch =
        Run({"convert", "a.wtr", "b.wtr", "--reference", "ref.mps", "--output-dir", "out"}, true);
    ASSERT_EQ(batch.status, 0) << batch.err;
    EXPECT_THAT(batch.err, HasSubstr("[1/2] a.wtr"));
    EXPECT_THAT(batch.err, HasSubstr("[2/2] b.wtr"));
    EXPECT_THAT(batch.err, HasSubstr("\r\x1b[Kconverted 2 of 2 sources\n"));
    for (const std::string name : {"a", "b"}) {
        const CliRun single = Run(
            {"convert", name + ".wtr", "--reference", "ref.mps", "-o", "single/" + name + ".mps"});
        ASSERT_EQ(single.status, 0) << single.err;
        EXPECT_EQ(Read("out/" + name + ".mps"), Read("single/" + name + ".mps")) << name;
    }
}

TEST_F(ConvertCommandTest, NoClobberKeepsAnExistingOutput) {
    Wtr("trip.wtr");
    Write("out/trip.mps", {'o', 'l', 'd'});
    const CliRun kept = Run(
        {"convert", "trip.wtr", "--reference", "ref.mps", "--output-dir", "out", "--no-clobber"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_THAT(kept.err,
                HasSubstr("out" + kSeparator + "trip.mps exists and --no-clobber keeps it"));
    EXPECT_EQ(Read("out/trip.mps"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));

    const CliRun replaced =
        Run({"convert", "trip.wtr", "--reference", "ref.mps", "--output-dir", "out"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(Files("out"), (std::vector<std::string>{"trip.mps"}));  // no temporary left
    EXPECT_NE(Read("out/trip.mps"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

TEST_F(ConvertCommandTest, SourcesSharingAnOutputNameKeepTheFirst) {
    Wtr("trip.wtr");
    Evo("trip.evo");
    Write("out/.keep", {});
    const CliRun run =
        Run({"convert", "trip.wtr", "trip.evo", "--reference", "ref.mps", "--output-dir", "out"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("trip.evo: the output out" + kSeparator +
                                   "trip.mps is already that of trip.wtr"));
    const CliRun single = Run({"convert", "trip.wtr", "--reference", "ref.mps", "-o", "one.mps"});
    EXPECT_EQ(Read("out/trip.mps"), Read("one.mps"));
}

// A single conversion that fails writes nothing: 1 for what was read, 2 for what was not.
TEST_F(ConvertCommandTest, SingleConversionFailures) {
    Wtr("trip.wtr");
    Write("garbage.wtr", std::vector<std::uint8_t>(100, 0x42));
    Write("nowaypoints.wtr", testkit::WtrFile({}, {}));
    testkit::MpsReference onlyTracks = testkit::SampleReference();
    onlyTracks.realWaypoints.clear();
    Write("tracks.mps", testkit::MpsFile(onlyTracks));
    testkit::MpsReference badA = testkit::SampleReference();
    badA.aBody = {0x01, 0x00, 0x00, 0x00};  // three strings need five bytes
    Write("bad-a.mps", testkit::MpsFile(badA));
    Write("empty.mps", {});
    const struct {
        const char* source;
        const char* reference;
        int status;
        const char* err;
    } cases[] = {
        {"garbage.wtr", "ref.mps", 1, "garbage.wtr: not a WTR or EVO file ("},
        {"nowaypoints.wtr", "ref.mps", 1, "nowaypoints.wtr: has no waypoints; nothing to convert"},
        {"missing.wtr", "ref.mps", 2, "missing.wtr: cannot read the file: no such file or folder"},
        {"trip.wtr", "tracks.mps", 1, "tracks.mps: reference has no waypoints\n"},
        {"trip.wtr", "bad-a.mps", 1, "bad-a.mps: reference does not load: "},
        {"trip.wtr", "empty.mps", 2, "empty.mps: cannot read the file: the file is empty\n"},
        {"trip.wtr", "missing.mps", 2,
         "missing.mps: cannot read the file: no such file or folder\n"},
        {"trip.wtr", "trip.wtr", 1, "trip.wtr: reference does not load: not a MapSource file"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run({"convert", c.source, "--reference", c.reference, "-o", "out.mps"});
        EXPECT_EQ(run.status, c.status) << c.source << " " << c.reference;
        EXPECT_THAT(run.err, HasSubstr(c.err));
        EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
        EXPECT_FALSE(Exists("out.mps"));
    }
}

TEST_F(ConvertCommandTest, SourceThatFailedAfterItsWaypointsIsConvertedWithAWarning) {
    testkit::ByteBuilder file;
    testkit::EvoHeader(file, 1, 1);  // a track is promised and never comes
    testkit::EvoWaypointRecord(file, {"KEPT", 1000, 2000, 3.0F, 18});
    Write("broken.evo", file.Take());
    const CliRun run = Run({"convert", "broken.evo", "--reference", "ref.mps", "-o", "out.mps"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("broken.evo: warning: "));
    EXPECT_THAT(run.err, HasSubstr("converting the 1 waypoint and 1 track read before it"));
    EXPECT_TRUE(Exists("out.mps"));
}

TEST_F(ConvertCommandTest, OutputThatCannotBeReplacedIsAFailure) {
    Wtr("trip.wtr");
    Write("out.mps/.keep", {});  // a folder where the file should go
    const CliRun run = Run({"convert", "trip.wtr", "--reference", "ref.mps", "-o", "out.mps"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "trip.wtr: cannot write out.mps: not a regular file\n");
    EXPECT_EQ(Files(), (std::vector<std::string>{"out.mps", "ref.mps", "trip.wtr"}));
}

TEST_F(ConvertCommandTest, UsageErrors) {
    Wtr("a.wtr");
    Wtr("b.wtr");
    const std::vector<std::vector<std::string>> cases = {
        {"convert", "a.wtr", "--reference", "ref.mps"},
        {"convert", "a.wtr", "b.wtr", "--reference", "ref.mps", "-o", "x.mps"},
        {"convert", "a.wtr", "--reference", "ref.mps", "-o", "x.mps", "--output-dir", "."},
        {"convert", "a.wtr", "-o", "x.mps"},
        {"convert", "--reference", "ref.mps", "-o", "x.mps"},
        {"convert", "a.wtr", "--reference", "ref.mps", "--output-dir", "no-such-folder"},
        {"convert", "a.wtr", "--reference", "ref.mps", "--output-dir", "a.wtr"},
    };
    for (const auto& args : cases) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_NE(run.err, "");
        EXPECT_EQ(Files(), (std::vector<std::string>{"a.wtr", "b.wtr", "ref.mps"}));
    }
}

// --- outputs that name an input -----------------------------------------------------------------

TEST_F(ConvertCommandTest, OutputNamingAnInputIsRefusedBeforeAnything) {
    const std::string source = Wtr("in/trip.wtr");
    const auto sourceBytes = Read(source);
    // Symbolic links need rights that a Windows user usually lacks: those cases go then.
    std::error_code noLinks;
    std::filesystem::create_symlink(m_dir / "in/trip.wtr", m_dir / "link.wtr", noLinks);
    if (!noLinks) {
        std::filesystem::create_directory_symlink(m_dir / "in", m_dir / "inlink", noLinks);
    }
    std::filesystem::create_hard_link(m_dir / "in/trip.wtr", m_dir / "hard.wtr");
    Write("ref.wtr", testkit::WtrFile({{"R", 0, 0, 0.0F, 18}}, {}));  // named like the reference
    Write("in/self.mps", testkit::WtrFile({{"S", 0, 0, 0.0F, 18}}, {}));
    struct Case {
        std::vector<std::string> args;
        const char* input;
    };
    const Case cases[] = {
        {{"in/trip.wtr", "-o", "in/../in/./trip.wtr"}, "in/trip.wtr"},
        {{"in/trip.wtr", "-o", m_dir.string() + "/in/trip.wtr"}, "in/trip.wtr"},
        {{"in/trip.wtr", "-o", "link.wtr"}, "in/trip.wtr"},
        {{"in/trip.wtr", "-o", "hard.wtr"}, "in/trip.wtr"},
        {{"in/trip.wtr", "-o", "inlink/trip.wtr"}, "in/trip.wtr"},
        {{"in/trip.wtr", "-o", "./ref.mps"}, "ref.mps"},
        {{"link.wtr", "-o", "in/trip.wtr"}, "link.wtr"},
        // --output-dir names: the reference's, or a source that already ends in .mps.
        {{"in/trip.wtr", "ref.wtr", "--output-dir", "."}, "ref.mps"},
        {{"in/self.mps", "--output-dir", "inlink"}, "in/self.mps"},
    };
    const auto before = Files();
    for (const auto& c : cases) {
        const bool usesLink = std::any_of(c.args.begin(), c.args.end(), [](const std::string& a) {
            return a.find("link") != std::string::npos && a != "hard.wtr";
        });
        if (noLinks && usesLink) {
            continue;
        }
        std::vector<std::string> args{"convert", "--reference", "ref.mps"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2) << c.args.back();
        EXPECT_THAT(run.err,
                    HasSubstr(std::string("the output would replace the input ") + c.input));
        EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Read(source), sourceBytes);
        ExpectReferenceUntouched();
        EXPECT_EQ(Files(), before);
        EXPECT_EQ(Files("in"), (std::vector<std::string>{"self.mps", "trip.wtr"}));
    }
}

}  // namespace
}  // namespace pelagor::cli
