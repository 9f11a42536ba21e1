#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
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

// Names decoded from the code page, and `show` and `dump` on a reference.
TEST_F(ShowCommandTest, SourcesAndReferences) {
    Write("sample.evo", testkit::EvoBytes(testkit::SampleEvoLog()));
    Write("ref.mps", testkit::MpsFile(testkit::SampleReference()));
    EXPECT_THAT(Run({"show", "sample.evo"}).out,
                StartsWith("sample.evo: EVO reader, loaded\nwaypoints: 8\n  台北101 508\n"));
    const CliRun run = Run({"show", "--reference", "ref.mps"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "ref.mps: MapSource reader, loaded\nwaypoints: 3\n  HOME   9  Home, Zhongzheng\n"
              "  CAMP 820  Camp site\n  SUMMIT 1120  Qixing summit\ntracks: 1\n"
              "  PRACTICE (5)  09:46:40 to 09:47:20, latitude 25.0486799 to 25.0527032, longitude "
              "121.5595900 to 121.5636133\n");
    // Control characters in names from a file reach the terminal escaped, as in file names.
    Write("ctl.wtr", testkit::WtrFile({{"\x1b]0;x\x07"}, {"A\rB"}}, SampleTrack{"\x1b[2J", {}}));
    EXPECT_EQ(Run({"show", "ctl.wtr"}).out,
              "ctl.wtr: WTR reader, loaded\nwaypoints: 2\n  \\x1b]0;x\\x07   0\n  A\\rB   0\n"
              "tracks: 1\n  \\x1b[2J (0)  no points\n");
    const std::string dump = Run({"dump", "--reference", "ref.mps"}).out;
    EXPECT_THAT(dump, StartsWith("{\n  \"reader\": \"mps\",\n  \"loaded\": true,\n"));
    EXPECT_THAT(dump, HasSubstr("\"symbol\": 48, \"description\": \"Camp site\", "
                                "\"descriptionHex\": \"43616d702073697465\", \"layout\": \"v4\"}"));
}

// An archive lists its user waypoints with their descriptions (not the map points its routes
// pass), its routes and its tracks; dump keeps every field, null where not valid. A skipped
// record is named on stderr, and the status is 1.
TEST_F(ShowCommandTest, Archives) {
    testkit::MpsReference archive = testkit::SampleReference();
    archive.realWaypoints.push_back({"MAP", 1, 2, 0, "", 18, 4, 0});
    archive.realWaypoints.back().waypointClass = 2;
    archive.routes = {testkit::MpsRouteBody(
        {"TO CAMP", {{"HOME", 0, {{1, 2}, {3, 4}}}, {"MAP", 2, {{3, 4}, {5, 6}}}, {"CAMP"}}})};
    Write("a.mps", testkit::MpsFile(archive));
    const CliRun show = Run({"show", "a.mps"});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out,
              "a.mps: MapSource archive (Dg), loaded\nwaypoints: 3 (and 1 map point that routes "
              "pass)\n  HOME   9  Home, Zhongzheng\n  CAMP 820  Camp site\n  SUMMIT 1120  Qixing "
              "summit\nroutes: 1\n  TO CAMP (3 points)\n    HOME, MAP, CAMP\ntracks: 1\n"
              "  PRACTICE (5)  09:46:40 to 09:47:20, latitude 25.0486799 to 25.0527032, longitude "
              "121.5595900 to 121.5636133\n");
    EXPECT_THAT(Run({"dump", "a.mps"}).out,
                HasSubstr(R"({"name": "MAP", "nameHex": "4d4150", "class": 2, "latitude": 1, )"
                          R"("longitude": 2, "altitudeValid": false, "altitude": null, )"));
    testkit::ByteBuilder bad;
    testkit::MpsFrame(bad.Bytes(testkit::MpsFile(archive)), 'W', {'X', 0});
    Write("bad.mps", bad.bytes());
    const CliRun partial = Run({"show", "bad.mps"});
    EXPECT_EQ(partial.status, 1);
    EXPECT_THAT(partial.out, StartsWith("bad.mps: MapSource archive (Dg), read in part\n"));
    EXPECT_EQ(partial.err, "bad.mps: record 10 ('W') at byte " + std::to_string(bad.size() - 7) +
                               " skipped: waypoint body shorter than its 46-byte first block\n");
}

