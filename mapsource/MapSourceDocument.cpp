#include "mapsource/MapSourceDocument.h"

// Placeholder until the MapSource reader and writer land.
namespace pelagor {

MapSourceDocument::MapSourceDocument() = default;
MapSourceDocument::~MapSourceDocument() = default;

std::int32_t MapSourceDocument::Load(const std::filesystem::path& /*path*/, LineSink* /*waypointList*/,
                                     LineSink* /*trackList*/) {
    return 0;
}

std::int32_t MapSourceDocument::WriteMerged(TrackLogDocument& /*source*/,
                                            const std::filesystem::path& /*path*/,
                                            platform::ReplaceMode /*mode*/) {
    m_writeFailureReason = "not built yet";
    return 0;
}

}  // namespace pelagor
