#include "tracklog/TrackLogDocument.h"

#include <string>

namespace pelagor {

std::int32_t TrackLogDocument::ReadWholeFile(const std::filesystem::path& path,
                                             std::unique_ptr<std::uint8_t[]>& data,
                                             std::uint32_t& size, platform::FileError* error) {
    return platform::ReadWholeFileExclusive(path, data, size, error) ? 1 : 0;
}

std::int32_t TrackLogDocument::LoadFile(const std::filesystem::path& path, LineSink* waypointList,
                                        LineSink* trackList) noexcept {
    m_fileError = {};
    std::unique_ptr<std::uint8_t[]> data;
    std::uint32_t size = 0;
    if (ReadWholeFile(path, data, size, &m_fileError) == 0) {
        NoteUnreadable();
        return 0;
    }
    return LoadBytes(std::span<const std::uint8_t>(data.get(), size), waypointList, trackList);
}

void TrackLogDocument::NoteUnreadable() noexcept {
    try {
        m_failureReason = "cannot read the file: " + platform::Describe(m_fileError);
    } catch (...) {
        m_failureReason.assign("cannot read");
    }
}

std::int32_t FailAt(std::string& reason, std::string_view what, std::size_t offset) {
    reason.assign(what);
    reason += " at byte ";
    reason += std::to_string(offset);
    return 0;
}

std::int32_t Fail(std::string& reason, std::string_view what) {
    reason.assign(what);
    return 0;
}

}  // namespace pelagor
