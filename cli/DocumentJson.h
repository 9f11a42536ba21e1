#pragma once

// The JSON form of a loaded document, shared by every command that dumps one.

#include <string>
#include <string_view>
#include <vector>

#include "cli/Json.h"
#include "mapsource/WaypointRecords.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::cli {

struct DocumentDump {
    std::string_view reader;  // "wtr", "evo" or "mps"
    bool loaded = false;
    const TrackLogDocument* document = nullptr;
    const std::vector<std::string>* waypointLines = nullptr;
    const std::vector<std::string>* trackLines = nullptr;
    std::string_view encoding;  // the code page the names are decoded from
};

void WriteDocumentJson(JsonWriter& json, const DocumentDump& dump);

// The reader that produced `document`: "evo", "mps" or "wtr".
std::string_view ReaderName(const TrackLogDocument& document);

// "name" and "nameHex", or another key and its hex: the text decoded from the code page, and its
// bytes as they are.
void WriteText(JsonWriter& json, std::string_view key, std::string_view text,
               std::string_view encoding);

// "v3", "v4" or "fixed": the layout a waypoint record was read by.
std::string_view LayoutName(WaypointLayout layout);

// Lowercase hex of the bytes.
std::string Hex(std::string_view bytes);

}  // namespace pelagor::cli
