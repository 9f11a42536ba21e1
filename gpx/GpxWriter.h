#pragma once

// Writes one GPX 1.1 file, element by element, into a sink: the text is never held whole. The
// writer knows points, not file formats; each source kind is told to it through the plain
// structures below. Points that a strict reader would refuse are left out, each with a warning
// that names it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/FileIo.h"

namespace pelagor::gpx {

// An altitude as its file stores it: the shortest decimal that reads back depends on the width.
struct Altitude {
    double metres = 0;
    bool single = false;  // a float in the file
    bool valid = false;
};

// A waypoint, or a point of a route. Text fields are bytes in the sources' code page.
struct GpxWaypoint {
    std::int32_t latitude = 0;  // semicircles
    std::int32_t longitude = 0;
    Altitude altitude;
    std::string_view name;
    std::string_view comment;      // written only when not empty
    std::string_view description;  // written only when not empty
    std::optional<std::uint16_t> symbol;
};

struct GpxTrackPoint {
    std::int32_t latitude = 0;  // semicircles
    std::int32_t longitude = 0;
    Altitude altitude;
    std::optional<std::uint32_t> time;  // seconds since 1970-01-01 UTC
};

// The name of Garmin's display colour `colour` (1 Black to 16 White); none for 0 or an unknown one.
std::optional<std::string_view> GarminColourName(std::uint32_t colour);

class GpxWriter {
public:
    // `encoding` is the code page of the names; `warnings` receives one line per point left out.
    GpxWriter(platform::OutputSink& out, std::string_view encoding, std::ostream& warnings);

    // `trackColours` declares the Garmin extensions that carry a track's colour.
    void Begin(std::string_view creator, bool trackColours);
    // Starts the waypoints, routes or tracks of one file: `label` names it in warnings, and the
    // numbers in warnings count from it.
    void BeginSource(std::string_view label);
    void Waypoint(const GpxWaypoint& waypoint);
    void BeginRoute(std::string_view name);
    void RoutePoint(const GpxWaypoint& point);
    // A route point whose position nothing gives: left out, with a warning.
    void UnlocatedRoutePoint(std::string_view name);
    void EndRoute();
    // `colour` 1 to 16 is Garmin's display colour; 0 (or one unknown) writes none.
    void BeginTrack(std::string_view name, std::uint32_t colour);
    void TrackPoint(const GpxTrackPoint& point);
    void EndTrack();
    // Ends the document and hands on what waits. False when the sink has refused bytes.
    bool End();

private:
    [[nodiscard]] std::string Name(std::string_view bytes) const;
    void Element(std::string_view indent, std::string_view tag, std::string_view text);
    void PointElements(std::string_view indent, const GpxWaypoint& point);
    // Warns that `what` is left out: its latitude lies outside -90..90 degrees.
    void LeaveOut(std::int32_t latitude, std::string_view what);
    void Flush();

    platform::OutputSink& m_out;
    std::string m_encoding;
    std::ostream& m_warnings;
    std::string m_text;  // what waits for the sink
    bool m_failed = false;
    std::string m_label;
    std::size_t m_waypoints = 0;
    std::size_t m_routes = 0;
    std::size_t m_tracks = 0;
    std::string m_container;  // "track 2 'NAME'", for the warnings of its points
    std::size_t m_points = 0;
    bool m_segmentOpen = false;
};

}  // namespace pelagor::gpx
