#include "gpx/GpxWriter.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <span>

#include "gpx/GarminSymbols.h"
#include "gpx/GpxText.h"
#include "platform/CodePage.h"

namespace pelagor::gpx {
namespace {

// Pieces smaller than this wait, so that the sink sees few large writes.
constexpr std::size_t kFlushSize = std::size_t{32} << 10U;

std::optional<std::string> ElevationText(const Altitude& altitude) {
    if (!altitude.valid || !std::isfinite(altitude.metres)) {
        return std::nullopt;
    }
    return altitude.single ? FormatDecimal(static_cast<float>(altitude.metres))
                           : FormatDecimal(altitude.metres);
}

// Garmin's display colours by their number in a track record; 0 is none.
constexpr std::array<std::string_view, 16> kColours = {
    "Black",    "DarkRed",   "DarkGreen", "DarkYellow", "DarkBlue", "DarkMagenta",
    "DarkCyan", "LightGray", "DarkGray",  "Red",        "Green",    "Yellow",
    "Blue",     "Magenta",   "Cyan",      "White"};

std::string Position(std::int32_t latitude, std::int32_t longitude) {
    return "lat=\"" + FormatDegrees(latitude) + "\" lon=\"" + FormatDegrees(longitude) + "\"";
}

}  // namespace

std::optional<std::string_view> GarminColourName(std::uint32_t colour) {
    if (colour == 0 || colour > kColours.size()) {
        return std::nullopt;
    }
    return kColours[colour - 1];
}

GpxWriter::GpxWriter(platform::OutputSink& out, std::string_view encoding, std::ostream& warnings)
    : m_out(out), m_encoding(encoding), m_warnings(warnings) {}

std::string GpxWriter::Name(std::string_view bytes) const {
    return platform::DecodeToUtf8(bytes, m_encoding);
}

void GpxWriter::Element(std::string_view indent, std::string_view tag, std::string_view text) {
    m_text.append(indent).append("<").append(tag).append(">");
    m_text.append(text);
    m_text.append("</").append(tag).append(">\n");
}

void GpxWriter::Flush() {
    if (!m_failed && !m_text.empty()) {
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): UTF-8 text as bytes
        m_failed =
            !m_out.Write({reinterpret_cast<const std::uint8_t*>(m_text.data()), m_text.size()});
    }
    m_text.clear();
}

void GpxWriter::LeaveOut(std::int32_t latitude, std::string_view what) {
    m_warnings << m_label << ": " << what << ": latitude " << FormatDegrees(latitude)
               << " lies outside -90..90 degrees; left out\n";
}

void GpxWriter::Begin(std::string_view creator, bool trackColours) {
    m_text += R"(<?xml version="1.0" encoding="UTF-8"?>)"
              "\n";
    m_text += R"(<gpx version="1.1" creator=")" + EscapeXml(creator) + "\"";
    m_text += " xmlns=\"http://www.topografix.com/GPX/1/1\"";
    if (trackColours) {
        m_text += " xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\"";
    }
    m_text += " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";
    m_text +=
        " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1"
        " http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
}

void GpxWriter::BeginSource(std::string_view label) {
    m_label = label;
    m_waypoints = 0;
    m_routes = 0;
    m_tracks = 0;
}

void GpxWriter::PointElements(std::string_view indent, const GpxWaypoint& point) {
    if (const auto elevation = ElevationText(point.altitude)) {
        Element(indent, "ele", *elevation);
    }
    Element(indent, "name", EscapeXml(Name(point.name)));
    if (!point.comment.empty()) {
        Element(indent, "cmt", EscapeXml(Name(point.comment)));
    }
    if (!point.description.empty()) {
        Element(indent, "desc", EscapeXml(Name(point.description)));
    }
    if (point.symbol) {
        if (const auto symbol = GarminSymbolName(*point.symbol)) {
            Element(indent, "sym", EscapeXml(*symbol));
        }
    }
}

void GpxWriter::Waypoint(const GpxWaypoint& waypoint) {
    ++m_waypoints;
    if (!IsValidLatitude(waypoint.latitude)) {
        LeaveOut(waypoint.latitude,
                 "waypoint " + std::to_string(m_waypoints) + " '" + Name(waypoint.name) + "'");
        return;
    }
    m_text += "  <wpt " + Position(waypoint.latitude, waypoint.longitude) + ">\n";
    PointElements("    ", waypoint);
    m_text += "  </wpt>\n";
    if (m_text.size() >= kFlushSize) {
        Flush();
    }
}

void GpxWriter::BeginRoute(std::string_view name) {
    ++m_routes;
    const std::string decoded = Name(name);
    m_container = "route " + std::to_string(m_routes) + " '" + decoded + "'";
    m_points = 0;
    m_text += "  <rte>\n";
    Element("    ", "name", EscapeXml(decoded));
}

void GpxWriter::RoutePoint(const GpxWaypoint& point) {
    ++m_points;
    if (!IsValidLatitude(point.latitude)) {
        LeaveOut(point.latitude, m_container + " point " + std::to_string(m_points) + " '" +
                                     Name(point.name) + "'");
        return;
    }
    m_text += "    <rtept " + Position(point.latitude, point.longitude) + ">\n";
    PointElements("      ", point);
    m_text += "    </rtept>\n";
    if (m_text.size() >= kFlushSize) {
        Flush();
    }
}

void GpxWriter::UnlocatedRoutePoint(std::string_view name) {
    ++m_points;
    m_warnings << m_label << ": " << m_container << " point " << m_points << " '" << Name(name)
               << "': no waypoint of that name and no leg gives its position; left out\n";
}

void GpxWriter::EndRoute() {
    m_text += "  </rte>\n";
}

void GpxWriter::BeginTrack(std::string_view name, std::uint32_t colour) {
    ++m_tracks;
    const std::string decoded = Name(name);
    m_container = "track " + std::to_string(m_tracks) + " '" + decoded + "'";
    m_points = 0;
    m_segmentOpen = false;
    m_text += "  <trk>\n";
    Element("    ", "name", EscapeXml(decoded));
    if (const auto colourName = GarminColourName(colour)) {
        m_text += "    <extensions><gpxx:TrackExtension><gpxx:DisplayColor>";
        m_text.append(*colourName);
        m_text += "</gpxx:DisplayColor></gpxx:TrackExtension></extensions>\n";
    }
}

void GpxWriter::TrackPoint(const GpxTrackPoint& point) {
    ++m_points;
    // A track with points has its segment, even when every point is left out.
    if (!m_segmentOpen) {
        m_text += "    <trkseg>\n";
        m_segmentOpen = true;
    }
    if (!IsValidLatitude(point.latitude)) {
        LeaveOut(point.latitude, m_container + " point " + std::to_string(m_points));
        return;
    }
    m_text += "      <trkpt " + Position(point.latitude, point.longitude) + ">";
    if (const auto elevation = ElevationText(point.altitude)) {
        m_text += "<ele>" + *elevation + "</ele>";
    }
    if (point.time) {
        m_text += "<time>" + FormatUtcTime(*point.time) + "</time>";
    }
    m_text += "</trkpt>\n";
    if (m_text.size() >= kFlushSize) {
        Flush();
    }
}

void GpxWriter::EndTrack() {
    if (m_segmentOpen) {
        m_text += "    </trkseg>\n";
    }
    m_text += "  </trk>\n";
}

bool GpxWriter::End() {
    m_text += "</gpx>\n";
    Flush();
    return !m_failed;
}

}  // namespace pelagor::gpx
