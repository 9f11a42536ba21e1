#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/GpxChecks.h"
#include "gpx/GpxWriter.h"

namespace pelagor::gpx {
namespace {

using fuzzing::TextSink;

// The lines between the <gpx> line and </gpx> of what `write` makes.
template <typename Write>
std::string Body(Write&& write, std::ostream& warnings) {
    TextSink sink;
    GpxWriter writer(sink, "cp950", warnings);
    writer.Begin("test", false);
    writer.BeginSource("f.mps");
    write(writer);
    EXPECT_TRUE(writer.End());
    const std::size_t start = sink.text.find(">\n", sink.text.find("<gpx ")) + 2;
    return sink.text.substr(start, sink.text.size() - start - std::string("</gpx>\n").size());
}

constexpr Altitude kNoAltitude{};

GpxWaypoint Named(std::string_view name, Altitude altitude = {},
                  std::optional<std::uint16_t> symbol = {}, std::string_view comment = {},
                  std::string_view description = {}, std::int32_t latitude = 0) {
    GpxWaypoint waypoint;
    waypoint.latitude = latitude;
    waypoint.altitude = altitude;
    waypoint.name = name;
    waypoint.comment = comment;
    waypoint.description = description;
    waypoint.symbol = symbol;
    return waypoint;
}

GpxTrackPoint At(Altitude altitude, std::optional<std::uint32_t> time = {}) {
    GpxTrackPoint point;
    point.altitude = altitude;
    point.time = time;
    return point;
}

// Every element of a waypoint comes only when it has something to say.
TEST(GpxWriterTest, WaypointElements) {
    struct Case {
        GpxWaypoint waypoint;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {Named("BARE"), "    <name>BARE</name>\n"},
        {Named("HIGH", {12.5, false, true}, 10),
         "    <ele>12.5</ele>\n    <name>HIGH</name>\n    <sym>Residence</sym>\n"},
        {Named("A", {0.1, false, true}, {}, "n<", "d"),
         "    <ele>0.1</ele>\n    <name>A</name>\n    <cmt>n&lt;</cmt>\n    <desc>d</desc>\n"},
        {Named("B", {1e21, false, true}, 0),
         "    <ele>1000000000000000000000</ele>\n    <name>B</name>\n    <sym>Anchor</sym>\n"},
        {Named("C", {0.1, false, false}, 9999), "    <name>C</name>\n"},
        {Named("\xA5\x78\xA5\x5F", {std::nan(""), false, true}), "    <name>台北</name>\n"},
        {Named("F", {static_cast<double>(0.1F), true, true}),
         "    <ele>0.1</ele>\n    <name>F</name>\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream warnings;
        EXPECT_EQ(Body([&](GpxWriter& writer) { writer.Waypoint(c.waypoint); }, warnings),
                  "  <wpt lat=\"0.0000000\" lon=\"0.0000000\">\n" + c.expected + "  </wpt>\n")
            << c.waypoint.name;
    }
}

// A route's points are filled as waypoints are; one that lies off the globe is left out.
TEST(GpxWriterTest, RouteAndTrack) {
    std::ostringstream warnings;
    const std::string body = Body(
        [](GpxWriter& writer) {
            writer.BeginRoute("R1");
            writer.RoutePoint(Named("P1", {}, {}, {}, "first", 1 << 29));
            writer.RoutePoint(Named("OFF", {}, {}, {}, {}, -(1 << 30) - 1));
            writer.EndRoute();
            writer.BeginTrack("T1", 12);
            writer.TrackPoint(At({3.0, false, true}, 86400U));
            writer.TrackPoint(At(kNoAltitude));
            writer.EndTrack();
            writer.BeginTrack("T2", 17);
            writer.EndTrack();
        },
        warnings);
    EXPECT_EQ(body,
              "  <rte>\n    <name>R1</name>\n"
              "    <rtept lat=\"45.0000000\" lon=\"0.0000000\">\n"
              "      <name>P1</name>\n      <desc>first</desc>\n    </rtept>\n  </rte>\n"
              "  <trk>\n    <name>T1</name>\n"
              "    <extensions><gpxx:TrackExtension><gpxx:DisplayColor>Yellow"
              "</gpxx:DisplayColor></gpxx:TrackExtension></extensions>\n"
              "    <trkseg>\n"
              "      <trkpt lat=\"0.0000000\" lon=\"0.0000000\"><ele>3</ele>"
              "<time>1970-01-02T00:00:00Z</time></trkpt>\n"
              "      <trkpt lat=\"0.0000000\" lon=\"0.0000000\"></trkpt>\n"
              "    </trkseg>\n  </trk>\n"
              "  <trk>\n    <name>T2</name>\n  </trk>\n");
    EXPECT_EQ(warnings.str(),
              "f.mps: route 1 'R1' point 2 'OFF': latitude -90.000000084 lies outside -90..90 "
              "degrees; left out\n");
}

// Colour names by number; the namespace of the extension only where a track uses it.
TEST(GpxWriterTest, ColoursAndTheirNamespace) {
    EXPECT_EQ(GarminColourName(0), std::nullopt);
    EXPECT_EQ(GarminColourName(1), "Black");
    EXPECT_EQ(GarminColourName(8), "LightGray");
    EXPECT_EQ(GarminColourName(16), "White");
    EXPECT_EQ(GarminColourName(17), std::nullopt);
    for (const bool colours : {false, true}) {
        TextSink sink;
        std::ostringstream warnings;
        GpxWriter writer(sink, "cp950", warnings);
        writer.Begin("test", colours);
        EXPECT_TRUE(writer.End());
        EXPECT_EQ(
            sink.text.find("xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\"") !=
                std::string::npos,
            colours);
    }
}

// A sink that refuses bytes fails the document.
TEST(GpxWriterTest, RefusedBytesFailTheDocument) {
    TextSink sink;
    sink.refuse = true;
    std::ostringstream warnings;
    GpxWriter writer(sink, "cp950", warnings);
    writer.Begin("test", false);
    EXPECT_FALSE(writer.End());
}

}  // namespace
}  // namespace pelagor::gpx
