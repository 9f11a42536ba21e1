// The GPX export of MapSource archives, and of several files of both kinds together.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
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
// names no record takes its leg's position; a track's colour and its points' missing altitudes
// and times show.
TEST(GpxExportTest, ArchiveWaypointsRoutesAndTracks) {
    MpsReference reference;
    reference.realWaypoints = {{"HOME", 1 << 28, 0, 9.5, "Home <1>", 10, 5}};
    reference.realWaypoints[0].notes = "knock";
    MpsRealWaypoint mapPoint{"MP", 0, 1 << 28, 0.0, "Exit", 0x10000, 5, 0};
    mapPoint.waypointClass = 3;
    reference.realWaypoints.push_back(mapPoint);
    reference.routes = {MpsRouteBody(
        {"R1",
         {{"HOME", 0, {{1 << 28, 0}, {0, 1 << 28}}}, {"MP", 3, {{0, 1 << 28}, {0, 1}}}, {"END"}},
         5})};
    reference.tracks = {{"T1", {1, 13, 0, 0, 0}, {{0, 0, 2.25, 100}, {1, 1, 7.0, 5, 0, 0}}}};
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
              "    </rtept>\n"
              "    <rtept lat=\"0.0000000\" lon=\"0.000000084\">\n"
              "      <name>END</name>\n    </rtept>\n  </rte>\n"
              "  <trk>\n    <name>T1</name>\n"
              "    <extensions><gpxx:TrackExtension><gpxx:DisplayColor>Blue"
              "</gpxx:DisplayColor></gpxx:TrackExtension></extensions>\n"
              "    <trkseg>\n"
              "      <trkpt lat=\"0.0000000\" lon=\"0.0000000\"><ele>2.25</ele>"
              "<time>1970-01-01T00:01:40Z</time></trkpt>\n"
              "      <trkpt lat=\"0.000000084\" lon=\"0.000000084\"></trkpt>\n"
              "    </trkseg>\n  </trk>\n</gpx>\n");
    EXPECT_EQ(warnings, "");
}

// Each kind comes file by file: the waypoints of both files, then routes, then the tracks.
TEST(GpxExportTest, KindsFileByFile) {
    const MapSourceArchive archive = Archive(SampleReference());
    TrackLogDocument log;
    ASSERT_NE(log.LoadBytes(WtrBytes(SampleWtrLog()), nullptr, nullptr), 0);
    std::string warnings;
    const std::string text =
        Export({{"a.mps", nullptr, &archive}, {"b.wtr", &log, nullptr}}, warnings);
    EXPECT_EQ(text.find("xmlns:gpxx"), std::string::npos);
    const std::size_t lastWaypoint = text.rfind("<wpt");
    const std::size_t firstTrack = text.find("<trk>");
    EXPECT_LT(text.find("<name>" + archive.waypoints.back().name + "</name>"),
              text.find("<name>" + std::string(NameOf(log.WaypointSpan()[0].name)) + "</name>"));
    EXPECT_LT(lastWaypoint, firstTrack);
    EXPECT_LT(text.find("<name>" + archive.tracks[0].name + "</name>"),
              text.find("<name>" + std::string(NameOf(log.TrackSpan()[0].name)) + "</name>"));
}

}  // namespace
}  // namespace pelagor::gpx
