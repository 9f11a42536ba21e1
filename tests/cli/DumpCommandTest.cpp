// `pelagor-cli dump`: the JSON of a loaded source, the exit statuses, the reason a load failed,
// and the decoding of names.

#include <gtest/gtest.h>

#include <limits>

#include "builder/TrackLogFiles.h"
#include "cli/CliFixture.h"

namespace pelagor::cli {
namespace {

using testkit::SampleTrack;
using DumpCommandTest = CliTest;

TEST_F(DumpCommandTest, WholeOutputOfASmallFile) {
    const SampleTrack track{"T",
                            {{0, 0, 0, 1.5F},
                             {std::numeric_limits<std::int32_t>::min(), 1073741824, 4294967295U,
                              std::numeric_limits<float>::quiet_NaN()}}};
    Write("small.wtr", testkit::WtrFile({{"WP1", 0, 0, 5.0F, 18}}, track));
    const CliRun run = Run({"dump", "small.wtr"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, R"json({
  "reader": "wtr",
  "loaded": true,
  "waypointCount": 1,
  "trackCount": 1,
  "waypoints": [
    {"name": "WP1", "nameHex": "575031", "latitude": 0, "longitude": 0, "altitude": 5.0, "symbol": 18}
  ],
  "tracks": [
    {
      "name": "T",
      "nameHex": "54",
      "pointCount": 2,
      "points": [
        {"latitude": 0, "longitude": 0, "longitudeDegrees": 0.0, "latitudeDegrees": 0.0, "altitude": 1.5, "time": 0, "hour": 8, "minute": 0, "second": 0},
        {"latitude": -2147483648, "longitude": 1073741824, "longitudeDegrees": 90.00000033527613, "latitudeDegrees": -180.00000067055225, "altitude": null, "time": 4294967295, "hour": 14, "minute": 28, "second": 15}
      ]
    }
  ],
  "waypointLines": [
    "WP1   5"
  ],
  "trackLines": [
    "T (2)"
  ]
}
)json");
}

// A file that neither reader takes is still dumped, with status 1 and the reasons on stderr; one
// that cannot be read at all is status 2 with no JSON.
TEST_F(DumpCommandTest, Failures) {
    testkit::ByteBuilder notWtr;
    Write("x.wtr", notWtr.Text("x").PadTo(40).Take());
    std::vector<std::uint8_t> cutWtr = testkit::WtrFile({{"WA"}, {"WB"}}, SampleTrack{"TR", {}});
    cutWtr.resize(testkit::kWtrFirstSlot + 2 * testkit::kWtrSlotSize + testkit::kWtrHeaderMarkerAt);
    Write("cut.wtr", cutWtr);
    testkit::ByteBuilder noTracks;
    noTracks.Bytes(testkit::EvoFile({{"WP1"}}, {{"ACT", {}}}))
        .PatchValue(testkit::kEvoTrackCountAt, std::uint16_t{0});
    Write("notracks.evo", noTracks.Take());
    Write("empty.wtr", {});
    Write("folder/.keep", {});
    const struct {
        std::string path;
        int status;
        std::string err;   // after "<path>: "; the beginning of the line when it has no "\n"
        std::string json;  // empty: no JSON at all
    } cases[] = {
        {"x.wtr", 1, "not a WTR file (signature); EVO: waypoint count 0 at byte 32\n",
         "\"loaded\": false,\n  \"waypointCount\": 0,"},
        {"cut.wtr", 1,
         "WTR: data ends before the track header marker at byte 160; EVO: waypoint count 0 at byte "
         "32\n",
         "\"waypointLines\": [\n    \"WA   0\",\n    \"WB   0\"\n  ],"},
        {"notracks.evo", 1, "not a WTR file (signature); EVO: track count 0 at byte 36\n",
         "\"loaded\": false,\n  \"waypointCount\": 1,"},
        {"missing.wtr", 2, "cannot read the file: no such file or folder\n", ""},
        {"empty.wtr", 2, "cannot read the file: the file is empty\n", ""},
        {"folder", 2, "cannot read the file: ", ""},  // each system says why
        // Named as given: a leading slash is no Windows-style option.
        {"/no-such-folder/trip.wtr", 2, "cannot read the file: ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const CliRun run = Run({"dump", c.path});
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(c.err.ends_with('\n') ? run.err == c.path + ": " + c.err
                                          : run.err.starts_with(c.path + ": " + c.err))
            << run.err;
        EXPECT_TRUE(c.json.empty() ? run.out.empty()
                                   : run.out.starts_with("{\n  \"reader\": \"evo\",\n") &&
                                         run.out.find(c.json) != std::string::npos)
            << run.out;
    }
}

TEST_F(DumpCommandTest, UsageErrors) {
    const std::string sample = std::string(PELAGOR_EXAMPLES_DIR) + "/sample.wtr";
    const std::vector<std::string> cases[] = {
        {"dump"}, {"dump", sample, "extra"}, {"dump", sample, "--encoding"}};
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("pelagor-cli: ") && run.err.ends_with("\n")) << run.err;
    }
    EXPECT_EQ(Run({"dump", sample, "--encoding", "nope"}).err,
              "pelagor-cli: unknown encoding 'nope'\n");
}

// Names are decoded from the chosen code page (cp950 unless told); the bytes travel as hex.
TEST_F(DumpCommandTest, Encodings) {
    Write("names.wtr", testkit::WtrFile({{"\xA5\x78\xA5\x5F"}, {"A\"B\x01\xFF"}}, std::nullopt));
    const struct {
        std::vector<std::string> options;
        std::string taipei;
    } cases[] = {{{}, "台北"}, {{"--encoding", "utf-8"}, "\uFFFDx\uFFFD_"}};
    for (const auto& c : cases) {
        std::vector<std::string> args{"dump", "names.wtr"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("{\"name\": \"" + c.taipei + "\", \"nameHex\": \"a578a55f\""),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(R"({"name": "A\"B\u0001)"
                               "\uFFFD"
                               R"(", "nameHex": "41224201ff")"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("\"" + c.taipei + "   0\""), std::string::npos);
    }
}

}  // namespace
}  // namespace pelagor::cli
