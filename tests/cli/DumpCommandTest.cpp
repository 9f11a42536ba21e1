// `pelagor-cli dump`: the JSON of a loaded source, the exit statuses, the reason a load failed,
// and the decoding of names.

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "cli/CliApp.h"

namespace pelagor {
namespace {

using testkit::SampleTrack;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), "pelagor-cli");
    std::vector<const char*> argv;
    argv.reserve(args.size());
    for (const auto& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

std::string Example(const char* name) {
    return std::string(PELAGOR_EXAMPLES_DIR) + "/" + name;
}

TEST(DumpCommand, SampleFiles) {
    const std::string waypointLines = R"("waypointLines": [
    "台北101 508",
    "陽明山 1120",
    "淡水   4",
    "HOME   9",
    "CAMP 1 820",
    "HOME  12",
    "NOSIGNAL   0",
    "PEAK9999 9999"
  ],)";
    const struct {
        const char* file;
        const char* reader;
        const char* counts;
        const char* trackLines;
    } cases[] = {
        {"sample.wtr", "wtr", "\"waypointCount\": 8,\n  \"trackCount\": 1,",
         "\"trackLines\": [\n    \"TAIPEI LOOP (360)\"\n  ]\n}\n"},
        {"sample.evo", "evo", "\"waypointCount\": 8,\n  \"trackCount\": 2,",
         "\"trackLines\": [\n    \"ACMORNING (240)\",\n    \"ACEVENING (180)\"\n  ]\n}\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun run = RunCli({"dump", Example(c.file)});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(run.out.starts_with("{\n  \"reader\": \"" + std::string(c.reader) +
                                        "\",\n  \"loaded\": true,\n  " + c.counts))
            << run.out.substr(0, 200);
        EXPECT_NE(run.out.find(
                      R"({"name": "台北101", "nameHex": "a578a55f313031", "latitude": 298667254, )"
                      R"("longitude": 1450320977, "altitude": 508.0, "symbol": 8246})"),
                  std::string::npos);
        EXPECT_NE(run.out.find(waypointLines), std::string::npos);
        EXPECT_TRUE(run.out.ends_with(c.trackLines)) << run.out.substr(run.out.size() - 200);
    }
}

