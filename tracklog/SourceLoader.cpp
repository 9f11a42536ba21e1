#include "tracklog/SourceLoader.h"

#include <new>

#include "tracklog/EvoDocument.h"

namespace pelagor {

std::int32_t LoadSource(std::unique_ptr<TrackLogDocument>& slot, const std::filesystem::path& path,
                        LineSink* waypointList, LineSink* trackList, SourceLoadReport* report) {
    slot.reset();
    slot.reset(new (std::nothrow) TrackLogDocument);
    if (slot && slot->Load(path, waypointList, trackList) != 0) {
        return 1;
    }
    if (report != nullptr && slot) {
        report->wtrReason = slot->FailureReason();
    }
    slot.reset();
    slot.reset(new (std::nothrow) EvoDocument);
    if (!slot) {
        return 0;
    }
    const std::int32_t result = slot->Load(path, waypointList, trackList);
    if (result == 0 && report != nullptr) {
        report->evoReason = slot->FailureReason();
    }
    return result;
}

}  // namespace pelagor
