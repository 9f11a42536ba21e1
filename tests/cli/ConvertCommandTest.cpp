#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TrackLogFiles.h"
#include "cli/BuiltInReference.h"
#include "cli/CliFixture.h"
#include "fuzz/MergeChecks.h"
#include "mapsource/MapSourceDocument.h"
#include "tracklog/SourceLoader.h"

namespace pelagor::cli {
namespace {

using ::testing::HasSubstr;
using testkit::SampleTrack;

const std::string kSeparator(1, static_cast<char>(std::filesystem::path::preferred_separator));

class ConvertCommandTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        Write("ref.mps", testkit::MpsFile(testkit::SampleReference()));
    }
    std::string Wtr(const std::string& name, const std::string& waypoint = "WPT") {
        return Write(name, testkit::WtrFile(
                               {{waypoint, 100, 200, 5.0F, 18}, {waypoint, 300, 400, 6.0F, 8246}},
                               SampleTrack{"TRACK", {{1, 2, 3U, 4.0F}}}));
    }
    CliRun Convert(const std::string& source, const std::string& output,
                   const std::string& reference = "ref.mps") {
        return Run({"convert", source, "--reference", reference, "-o", output});
    }
};

// A single conversion says what it wrote, and the output gives the source back, built on the
// given reference, which stays as it was, or else on the one the program carries, whose bytes the
// sample generator writes.
TEST_F(ConvertCommandTest, SingleSourceWritesTheMergedFile) {
    const auto builtIn = BuiltInReferenceBytes();
    EXPECT_EQ(std::vector<std::uint8_t>(builtIn.begin(), builtIn.end()),
              testkit::MpsFile(testkit::BuiltInReference()));
    const auto reference = Read("ref.mps");
    Write("day.wtr", testkit::WtrBytes(testkit::SampleWtrLog()));
    Write("day.evo", testkit::EvoBytes(testkit::SampleEvoLog()));
    for (const auto& [name, tracks] : {std::pair{"day.wtr", "1 track"}, {"day.evo", "2 tracks"}}) {
        for (const auto& args : {std::vector<std::string>{"convert", name, "-o", "out.mps"},
                                 {"convert", name, "--reference", "ref.mps", "-o", "out.mps"}}) {
            SCOPED_TRACE(testing::PrintToString(args));
            const CliRun run = Run(args);
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.out, std::string(name) + " -> out.mps (8 waypoints, " + tracks + ")\n");
            EXPECT_EQ(run.err, "");
            std::unique_ptr<TrackLogDocument> source;
            ASSERT_EQ(LoadSource(source, name, nullptr, nullptr), 1);
            MapSourceDocument output;
            const std::int32_t loaded = output.Load("out.mps", nullptr, nullptr);
            EXPECT_EQ(fuzzing::RoundTripMismatch(*source, loaded, output), "");
        }
    }
    EXPECT_EQ(Read("ref.mps"), reference);
}

