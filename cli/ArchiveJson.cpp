#include "cli/ArchiveJson.h"

#include <optional>

#include "cli/DocumentJson.h"
#include "platform/CodePage.h"

namespace pelagor::cli {
namespace {

class ArchiveJson {
public:
    ArchiveJson(JsonWriter& json, std::string_view encoding) : m_json(json), m_encoding(encoding) {}

    void Write(const MapSourceArchive& archive) {
        m_json.BeginObject();
        m_json.Key("reader");
        m_json.String("archive");
        Flag("loaded", archive.complete);
        m_json.Key("format");
        if (archive.format.empty()) {
            m_json.Null();
        } else {
            m_json.String(archive.format);
        }
        m_json.Key("mapSetName");
        if (archive.mapSetName) {
            m_json.String(Decoded(*archive.mapSetName));
        } else {
            m_json.Null();
        }
        Count("waypointCount", archive.waypoints.size());
        Count("userWaypointCount", archive.UserWaypointCount());
        Count("routeCount", archive.routes.size());
        Count("trackCount", archive.tracks.size());
        Array("waypoints", archive.waypoints, [this](const auto& waypoint) { Waypoint(waypoint); });
        Array("routes", archive.routes, [this](const auto& route) { Route(route); });
        Array("tracks", archive.tracks, [this](const auto& track) { Track(track); });
        Array("mapSegments", archive.mapSegments, [this](const ArchiveMapSegment& segment) {
            m_json.BeginArray(true);
            for (const std::string* text : {&segment.text1, &segment.text2, &segment.text3}) {
                m_json.String(Decoded(*text));
            }
            m_json.EndArray();
        });
        Array("warnings", archive.warnings,
              [this](const std::string& warning) { m_json.String(warning); });
        m_json.EndObject();
    }

private:
    [[nodiscard]] std::string Decoded(std::string_view text) const {
        return platform::DecodeToUtf8(text, m_encoding);
    }

    void Count(std::string_view key, std::size_t count) {
        m_json.Key(key);
        m_json.Int(static_cast<std::int64_t>(count));
    }

    template <typename Items, typename WriteItem>
    void Array(std::string_view key, const Items& items, WriteItem writeItem) {
        m_json.Key(key);
        m_json.BeginArray();
        for (const auto& item : items) {
            writeItem(item);
        }
        m_json.EndArray();
    }

    void Text(std::string_view key, std::string_view text) {
        m_json.Key(key);
        m_json.String(Decoded(text));
    }

    void Flag(std::string_view key, bool value) {
        m_json.Key(key);
        m_json.Bool(value);
    }

    void Number(std::string_view key, std::int64_t value) {
        m_json.Key(key);
        m_json.Int(value);
    }

    // "<key>Valid": true or false, then "<key>": the value, or null when not valid.
    void Flagged(std::string_view key, bool valid, double value) {
        Flag(std::string(key) + "Valid", valid);
        m_json.Key(key);
        if (valid) {
            m_json.Double(value);
        } else {
            m_json.Null();
        }
    }

    template <typename T>
    void Optional(std::string_view key, const std::optional<T>& value) {
        m_json.Key(key);
        if (value) {
            m_json.Int(static_cast<std::int64_t>(*value));
        } else {
            m_json.Null();
        }
    }

    void Position(std::int32_t latitude, std::int32_t longitude, bool altitudeValid,
                  double altitude) {
        Number("latitude", latitude);
        Number("longitude", longitude);
        Flagged("altitude", altitudeValid, altitude);
    }

    void Waypoint(const ArchiveWaypoint& waypoint) {
        m_json.BeginObject(true);
        WriteText(m_json, "name", waypoint.name, m_encoding);
        Number("class", waypoint.waypointClass);
        Position(waypoint.latitude, waypoint.longitude, waypoint.altitudeValid, waypoint.altitude);
        WriteText(m_json, "description", waypoint.description, m_encoding);
        Text("notes", waypoint.notes);
        Number("symbol", waypoint.symbol);
        Flagged("proximity", waypoint.proximityValid, waypoint.proximity);
        Flagged("depth", waypoint.depthValid, waypoint.depth);
        Number("display", waypoint.display);
        Number("colour", waypoint.colour);
        Text("country", waypoint.country);
        Text("city", waypoint.city);
        Text("state", waypoint.state);
        Text("facility", waypoint.facility);
        m_json.Key("layout");
        m_json.String(LayoutName(waypoint.layout));
        m_json.EndObject();
    }

    void Coordinate(const ArchiveCoordinate& at) {
        m_json.BeginObject(true);
        Position(at.latitude, at.longitude, at.altitudeValid, at.altitude);
        m_json.EndObject();
    }

    void Route(const ArchiveRoute& route) {
        m_json.BeginObject();
        WriteText(m_json, "name", route.name, m_encoding);
        Flag("autoName", route.autoName);
        Array("points", route.points, [this](const ArchiveRoutePoint& point) {
            m_json.BeginObject(true);
            WriteText(m_json, "name", point.name, m_encoding);
            Number("class", point.waypointClass);
            Optional("waypoint", point.waypoint);  // the index of the waypoint it was found by
            Flag("located", point.located);
            Position(point.latitude, point.longitude, point.altitudeValid, point.altitude);
            Text("description", point.description);
            Optional("symbol", point.symbol);
            m_json.EndObject();
        });
        // Each link: the coordinates from one point to the next.
        Array("links", route.links, [this](const ArchiveRouteLink& link) {
            m_json.BeginArray();
            for (const ArchiveCoordinate& at : link.coordinates) {
                Coordinate(at);
            }
            m_json.EndArray();
        });
        m_json.EndObject();
    }

    void Track(const ArchiveTrack& track) {
        m_json.BeginObject();
        WriteText(m_json, "name", track.name, m_encoding);
        Flag("display", track.display);
        Number("colour", track.colour);
        Count("pointCount", track.points.size());
        Array("points", track.points, [this](const ArchiveTrackPoint& point) {
            m_json.BeginObject(true);
            Position(point.latitude, point.longitude, point.altitudeValid, point.altitude);
            Flag("timeValid", point.timeValid);
            Optional("time", point.timeValid ? std::optional(point.time) : std::nullopt);
            Flagged("depth", point.depthValid, point.depth);
            m_json.EndObject();
        });
        m_json.EndObject();
    }

    JsonWriter& m_json;
    std::string_view m_encoding;
};

}  // namespace

void WriteArchiveJson(JsonWriter& json, const MapSourceArchive& archive,
                      std::string_view encoding) {
    ArchiveJson(json, encoding).Write(archive);
}

}  // namespace pelagor::cli