TEST(DumpCommand, WholeOutputOfASmallFile) {
    const testkit::TempDir folder;
    const SampleTrack track{"T",
                            {{0, 0, 0, 1.5F},
                             {std::numeric_limits<std::int32_t>::min(), 1073741824, 4294967295U,
                              std::numeric_limits<float>::quiet_NaN()}}};
    const auto path = folder.Write("small.wtr", testkit::WtrFile({{"WP1", 0, 0, 5.0F, 18}}, track));
    const CliRun run = RunCli({"dump", path.string()});
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
TEST(DumpCommand, Failures) {
    const testkit::TempDir folder;
    testkit::ByteBuilder notWtr;
    notWtr.Text("x").PadTo(40);
    std::vector<std::uint8_t> cutWtr = testkit::WtrFile({{"WA"}, {"WB"}}, SampleTrack{"TR", {}});
    cutWtr.resize(16 + 2 * 64 + 16);
    testkit::ByteBuilder noTracks;
    noTracks.Bytes(testkit::EvoFile({{"WP1"}}, {{"ACT", {}}})).PatchValue(36, std::uint16_t{0});
    const struct {
        const char* what;
        std::filesystem::path path;
        int status;
        std::string err;          // after "<path>: "; the beginning of the line when it has no "\n"
        std::string jsonOpening;  // empty: no JSON at all
        std::string waypointLines;
    } cases[] = {
        {"neither", folder.Write("x.wtr", notWtr.bytes()), 1,
         "not a WTR file (signature); EVO: waypoint count 0 at byte 32\n",
         "\"reader\": \"evo\",\n  \"loaded\": false,\n  \"waypointCount\": 0,",
         "\"waypointLines\": [],"},
        {"WTR cut before the track header", folder.Write("cut.wtr", cutWtr), 1,
         "WTR: data ends before the track header marker at byte 160; EVO: waypoint count 0 at byte "
         "32\n",
         "\"reader\": \"evo\",\n  \"loaded\": false,\n  \"waypointCount\": 0,",
         "\"waypointLines\": [\n    \"WA   0\",\n    \"WB   0\"\n  ],"},
        {"EVO without tracks", folder.Write("notracks.evo", noTracks.bytes()), 1,
         "not a WTR file (signature); EVO: track count 0 at byte 36\n",
         "\"reader\": \"evo\",\n  \"loaded\": false,\n  \"waypointCount\": 1,",
         "\"waypointLines\": [\n    \"WP1   0\"\n  ],"},
        {"missing", folder.path() / "missing.wtr", 2,
         "cannot read the file: no such file or folder\n", "", ""},
        {"empty", folder.Write("empty.wtr", {}), 2, "cannot read the file: the file is empty\n", "",
         ""},
        {"a folder", folder.path(), 2, "cannot read the file: ", "", ""},  // each system says why
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun run = RunCli({"dump", c.path.string()});
        EXPECT_EQ(run.status, c.status);
        if (c.err.ends_with('\n')) {
            EXPECT_EQ(run.err, c.path.string() + ": " + c.err);
        } else {
            EXPECT_TRUE(run.err.starts_with(c.path.string() + ": " + c.err)) << run.err;
        }
        if (c.jsonOpening.empty()) {
            EXPECT_EQ(run.out, "");
            continue;
        }
        EXPECT_TRUE(run.out.starts_with("{\n  " + c.jsonOpening)) << run.out;
        EXPECT_NE(run.out.find(c.waypointLines), std::string::npos) << run.out;
    }
}

TEST(DumpCommand, UsageErrors) {
    const std::string sample = Example("sample.wtr");
    const std::vector<std::string> cases[] = {
        {},
        {"dump"},
        {"frobnicate", sample},
        {"dump", sample, "extra"},
        {"dump", sample, "--encoding"},
        {"dump", sample, "--encoding", "no-such-code-page"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("pelagor-cli: ")) << run.err;
        EXPECT_TRUE(run.err.ends_with("\n"));
    }
    EXPECT_EQ(RunCli({"dump", sample, "--encoding", "nope"}).err,
              "pelagor-cli: unknown encoding 'nope'\n");
    EXPECT_EQ(RunCli({"--help"}).status, 0);
}

// Names are decoded from the chosen code page; the bytes themselves travel as hex.
TEST(DumpCommand, Encodings) {
    const testkit::TempDir folder;
    const auto path = folder.Write(
        "names.wtr",
        testkit::WtrFile({{"\xA5\x78\xA5\x5F"}, {"X\xFF"}, {"A\"B\x01"}}, std::nullopt));
    const struct {
        std::vector<std::string> options;
        std::vector<std::string> names;
    } cases[] = {
        {{}, {"台北", "X\uFFFD", R"(A\"B\u0001)"}},
        {{"--encoding", "cp950"}, {"台北", "X\uFFFD", R"(A\"B\u0001)"}},
        {{"--encoding", "utf-8"}, {"\uFFFDx\uFFFD_", "X\uFFFD", R"(A\"B\u0001)"}},
    };
    const char* hex[] = {"a578a55f", "58ff", "41224201"};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.options));
        std::vector<std::string> args{"dump", path.string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        for (std::size_t index = 0; index < 3; ++index) {
            EXPECT_NE(run.out.find("{\"name\": \"" + c.names[index] + "\", \"nameHex\": \"" +
                                   hex[index] + "\""),
                      std::string::npos)
                << c.names[index] << "\n"
                << run.out;
            EXPECT_NE(run.out.find("\"" + c.names[index] + "   0\""), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace pelagor
