#pragma once

// The JSON form of a MapSource archive: every field kept of every record, validity flags with
// their values (null when not valid), and the warnings of a reading that was not whole.

#include <string_view>

#include "cli/Json.h"
#include "mapsource/MapSourceArchive.h"

namespace pelagor::cli {

void WriteArchiveJson(JsonWriter& json, const MapSourceArchive& archive, std::string_view encoding);

}  // namespace pelagor::cli
