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

GpxWaypoint Named(std::string_view name, Altitude altitude = {},
                  std::optional<std::uint16_t> symbol = {}, std::string_view comment = {},
                  std::string_view description = {}) {
    GpxWaypoint waypoint;
    waypoint.altitude = altitude;
    waypoint.name = name;
    waypoint.comment = comment;
    waypoint.description = description;
    waypoint.symbol = symbol;
    return waypoint;
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
