#include "cli/DocumentJson.h"

#include "cli/LoadedDocument.h"
#include "mapsource/MapSourceDocument.h"
#include "platform/CodePage.h"
#include "tracklog/EvoDocument.h"

namespace pelagor::cli {

void WriteText(JsonWriter& json, std::string_view key, std::string_view text,
               std::string_view encoding) {
    json.Key(key);
    json.String(platform::DecodeToUtf8(text, encoding));
    json.Key(std::string(key) + "Hex");
    json.String(Hex(text));
}

std::string_view LayoutName(WaypointLayout layout) {
    switch (layout) {
        case WaypointLayout::V3:
            return "v3";
        case WaypointLayout::V4:
            return "v4";
        case WaypointLayout::Fixed:
            break;
    }
    return "fixed";
}

namespace {

void WriteName(JsonWriter& json, std::string_view name, std::string_view encoding) {
    WriteText(json, "name", name, encoding);
}

void WriteLines(JsonWriter& json, std::string_view key, const std::vector<std::string>* lines,
                std::string_view encoding) {
    json.Key(key);
    json.BeginArray();
    if (lines != nullptr) {
        for (const auto& line : *lines) {
            json.String(platform::DecodeToUtf8(line, encoding));
        }
    }
    json.EndArray();
}

void WritePoint(JsonWriter& json, const TrackPoint& point) {
    json.BeginObject(true);
    json.Key("latitude");
    json.Int(point.latitude);
    json.Key("longitude");
    json.Int(point.longitude);
    json.Key("longitudeDegrees");
    json.Double(point.longitudeDegrees);
    json.Key("latitudeDegrees");
    json.Double(point.latitudeDegrees);
    json.Key("altitude");
    json.Float(point.altitude);
    json.Key("time");
    json.Int(point.time);
    json.Key("hour");
    json.Int(point.hour);
    json.Key("minute");
    json.Int(point.minute);
    json.Key("second");
    json.Int(point.second);
    json.EndObject();
}

}  // namespace

std::string Hex(std::string_view bytes) {
    static constexpr std::string_view kDigits = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4U];
        text += kDigits[byte & 0x0FU];
    }
    return text;
}

std::string_view ReaderName(const TrackLogDocument& document) {
    if (dynamic_cast<const EvoDocument*>(&document) != nullptr) {
        return "evo";
    }
    if (dynamic_cast<const MapSourceDocument*>(&document) != nullptr) {
        return "mps";
    }
    return "wtr";
}

void WriteDocumentJson(JsonWriter& json, const DocumentDump& dump) {
    const TrackLogDocument& document = *dump.document;
    json.BeginObject();
    json.Key("reader");
    json.String(dump.reader);
    json.Key("loaded");
    json.Bool(dump.loaded);
    json.Key("waypointCount");
    json.Int(document.waypointCount);
    json.Key("trackCount");
    json.Int(document.trackCount);
    if (const auto* reference = dynamic_cast<const MapSourceDocument*>(&document)) {
        json.Key("format");
        if (const std::string format = reference->header.Format(); !format.empty()) {
            json.String(format);
        } else {
            json.Null();
        }
    }
    const auto views = ReferenceWaypointViews(document);

    json.Key("waypoints");
    json.BeginArray();
    for (std::size_t index = 0; index < document.WaypointSpan().size(); ++index) {
        const WaypointEntry& waypoint = document.WaypointSpan()[index];
        json.BeginObject(true);
        WriteName(json, NameOf(waypoint.name), dump.encoding);
        json.Key("latitude");
        json.Int(waypoint.latitude);
        json.Key("longitude");
        json.Int(waypoint.longitude);
        json.Key("altitude");
        json.Float(waypoint.altitude);
        json.Key("symbol");
        json.Int(waypoint.symbol);
        if (index < views.size()) {
            WriteText(json, "description", views[index].description, dump.encoding);
            json.Key("layout");
            json.String(LayoutName(views[index].layout));
        }
        json.EndObject();
    }
    json.EndArray();

    json.Key("tracks");
    json.BeginArray();
    for (const TrackEntry& track : document.TrackSpan()) {
        json.BeginObject();
        WriteName(json, NameOf(track.name), dump.encoding);
        json.Key("pointCount");
        json.Int(track.pointCount);
        json.Key("points");
        json.BeginArray();
        for (std::int32_t index = 0; index < track.pointCount; ++index) {
            WritePoint(json, track.points[static_cast<std::size_t>(index)]);
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();

    WriteLines(json, "waypointLines", dump.waypointLines, dump.encoding);
    WriteLines(json, "trackLines", dump.trackLines, dump.encoding);
    json.EndObject();
}

}  // namespace pelagor::cli
