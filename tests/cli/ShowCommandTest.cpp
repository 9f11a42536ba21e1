#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TrackLogFiles.h"
#include "cli/CliFixture.h"

namespace pelagor::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using testkit::SampleTrack;

using ShowCommandTest = CliTest;

TEST_F(ShowCommandTest, ListsWaypointLinesAndTracksWithClockAndExtent) {
    // Times 0 and 57600 read 08:00:00 and 00:00:00 on the clock eight hours ahead.
    Write("day.wtr",
          testkit::WtrFile(
              {{"HOME", 0, 0, 123.4F, 18}, {"PEAK", 0, 0, 12000.0F, 18}},
              SampleTrack{"LOOP", {{1 << 30, -(1 << 30), 0U, 1.0F}, {0, 1 << 29, 57600U, 2.0F}}}));
    const CliRun run = Run({"show", "day.wtr"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        Lines(run.out),
        (std::vector<std::string>{
            "day.wtr: WTR reader, loaded", "waypoints: 2", "  HOME 123", "  PEAK   0", "tracks: 1",
            "  LOOP (2)  08:00:00 to 00:00:00, latitude 0.0000000 to 90.0000003, "
            "longitude -90.0000003 to 45.0000002"}));
    EXPECT_EQ(run.err, "");
}

// Names decoded from the code page, `show` and `dump` on a reference, and what a source that
// fails to load still lists.
TEST_F(ShowCommandTest, ReferenceAndFailures) {
    Write("sample.evo", testkit::EvoBytes(testkit::SampleEvoLog()));
    Write("ref.mps", testkit::MpsFile(testkit::SampleReference()));
    Write("bad.mps", std::vector<std::uint8_t>{'M', 's', 'R', 'c', 'd', 0});
    testkit::ByteBuilder broken;
    testkit::EvoHeader(broken, 1, 1);
    testkit::EvoWaypointRecord(broken, {"KEPT", 0, 0, 7.0F, 18});
    Write("broken.evo", broken.Take());
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {{"show", "sample.evo"},
         0,
         "sample.evo: EVO reader, loaded\nwaypoints: 8\n  \xE5\x8F\xB0\xE5\x8C\x97"  // 台北
         "101 508\n",
         ""},
        {{"show", "--reference", "ref.mps"},
         0,
         "ref.mps: MapSource reader, loaded\nwaypoints: 3\n  HOME   9  Home, Zhongzheng\n"
         "  CAMP 820  Camp site\n  SUMMIT 1120  Qixing summit\ntracks: 1\n"
         "  PRACTICE (5)  09:46:40 to 09:47:20, latitude ",
         ""},
        {{"show", "broken.evo"},
         1,
         "broken.evo: EVO reader, did not load\nwaypoints: 1\n  KEPT   7\n",
         "broken.evo: "},
        {{"show", "ref.mps"},
         1,
         "ref.mps: EVO reader, did not load\nwaypoints: 0\ntracks: 0\n",
         "ref.mps: not a WTR file"},
        {{"dump", "--reference", "ref.mps"},
         0,
         "{\n  \"reader\": \"mps\",\n  \"loaded\": true,\n  \"waypointCount\": 3,\n  "
         "\"trackCount\": 1,\n  \"format\": \"Dg\",\n",
         ""},
        {{"dump", "--reference", "bad.mps"},
         1,
         "{\n  \"reader\": \"mps\",\n  \"loaded\": false,\n  \"waypointCount\": 0,\n  "
         "\"trackCount\": 0,\n  \"format\": null,",
         "bad.mps: "},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_THAT(run.out, StartsWith(c.out));
        EXPECT_THAT(run.err, StartsWith(c.err));
    }
    const std::string dump = Run({"dump", "--reference", "ref.mps"}).out;
    EXPECT_THAT(dump, HasSubstr("\"symbol\": 48, \"description\": \"Camp site\", "
                                "\"descriptionHex\": \"43616d702073697465\", \"layout\": \"v4\"}"));
    EXPECT_THAT(dump, HasSubstr("\"waypointLines\": [\n    \"HOME   9\",\n    \"CAMP 820\",\n"
                                "    \"SUMMIT 1120\"\n  ],\n"
                                "  \"trackLines\": [\n    \"PRACTICE (5)\"\n  ]\n}\n"));
}

// --- help, version and the man page -------------------------------------------------------------

const char* const kCommands[] = {"convert", "show", "gpx", "dump"};

TEST_F(ShowCommandTest, HelpVersionAndUnknownCommands) {
    for (const std::string command : kCommands) {
        const CliRun run = Run({command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_THAT(run.out, HasSubstr("Usage: pelagor-cli " + command)) << command;
        EXPECT_EQ(run.err, "");
    }
    EXPECT_THAT(Run({"gpx", "--help"}).out, HasSubstr("U+FFFD"));  // how names are replaced
    EXPECT_EQ(Run({"--help"}).status, 0);
    EXPECT_EQ(Run({"--version"}).out, std::string("pelagor-cli ") + PELAGOR_VERSION + "\n");
    EXPECT_EQ(Run({"frobnicate"}).status, 2);
    EXPECT_EQ(Run(std::vector<std::string>{}).status, 2);
}

#ifdef PELAGOR_MAN_PAGE
TEST(CliHelp, ManPageDocumentsEveryCommand) {
    std::ifstream file(PELAGOR_MAN_PAGE);
    ASSERT_TRUE(file) << PELAGOR_MAN_PAGE;
    const std::string page{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_THAT(page, HasSubstr(".TH PELAGOR-CLI \"1\""));
    for (const char* command : kCommands) {
        EXPECT_THAT(page, HasSubstr(command));
    }
    for (const char* option : {"no\\-clobber", "output\\-dir", "reference", "encoding"}) {
        EXPECT_THAT(page, HasSubstr(option));
    }
}
#endif

}  // namespace
}  // namespace pelagor::cli
