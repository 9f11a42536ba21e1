// The EVO reader. It checks no signature: any file whose two header counts lie in 1..9999 is
// read as an EVO file. Waypoint records are found by the pattern 00 FF 00 within 256 positions
// of the scan position, track records by the pattern 00 00 'A' 'C' anywhere after it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "bytes/ByteReader.h"
#include "tracklog/Derivations.h"
#include "tracklog/EvoDocument.h"
#include "tracklog/Listing.h"
#include "tracklog/RecordFields.h"

namespace pelagor {
namespace {

constexpr std::size_t kWaypointCountOffset = 32;
constexpr std::size_t kTrackCountOffset = 36;
constexpr std::size_t kFirstRecord = 48;
constexpr std::int64_t kMaxCount = 9999;
constexpr std::size_t kWaypointScanWindow = 256;
constexpr std::size_t kWaypointNameOffset = 52;
constexpr std::size_t kWaypointNameLength = 10;
constexpr std::size_t kTrackNameLookahead = 32;
constexpr std::size_t kPointSize = 24;
constexpr std::array<std::uint8_t, 3> kWaypointPattern{0x00, 0xFF, 0x00};
constexpr std::array<std::uint8_t, 4> kTrackPattern{0x00, 0x00, 'A', 'C'};
static_assert(kWaypointCountOffset + 2 <= platform::kFirstBytesSize,
              "the first rule is decided by the bytes a file is refused by");

// The waypoint count at offset 32; empty when the data ends before it.
std::optional<std::uint16_t> WaypointCountOf(std::span<const std::uint8_t> data) {
    ByteReader header(data);
    return header.Seek(kWaypointCountOffset) ? header.U16le() : std::nullopt;
}

bool PlausibleCount(std::uint16_t count) {
    return count != 0 && count <= kMaxCount;
}

// A name ends at a line feed or a zero byte.
std::optional<std::string_view> LineName(const ByteReader& reader, std::size_t lookahead) {
    return TerminatedName(reader, lookahead, std::string_view("\n\0", 2));
}

std::string RecordText(std::string_view kind, std::size_t index, std::string_view what) {
    return std::string(kind) + " " + std::to_string(index + 1) + ": " + std::string(what);
}

// The first of the 256 positions from `scan` where 00 FF 00 stands, or scan + 256 if none does.
std::size_t FindWaypoint(std::span<const std::uint8_t> data, std::size_t scan) {
    ByteReader probe(data);
    for (std::size_t offset = scan; offset < scan + kWaypointScanWindow; ++offset) {
        if (!probe.Seek(offset) || probe.remaining() < kWaypointPattern.size()) {
            break;
        }
        if (probe.StartsWith(kWaypointPattern)) {
            return offset;
        }
    }
    return scan + kWaypointScanWindow;
}

class EvoReader {
public:
    EvoReader(EvoDocument& document, std::span<const std::uint8_t> data, LineSink* waypointList,
              LineSink* trackList, std::string& reason)
        : m_document(document),
          m_data(data),
          m_waypointList(waypointList),
          m_trackList(trackList),
          m_reason(reason) {}

    std::int32_t Read() {
        const std::optional<std::uint16_t> waypointTotal = WaypointCountOf(m_data);
        if (!waypointTotal) {
            return FailAt(m_reason, "data ends before the waypoint count", kWaypointCountOffset);
        }
        if (!PlausibleCount(*waypointTotal)) {
            return FailAt(m_reason, "waypoint count " + std::to_string(*waypointTotal),
                          kWaypointCountOffset);
        }
        if (!MakeEntries(m_document.waypoints, m_document.waypointCount, *waypointTotal)) {
            return Fail(m_reason, "out of memory for the waypoints");
        }
        for (std::size_t index = 0; index < *waypointTotal; ++index) {
            if (ReadWaypoint(index) == 0) {
                return 0;
            }
        }

        ByteReader header(m_data);
        std::optional<std::uint16_t> trackTotal;
        if (header.Seek(kTrackCountOffset)) {
            trackTotal = header.U16le();
        }
        if (!trackTotal) {
            return FailAt(m_reason, "data ends before the track count", kTrackCountOffset);
        }
        if (!PlausibleCount(*trackTotal)) {
            return FailAt(m_reason, "track count " + std::to_string(*trackTotal),
                          kTrackCountOffset);
        }
        if (!MakeEntries(m_document.tracks, m_document.trackCount, *trackTotal)) {
            return Fail(m_reason, "out of memory for the tracks");
        }
        for (std::size_t index = 0; index < *trackTotal; ++index) {
            if (ReadTrack(index) == 0) {
                return 0;
            }
        }
        return 1;
    }

private:
    // Reads every field before storing, so a record cut off by the end of the data leaves its
    // entry untouched.
    std::int32_t ReadWaypoint(std::size_t index) {
        const std::size_t start = FindWaypoint(m_data, m_scan);
        ByteReader record(m_data);
        const auto runsPast = [&] {
            return FailAt(m_reason,
                          RecordText("waypoint", index, "record runs past the end of the data"),
                          start);
        };
        if (!record.Seek(start) || !record.Skip(24)) {
            return runsPast();
        }
        const auto latitude = record.I32le();
        const auto longitude = record.I32le();
        const auto altitude = record.F32le();
        if (!altitude || !record.Seek(start + kWaypointNameOffset)) {
            return runsPast();
        }
        const auto name = LineName(record, kWaypointNameLength);
        if (!name || !record.Skip(name->size() + kWaypointNameLength)) {
            return runsPast();
        }
        const auto symbol = record.U16le();
        if (!symbol) {
            return runsPast();
        }
        WaypointEntry& waypoint = m_document.waypoints[index];
        SetName(waypoint.name, *name);
        waypoint.latitude = *latitude;
        waypoint.longitude = *longitude;
        waypoint.altitude = WaypointAltitude(*altitude);
        waypoint.symbol = *symbol;
        if (m_waypointList != nullptr) {
            m_waypointList->AppendLine(WaypointLine(waypoint));
        }
        // The next scan starts at this waypoint's name, not after its record.
        m_scan = start + kWaypointNameOffset;
        return 1;
    }