// The JSON of a source: names decoded from cp950 with their bytes as hex, an altitude past 9999
// listed as 0, and the clock eight hours ahead.
using DumpCommandTest = CliTest;

TEST_F(DumpCommandTest, WholeOutputOfASmallFile) {
    const SampleTrack track{"A\"B\x01\xFF",
                            {{0, 0, 0, 1.5F},
                             {std::numeric_limits<std::int32_t>::min(), 1073741824, 4294967295U,
                              std::numeric_limits<float>::quiet_NaN()}}};
    Write("small.wtr", testkit::WtrFile({{"\xA5\x78\xA5\x5F", 0, 0, 12000.0F, 18}}, track));
    const CliRun run = Run({"dump", "small.wtr"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, R"json({
  "reader": "wtr",
  "loaded": true,
  "waypointCount": 1,
  "trackCount": 1,
  "waypoints": [
    {"name": "台北", "nameHex": "a578a55f", "latitude": 0, "longitude": 0, "altitude": 0.0, "symbol": 18}
  ],
  "tracks": [
    {
      "name": "A\"B\u0001�",
      "nameHex": "41224201ff",
      "pointCount": 2,
      "points": [
        {"latitude": 0, "longitude": 0, "longitudeDegrees": 0.0, "latitudeDegrees": 0.0, "altitude": 1.5, "time": 0, "hour": 8, "minute": 0, "second": 0},
        {"latitude": -2147483648, "longitude": 1073741824, "longitudeDegrees": 90.00000033527613, "latitudeDegrees": -180.00000067055225, "altitude": null, "time": 4294967295, "hour": 14, "minute": 28, "second": 15}
      ]
    }
  ],
  "waypointLines": [
    "台北   0"
  ],
  "trackLines": [
    "A\"B\u0001� (2)"
  ]
}
)json");
}

// A file that neither reader takes is still dumped, with status 1 and the reasons on stderr; one
// that cannot be read at all is status 2 with no JSON.
TEST_F(DumpCommandTest, Failures) {
    Write("x.wtr", testkit::ByteBuilder().Text("x").PadTo(40).Take());
    std::vector<std::uint8_t> cutWtr = testkit::WtrFile({{"WA"}, {"WB"}}, SampleTrack{"TR", {}});
    cutWtr.resize(testkit::kWtrFirstSlot + 2 * testkit::kWtrSlotSize + testkit::kWtrHeaderMarkerAt);
    Write("cut.wtr", cutWtr);
    Write("empty.wtr", {});
    const struct {
        std::string path;
        int status;
        std::string err;   // after "<path>: "; ends with a line feed where the line is whole
        std::string json;  // empty: no JSON at all
    } cases[] = {
        {"x.wtr", 1, "not a WTR file (signature); EVO: waypoint count 0 at byte 32\n",
         "\"loaded\": false,\n  \"waypointCount\": 0,"},
        {"cut.wtr", 1,
         "WTR: data ends before the track header marker at byte 160; EVO: waypoint count 0 at byte "
         "32\n",
         "\"waypointLines\": [\n    \"WA   0\",\n    \"WB   0\"\n  ],"},
        {"empty.wtr", 2, "cannot read the file: the file is empty\n", ""},
        // Named as given: a leading slash is no Windows-style option.
        {"/no-such-folder/trip.wtr", 2, "cannot read the file: ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const CliRun run = Run({"dump", c.path});
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.starts_with(c.path + ": " + c.err)) << run.err;
        EXPECT_EQ(c.json.empty(), run.out.empty());
        EXPECT_NE(run.out.find(c.json), std::string::npos) << run.out;
    }
}

}  // namespace
}  // namespace pelagor::cli
