#include "tracklog/SourceLoader.h"

#include <new>

#include "tracklog/EvoDocument.h"

namespace pelagor {

bool TrackLogMayRead(std::span<const std::uint8_t> firstBytes) {
    return WtrMayRead(firstBytes) || EvoMayRead(firstBytes);
}

std::int32_t LoadSource(std::unique_ptr<TrackLogDocument>& slot, const std::filesystem::path& path,
                        LineSink* waypointList, LineSink* trackList, SourceLoadReport* report) {
    slot.reset();
    // Read once for both readers; a file that neither may take is not read whole.
    const FileForLoad file = TrackLogDocument::ReadForLoad(path, TrackLogMayRead);
    return LoadSourceRead(slot, file, waypointList, trackList, report);
}

std::int32_t LoadSourceRead(std::unique_ptr<TrackLogDocument>& slot, const FileForLoad& file,
                            LineSink* waypointList, LineSink* trackList, SourceLoadReport* report) {
    slot.reset(new (std::nothrow) TrackLogDocument);
    if (slot && slot->LoadRead(file, waypointList, trackList) != 0) {
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
    const std::int32_t result = slot->LoadRead(file, waypointList, trackList);
    if (result == 0 && report != nullptr) {
        report->evoReason = slot->FailureReason();
    }
    return result;
}

}  // namespace pelagor