// Each output equals a conversion of its own source alone: the second source's waypoints must not
// take the first one's records as templates. A source that fails, that would take another's
// output or that was half read does not stop the rest.
TEST_F(ConvertCommandTest, BatchNamesOutputsAfterSourcesAndReportsFailures) {
    Wtr("in/trip.2024-05.v2.wtr", "HOME");
    Wtr("in/camp.wtr", "CAMP");
    Write("in/camp.evo", testkit::EvoBytes(testkit::SampleEvoLog()));
    Write("in/garbage.wtr", std::vector<std::uint8_t>(100, 0x42));
    Write("in/empty.wtr", testkit::WtrFile({}, SampleTrack{"ONLY", {{}}}));
    testkit::ByteBuilder broken;
    testkit::EvoHeader(broken, 1, 1);  // a track is promised and never comes
    testkit::EvoWaypointRecord(broken, {"KEPT", 1000, 2000, 3.0F, 18});
    Write("in/broken.evo", broken.Take());
    Write("out/.keep", {});
    std::vector<std::string> args = {"convert", "--reference", "ref.mps", "--output-dir", "out"};
    for (const char* source : {"trip.2024-05.v2.wtr", "garbage.wtr", "missing.wtr", "camp.wtr",
                               "camp.evo", "empty.wtr", "broken.evo"}) {
        args.push_back(std::string("in/") + source);
    }
    const CliRun run = Run(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Files("out"),
              (std::vector<std::string>{".keep", "broken.mps", "camp.mps", "trip.2024-05.v2.mps"}));
    const std::string out = "out" + kSeparator;
    EXPECT_EQ(run.out, "in/trip.2024-05.v2.wtr -> " + out +
                           "trip.2024-05.v2.mps (2 waypoints, 1 track)\nin/camp.wtr -> " + out +
                           "camp.mps (2 waypoints, 1 track)\nin/broken.evo -> " + out +
                           "broken.mps (1 waypoint, 1 track)\n");
    const auto err = Lines(run.err);
    ASSERT_EQ(err.size(), 10U) << run.err;
    EXPECT_THAT(err[0], HasSubstr("in/garbage.wtr: not a WTR or EVO file ("));
    EXPECT_EQ(err[1], "in/missing.wtr: cannot read the file: no such file or folder");
    EXPECT_EQ(err[2], "in/camp.evo: the output " + out + "camp.mps is already that of in/camp.wtr");
    EXPECT_EQ(err[3], "in/empty.wtr: has no waypoints; nothing to convert");
    EXPECT_THAT(err[4], HasSubstr("converting the 1 waypoint and 1 track read before it"));
    EXPECT_EQ(err[5], "converted 3 of 7 sources; failed:");
    EXPECT_THAT(err[9], HasSubstr("  in/empty.wtr: has no waypoints"));
    for (const std::string name : {"trip.2024-05.v2", "camp"}) {
        ASSERT_EQ(Convert("in/" + name + ".wtr", name + ".mps").status, 0);
        EXPECT_EQ(Read("out/" + name + ".mps"), Read(name + ".mps")) << name;
    }
    // A terminal sees the progress, overwritten in place.
    EXPECT_THAT(Run(args, true).err, HasSubstr("[4/7] in/camp.wtr\r\x1b[K"));
}

TEST_F(ConvertCommandTest, NoClobberKeepsAnExistingOutput) {
    Write("old/trip.mps", {'o', 'l', 'd'});
    const CliRun kept = Run({"convert", Wtr("trip.wtr"), "--reference", "ref.mps", "--output-dir",
                             "old", "--no-clobber"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_THAT(kept.err, HasSubstr("old" + kSeparator + "trip.mps exists and --no-clobber"));
    EXPECT_EQ(Read("old/trip.mps"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

// A single conversion that fails writes nothing: 1 for what was read, 2 for what was not.
TEST_F(ConvertCommandTest, SingleConversionFailures) {
    Wtr("trip.wtr");
    testkit::MpsReference onlyTracks = testkit::SampleReference();
    onlyTracks.realWaypoints.clear();
    Write("tracks.mps", testkit::MpsFile(onlyTracks));
    Write("empty.mps", {});
    const struct {
        const char* reference;
        const char* output;
        int status;
        const char* err;
    } cases[] = {
        {"tracks.mps", "out.mps", 1, "tracks.mps: reference has no waypoints\n"},
        {"empty.mps", "out.mps", 2, "empty.mps: cannot read the file: the file is empty\n"},
        {"trip.wtr", "out.mps", 1, "trip.wtr: reference does not load: not a MapSource file"},
    };
    for (const auto& c : cases) {
        const CliRun run = Convert("trip.wtr", c.output, c.reference);
        EXPECT_EQ(run.status, c.status) << c.reference;
        EXPECT_THAT(run.err, testing::StartsWith(c.err));
        EXPECT_EQ(Lines(run.err).size(), 1U) << run.err;
        EXPECT_EQ(Files(),
                  (std::vector<std::string>{"empty.mps", "ref.mps", "tracks.mps", "trip.wtr"}));
    }
    const CliRun archive = Convert("tracks.mps", "out.mps", "ref.mps");
    EXPECT_EQ(archive.status, 2);
    EXPECT_EQ(archive.err,
              "tracks.mps: a MapSource file, not a track log; MapSource files are exported with "
              "pelagor-cli gpx\n");
}

TEST_F(ConvertCommandTest, UsageErrors) {
    Wtr("a.wtr");
    const std::vector<std::vector<std::string>> cases = {
        {"a.wtr", "--reference", "ref.mps"},
        {"a.wtr", "a.wtr", "--reference", "ref.mps", "-o", "x.mps"},
        {"a.wtr", "--reference", "ref.mps", "-o", "x.mps", "--output-dir", "."},
        {"a.wtr", "--reference", "ref.mps", "--output-dir", "a.wtr"},
    };
    for (auto args : cases) {
        args.insert(args.begin(), "convert");
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err, "");
        EXPECT_EQ(Files(), (std::vector<std::string>{"a.wtr", "ref.mps"}));
    }
}

}  // namespace
}  // namespace pelagor::cli
