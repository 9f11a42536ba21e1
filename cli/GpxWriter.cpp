#include "cli/GpxWriter.h"

#include <cmath>

#include "cli/GpxText.h"
#include "platform/CodePage.h"

namespace pelagor::cli {

GpxWriter::GpxWriter(std::string_view encoding, std::ostream& warnings)
    : m_encoding(encoding), m_warnings(warnings) {}

std::string GpxWriter::Name(std::string_view bytes) const {
    return platform::DecodeToUtf8(bytes, m_encoding);
}

void GpxWriter::Element(std::string_view indent, std::string_view tag, std::string_view text) {
    m_text.append(indent).append("<").append(tag).append(">");
    m_text.append(text);
    m_text.append("</").append(tag).append(">\n");
}

void GpxWriter::Begin(std::string_view creator) {
    m_text += R"(<?xml version="1.0" encoding="UTF-8"?>)"
              "\n";
    m_text += R"(<gpx version="1.1" creator=")" + EscapeXml(creator) + "\"";
    m_text += " xmlns=\"http://www.topografix.com/GPX/1/1\"";
    m_text += " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";
    m_text +=
        " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1"
        " http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
}

void GpxWriter::AddWaypoints(const TrackLogDocument& document, std::string_view label) {
    std::size_t index = 0;
    for (const WaypointEntry& waypoint : document.WaypointSpan()) {
        ++index;
        const std::string name = Name(NameOf(waypoint.name));
        if (!IsValidLatitude(waypoint.latitude)) {
            m_warnings << label << ": waypoint " << index << " '" << name << "': latitude "
                       << FormatDegrees(waypoint.latitude)
                       << " lies outside -90..90 degrees; left out\n";
            continue;
        }
        m_text += "  <wpt lat=\"" + FormatDegrees(waypoint.latitude) + "\" lon=\"" +
                  FormatDegrees(waypoint.longitude) + "\">\n";
        if (std::isfinite(waypoint.altitude)) {
            Element("    ", "ele", FormatDecimal(waypoint.altitude));
        }
        Element("    ", "name", EscapeXml(name));
        m_text += "  </wpt>\n";
    }
}

void GpxWriter::AddTracks(const TrackLogDocument& document, std::string_view label) {
    std::size_t trackIndex = 0;
    for (const TrackEntry& track : document.TrackSpan()) {
        ++trackIndex;
        const std::string name = Name(NameOf(track.name));
        m_text += "  <trk>\n";
        Element("    ", "name", EscapeXml(name));
        if (track.pointCount > 0) {
            m_text += "    <trkseg>\n";
            for (std::int32_t index = 0; index < track.pointCount; ++index) {
                const TrackPoint& point = track.points[static_cast<std::size_t>(index)];
                if (!IsValidLatitude(point.latitude)) {
                    m_warnings << label << ": track " << trackIndex << " '" << name << "' point "
                               << index + 1 << ": latitude " << FormatDegrees(point.latitude)
                               << " lies outside -90..90 degrees; left out\n";
                    continue;
                }
                m_text += "      <trkpt lat=\"" + FormatDegrees(point.latitude) + "\" lon=\"" +
                          FormatDegrees(point.longitude) + "\">";
                if (std::isfinite(point.altitude)) {
                    m_text += "<ele>" + FormatDecimal(point.altitude) + "</ele>";
                }
                m_text += "<time>" + FormatUtcTime(point.time) + "</time></trkpt>\n";
            }
            m_text += "    </trkseg>\n";
        }
        m_text += "  </trk>\n";
    }
}

void GpxWriter::End() {
    m_text += "</gpx>\n";
}

}  // namespace pelagor::cli
