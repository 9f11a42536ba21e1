#pragma once

#include "tracklog/TrackLogDocument.h"

namespace pelagor {

// The EVO reader's first rule: a waypoint count of 1 to 9999 at offset 32.
bool EvoMayRead(std::span<const std::uint8_t> firstBytes);

// An EVO track log: a header with the waypoint and track counts, then records of varying length
// that the reader finds by scanning for byte patterns, moving forward only.
class EvoDocument : public TrackLogDocument {
public:
    std::int32_t Load(const std::filesystem::path& path, LineSink* waypointList,
                      LineSink* trackList) override;
    std::int32_t LoadBytes(std::span<const std::uint8_t> data, LineSink* waypointList,
                           LineSink* trackList) override;
};

}  // namespace pelagor
