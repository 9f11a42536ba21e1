#pragma once

// The in-memory form of one GPS file: its waypoints and its tracks. The base class's Load reads
// a WTR file; EvoDocument reads EVO files and MapSourceDocument reads MapSource files.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "platform/FileIo.h"
#include "tracklog/Entries.h"
#include "tracklog/LineSink.h"

namespace pelagor {

// Whether a reader may take a file that begins with `firstBytes` (platform::kFirstBytesSize of
// them, or all of a shorter file): false only when it refuses the file at once, by a rule that
// these bytes decide, whatever follows them.
using FirstBytesRule = bool (*)(std::span<const std::uint8_t> firstBytes);

// A file read for a Load: the whole file, or why it could not be read. When its first bytes were
// refused, it holds those alone: a reader refuses them by the same rule, with the same reason, as
// it would refuse the whole file.
struct FileForLoad {
    std::unique_ptr<std::uint8_t[]> data;
    std::uint32_t size = 0;
    std::array<std::uint8_t, platform::kFirstBytesSize> firstBytes{};
    std::size_t firstSize = 0;
    platform::FileError error;

    [[nodiscard]] bool Readable() const {
        return error.kind == platform::FileErrorKind::None ||
               error.kind == platform::FileErrorKind::Refused;
    }
    [[nodiscard]] std::span<const std::uint8_t> Bytes() const {
        return data ? std::span<const std::uint8_t>(data.get(), size)
                    : std::span<const std::uint8_t>(firstBytes.data(), firstSize);
    }
};

// The WTR reader's first rule: its signature.
bool WtrMayRead(std::span<const std::uint8_t> firstBytes);

class TrackLogDocument {
public:
    TrackLogDocument() = default;
    TrackLogDocument(const TrackLogDocument&) = delete;
    TrackLogDocument& operator=(const TrackLogDocument&) = delete;
    TrackLogDocument(TrackLogDocument&&) = delete;
    TrackLogDocument& operator=(TrackLogDocument&&) = delete;
    virtual ~TrackLogDocument() = default;

    // Reads the file at `path` once, on a freshly made document. Appends one line per stored
    // waypoint to `waypointList` and one per stored track to `trackList`, either of which may be
    // null. Returns 1 on success, 0 on failure; a failed Load keeps what it stored, with every
    // count agreeing with its array, and FailureReason() says why. Never throws.
    virtual std::int32_t Load(const std::filesystem::path& path, LineSink* waypointList,
                              LineSink* trackList);
    // Load's reading of the file's bytes, for bytes already in memory: same results, same rules.
    virtual std::int32_t LoadBytes(std::span<const std::uint8_t> data, LineSink* waypointList,
                                   LineSink* trackList);

    // Reads a whole file into one buffer owned by the caller: one open, one size query, one read.
    // A missing, unreadable or empty file fails, and so does one of 4 GiB or more. On failure
    // neither output is set and nothing stays allocated.
    static std::int32_t ReadWholeFile(const std::filesystem::path& path,
                                      std::unique_ptr<std::uint8_t[]>& data, std::uint32_t& size,
                                      platform::FileError* error = nullptr);
    // Reads a file once for readers whose first rule is `mayRead`: a file that it refuses is not
    // read whole.
    static FileForLoad ReadForLoad(const std::filesystem::path& path,
                                   FirstBytesRule mayRead) noexcept;
    // Load's work on a file already read, with the same results: a file that could not be read
    // fails as unreadable.
    std::int32_t LoadRead(const FileForLoad& file, LineSink* waypointList,
                          LineSink* trackList) noexcept;

    // Why the last Load returned 0, naming the rule and the byte offset ("waypoint count 0 at
    // byte 32"); empty after a success. The document's content does not depend on it.
    [[nodiscard]] const std::string& FailureReason() const { return m_failureReason; }
    // Whether the last Load failed because the file could not be read at all.
    [[nodiscard]] bool FileUnreadable() const {
        return m_fileError.kind != platform::FileErrorKind::None;
    }

    [[nodiscard]] std::span<const WaypointEntry> WaypointSpan() const {
        return {waypoints.get(), static_cast<std::size_t>(waypointCount)};
    }
    [[nodiscard]] std::span<const TrackEntry> TrackSpan() const {
        return {tracks.get(), static_cast<std::size_t>(trackCount)};
    }

    // A count is nonzero only while its array exists, and then equals its length.
    std::int32_t waypointCount = 0;
    std::unique_ptr<WaypointEntry[]> waypoints;
    std::int32_t trackCount = 0;
    std::unique_ptr<TrackEntry[]> tracks;

protected:
    // The frame of every Load: reads the file (not whole when `mayRead`, the reader's first rule,
    // refuses it), hands its bytes to LoadBytes and releases them afterwards, on every path.
    std::int32_t LoadFile(const std::filesystem::path& path, LineSink* waypointList,
                          LineSink* trackList, FirstBytesRule mayRead) noexcept;

    // The frame of every LoadBytes: `parse(bytes, reason)` returns the result and fills `reason`
    // when it fails. Anything thrown inside (no memory) becomes a 0 result.
    template <typename Parse>
    std::int32_t RunParse(std::span<const std::uint8_t> data, Parse&& parse) noexcept {
        m_fileError = {};
        m_failureReason.clear();
        try {
            const std::int32_t result = parse(data, m_failureReason);
            if (result != 0) {
                m_failureReason.clear();
            }
            return result;
        } catch (...) {
            m_failureReason.assign("out of memory");
            return 0;
        }
    }

private:
    platform::FileError m_fileError;
    std::string m_failureReason;
};

// Whether `document` can take part in a conversion, as its source or as its reference: only the
// waypoints decide, so a document whose Load failed after storing waypoints still can.
inline bool CanTakePartInConversion(const TrackLogDocument* document) {
    return document != nullptr && document->waypointCount > 0 && document->waypoints != nullptr;
}

// Text of a failure at a byte offset: "<what> at byte <offset>". Returns 0 for the Load result.
std::int32_t FailAt(std::string& reason, std::string_view what, std::size_t offset);
std::int32_t Fail(std::string& reason, std::string_view what);

}  // namespace pelagor
