#pragma once

// The names Garmin's software gives its waypoint symbols, which GPX readers take in <sym>.

#include <cstdint>
#include <optional>
#include <string_view>

namespace pelagor::gpx {

// The name of symbol `code` (the low 16 bits of a MapSource waypoint's symbol field); none for a
// code that has no name.
std::optional<std::string_view> GarminSymbolName(std::uint16_t code);

}  // namespace pelagor::gpx
