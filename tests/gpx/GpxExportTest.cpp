// The GPX export of MapSource archives, and of several files of both kinds together.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "builder/MpsFiles.h"
#include "fuzz/GpxChecks.h"
#include "gpx/GpxExport.h"

namespace pelagor::gpx {
namespace {

using fuzzing::TextSink;
using namespace testkit;

std::string Export(const std::vector<GpxSource>& sources, std::string& warnings) {
    TextSink sink;
    std::ostringstream warned;
    EXPECT_TRUE(ExportGpx(sources, "cp950", "test", warned, sink));
    warnings = warned.str();
    EXPECT_EQ(fuzzing::XmlCheck::Fault(sink.text), "") << sink.text;
    return sink.text;
}

MapSourceArchive Archive(const MpsReference& reference) {
    MapSourceArchive archive;
    EXPECT_TRUE(LoadArchive(MpsFile(reference), archive));
    return archive;
}

// User waypoints are waypoints; a map point serves the route through it; a route point that
// names no record takes its leg's position (here off the globe: left out), and one that has no
// leg either is left out; a track's colour (the table's last; none past it) and its points' missing
// altitudes and times show, and a track without points has no segment.
TEST(GpxExportTest, ArchiveWaypointsRoutesAndTracks) {
    MpsReference reference;
    reference.realWaypoints = {{"HOME", 1 << 28, 0, 9.5, "Home <1>", 10, 5}};
    reference.realWaypoints[0].notes = "knock";
    MpsRealWaypoint mapPoint{"MP", 0, 1 << 28, 0.0, "Exit", 0x10000, 5, 0};
    mapPoint.waypointClass = 3;
    reference.realWaypoints.push_back(mapPoint);
    reference.routes = {MpsRouteBody({"R1",
                                      {{"HOME", 0, {{1 << 28, 0}, {0, 1 << 28}}},
                                       {"MP", 3, {{0, 1 << 28}, {-(1 << 30) - 1, 1}}},
                                       {"END"}},
                                      5}),
                        MpsRouteBody({"SOLO", {{"NONE"}}, 5})};
    reference.tracks = {{"T1", {1, 16, 0, 0, 0}, {{0, 0, 2.25, 100}, {1, 1, 7.0, 5, 0, 0}}},
                        {"T2", {1, 17, 0, 0, 0}, {}}};
    const MapSourceArchive archive = Archive(reference);
    std::string warnings;
    const std::string text = Export({{"a.mps", nullptr, &archive}}, warnings);
    EXPECT_NE(text.find("xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\""),
              std::string::npos);
    EXPECT_EQ(text.substr(text.find("  <wpt")),
              "  <wpt lat=\"22.5000000\" lon=\"0.0000000\">\n"
              "    <ele>9.5</ele>\n    <name>HOME</name>\n    <cmt>knock</cmt>\n"
              "    <desc>Home &lt;1&gt;</desc>\n    <sym>Residence</sym>\n  </wpt>\n"
              "  <rte>\n    <name>R1</name>\n"
              "    <rtept lat=\"22.5000000\" lon=\"0.0000000\">\n"
              "      <ele>9.5</ele>\n      <name>HOME</name>\n      <cmt>knock</cmt>\n"
              "      <desc>Home &lt;1&gt;</desc>\n      <sym>Residence</sym>\n    </rtept>\n"
              "    <rtept lat=\"0.0000000\" lon=\"22.5000000\">\n"
              "      <name>MP</name>\n      <desc>Exit</desc>\n      <sym>Anchor</sym>\n"
              "    </rtept>\n  </rte>\n"
              "  <rte>\n    <name>SOLO</name>\n  </rte>\n"
              "  <trk>\n    <name>T1</name>\n"
              "    <extensions><gpxx:TrackExtension><gpxx:DisplayColor>White"
              "</gpxx:DisplayColor></gpxx:TrackExtension></extensions>\n"
              "    <trkseg>\n"
              "      <trkpt lat=\"0.0000000\" lon=\"0.0000000\"><ele>2.25</ele>"
              "<time>1970-01-01T00:01:40Z</time></trkpt>\n"
              "      <trkpt lat=\"0.000000084\" lon=\"0.000000084\"></trkpt>\n"
              "    </trkseg>\n  </trk>\n"
              "  <trk>\n    <name>T2</name>\n  </trk>\n</gpx>\n");
    EXPECT_EQ(warnings,
              "a.mps: route 1 'R1' point 3 'END': latitude -90.000000084 lies outside -90..90 "
              "degrees; left out\n"
              "a.mps: route 2 'SOLO' point 1 'NONE': no waypoint of that name and no leg gives "
              "its position; left out\n");
}

}  // namespace
}  // namespace pelagor::gpx