    std::int32_t ReadTrack(std::size_t index) {
        const auto rest = m_data.subspan(std::min(m_scan, m_data.size()));
        const auto found =
            std::search(rest.begin(), rest.end(), kTrackPattern.begin(), kTrackPattern.end());
        if (found == rest.end()) {
            return FailAt(m_reason,
                          RecordText("track", index, "no track record (00 00 'AC') after"), m_scan);
        }
        const std::size_t start = m_scan + static_cast<std::size_t>(found - rest.begin()) + 2;
        TrackEntry& track = m_document.tracks[index];
        ByteReader record(m_data);
        const auto name = record.Seek(start) ? LineName(record, kTrackNameLookahead) : std::nullopt;
        if (!name) {
            return FailAt(m_reason,
                          RecordText("track", index, "data ends before the end of the name"),
                          start);
        }
        SetName(track.name, *name);
        // A name that fills the lookahead is stored cut to 31 characters, and its stored length
        // places the point count.
        const std::size_t nameLength = NameOf(track.name).size();
        const std::size_t countOffset = start + nameLength + 1;
        std::optional<std::int32_t> pointTotal;
        if (record.Seek(countOffset)) {
            pointTotal = record.I32le();
        }
        if (!pointTotal) {
            return FailAt(m_reason, RecordText("track", index, "data ends before the point count"),
                          countOffset);
        }
        if (*pointTotal < 0) {
            return FailAt(
                m_reason,
                RecordText("track", index, "negative point count " + std::to_string(*pointTotal)),
                countOffset);
        }
        // The count is tested against the bytes that remain before anything is allocated, so
        // that no file can ask for more memory than its own size warrants.
        const auto wanted = static_cast<std::uint64_t>(*pointTotal) * kPointSize;
        if (wanted > record.remaining()) {
            return FailAt(m_reason,
                          RecordText("track", index,
                                     "point count " + std::to_string(*pointTotal) + " needs " +
                                         std::to_string(wanted) + " bytes, " +
                                         std::to_string(record.remaining()) + " remain"),
                          countOffset);
        }
        if (!MakeEntries(track.points, track.pointCount, *pointTotal)) {
            return Fail(m_reason, RecordText("track", index, "out of memory for the points"));
        }
        const std::size_t firstPoint = record.position();
        ReadTrackPoints(m_data, firstPoint, kPointSize, track);
        if (m_trackList != nullptr) {
            m_trackList->AppendLine(TrackLine(track));
        }
        m_scan = firstPoint + static_cast<std::size_t>(wanted);
        return 1;
    }

    EvoDocument& m_document;
    std::span<const std::uint8_t> m_data;
    LineSink* m_waypointList;
    LineSink* m_trackList;
    std::string& m_reason;
    std::size_t m_scan = kFirstRecord;  // the forward-only scan position
};

}  // namespace

bool EvoMayRead(std::span<const std::uint8_t> firstBytes) {
    const std::optional<std::uint16_t> count = WaypointCountOf(firstBytes);
    return count && PlausibleCount(*count);
}

std::int32_t EvoDocument::Load(const std::filesystem::path& path, LineSink* waypointList,
                               LineSink* trackList) {
    return LoadFile(path, waypointList, trackList, EvoMayRead);
}

std::int32_t EvoDocument::LoadBytes(std::span<const std::uint8_t> data, LineSink* waypointList,
                                    LineSink* trackList) {
    return RunParse(data, [&](std::span<const std::uint8_t> bytes, std::string& reason) {
        return EvoReader(*this, bytes, waypointList, trackList, reason).Read();
    });
}

}  // namespace pelagor
