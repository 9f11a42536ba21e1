#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "builder/ByteBuilder.h"
#include "builder/MpsFiles.h"
#include "builder/TrackLogFiles.h"
#include "cli/CliFixture.h"

namespace pelagor::cli {
namespace {

using ::testing::HasSubstr;
using testkit::SampleTrack;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class GpxCommandTest : public CliTest {
protected:
    [[nodiscard]] std::string ReadText(const std::string& name) const {
        const auto bytes = Read(name);
        return {bytes.begin(), bytes.end()};
    }
};

// Names that XML forbids or that are no UTF-8, the degrees and times at their limits, and values
// that would print an exponent or "nan" still make well-formed GPX 1.1.
TEST_F(GpxCommandTest, ExtremesMakeWellFormedGpx11) {
    Write("extreme.wtr",
          testkit::WtrFile({{"A&B\x07\r", 1 << 30, kMax, 9999.0F, 18},
                            {"<x>", -(1 << 30), kMin, -12.0F, 18},
                            {"SOUTHPOLE", kMin, 0, 0.0F, 18},  // -180 degrees: damaged, left out
                            {"\xA5\x78\xA5\x5F\xFF", 298667254, 1450320977, std::nanf(""), 18}},
                           SampleTrack{"T<&>",
                                       {{0, -1, 951782400U, FLT_MAX},
                                        {kMax, 0, 1U, 6.0F},  // left out
                                        {1 << 30, kMin, 4294967295U, std::nanf("")}}}));
    const CliRun run = Run({"gpx", "extreme.wtr", "-o", "out.gpx"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(
        ReadText("out.gpx"),
        R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="pelagor-cli )" PELAGOR_VERSION
        R"(" xmlns="http://www.topografix.com/GPX/1/1" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd">
  <wpt lat="90.0000000" lon="179.999999916">
    <ele>9999</ele>
    <name>A&amp;B�&#13;</name>
  </wpt>
  <wpt lat="-90.0000000" lon="-180.0000000">
    <ele>-12</ele>
    <name>&lt;x&gt;</name>
  </wpt>
  <wpt lat="25.034000035" lon="121.564499969">
    <name>台北�</name>
  </wpt>
  <trk>
    <name>T&lt;&amp;&gt;</name>
    <trkseg>
      <trkpt lat="0.0000000" lon="-0.000000084"><ele>340282346638528859811704183484516925440</ele><time>2000-02-29T00:00:00Z</time></trkpt>
      <trkpt lat="90.0000000" lon="-180.0000000"><time>2106-02-07T06:28:15Z</time></trkpt>
    </trkseg>
  </trk>
</gpx>
)");
    EXPECT_EQ(run.err,
              "extreme.wtr: waypoint 3 'SOUTHPOLE': latitude -180.0000000 lies outside -90..90 "
              "degrees; left out\nextreme.wtr: track 1 'T<&>' point 2: latitude 179.999999916 "
              "lies outside -90..90 degrees; left out\n");
}

// All waypoints come before all routes and tracks, file by file, whatever kind each file is. A
// file that failed to load gives what its document holds: here an EVO header promises a track
// that never comes, and an archive holds a record that fits no layout, which is named and skipped.
TEST_F(GpxCommandTest, SeveralFilesAndAFailedLoad) {
    Write("a.wtr", testkit::WtrFile({{"WTR1"}}, SampleTrack{"WTRTRACK", {{}}}));
    Write("b.evo", testkit::EvoFile({{"EVO1"}, {"EVO2"}}, {SampleTrack{"ACEVO", {{}}}}));
    testkit::ByteBuilder file;
    testkit::EvoHeader(file, 2, 1);
    testkit::EvoWaypointRecord(file, {"KEPT1", 1000, 2000, 3.0F, 18});
    testkit::EvoWaypointRecord(file, {"KEPT2", 1000, 2000, 3.0F, 18});
    Write("broken.evo", file.Take());
    testkit::MpsReference archive;
    archive.realWaypoints = {{"MPS1"}};
    archive.routes = {testkit::MpsRouteBody({"MPSROUTE", {{"MPS1"}}})};
    archive.tracks = {{"MPSTRACK", {1, 0, 0, 0, 0}, {{}}}};
    archive.waypoints = {{"BROKEN", 0, 0, 0.0, 18, "", 0, 3}};  // its second block cut short
    Write("c.mps", testkit::MpsFile(archive));
    const CliRun run = Run({"gpx", "a.wtr", "b.evo", "broken.evo", "c.mps", "-o", "out.gpx"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("broken.evo: "));
    EXPECT_THAT(run.err, HasSubstr("exporting the 2 waypoints and 1 track it holds"));
    EXPECT_THAT(run.err, HasSubstr("c.mps: record 3 ('W') at byte 141 skipped: "));
    EXPECT_THAT(run.err,
                HasSubstr("c.mps: exporting the 1 waypoint, 1 route and 1 track it holds"));
    const std::string gpx = ReadText("out.gpx");
    EXPECT_EQ(gpx.find("xmlns:gpxx"), std::string::npos);  // no track has a colour
    std::size_t at = 0;
    for (const char* name : {"WTR1", "EVO1", "EVO2", "KEPT1", "KEPT2", "MPS1", "MPSROUTE",
                             "WTRTRACK", "ACEVO", "MPSTRACK"}) {
        at = gpx.find(std::string("<name>") + name + "</name>", at);
        EXPECT_NE(at, std::string::npos) << name;
    }
}

}  // namespace
}  // namespace pelagor::cli
