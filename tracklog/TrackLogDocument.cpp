#include "tracklog/TrackLogDocument.h"

#include <algorithm>
#include <string>

namespace pelagor {

std::int32_t TrackLogDocument::ReadWholeFile(const std::filesystem::path& path,
                                             std::unique_ptr<std::uint8_t[]>& data,
                                             std::uint32_t& size, platform::FileError* error) {
    return platform::ReadWholeFileExclusive(path, data, size, error) ? 1 : 0;
}

FileForLoad TrackLogDocument::ReadForLoad(const std::filesystem::path& path,
                                          FirstBytesRule mayRead) noexcept {
    FileForLoad file;
    // Kept, so that a reader can refuse them as it would the whole file.
    const auto keepAndCheck = [&file, mayRead](std::span<const std::uint8_t> firstBytes) {
        std::copy(firstBytes.begin(), firstBytes.end(), file.firstBytes.begin());
        file.firstSize = firstBytes.size();
        return mayRead(firstBytes);
    };
    static_cast<void>(
        platform::ReadWholeFileExclusive(path, file.data, file.size, &file.error, keepAndCheck));
    return file;
}

std::int32_t TrackLogDocument::LoadRead(const FileForLoad& file, LineSink* waypointList,
                                        LineSink* trackList) noexcept {
    if (file.Readable()) {
        return LoadBytes(file.Bytes(), waypointList, trackList);
    }
    m_fileError = file.error;
    try {
        m_failureReason = "cannot read the file: " + platform::Describe(m_fileError);
    } catch (...) {
        m_failureReason.assign("cannot read");
    }
    return 0;
}

std::int32_t TrackLogDocument::LoadFile(const std::filesystem::path& path, LineSink* waypointList,
                                        LineSink* trackList, FirstBytesRule mayRead) noexcept {
    return LoadRead(ReadForLoad(path, mayRead), waypointList, trackList);
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
