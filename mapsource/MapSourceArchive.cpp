#include "mapsource/MapSourceArchive.h"

#include <algorithm>
#include <limits>

#include "mapsource/ArchiveRecords.h"
#include "mapsource/RouteRecords.h"
#include "tracklog/Listing.h"

namespace pelagor {
namespace {

class ArchiveReader {
public:
    explicit ArchiveReader(MapSourceArchive& archive) : m_archive(archive) {}

    // Reads every record after the signature, then resolves the route points.
    void Read(ReadCursor& cursor) {
        for (; !cursor.AtEnd(); ++m_index) {
            m_offset = cursor.position();
            if (cursor.remaining() < kFrameSize) {
                Stop(std::nullopt, "fewer than 5 bytes left for a record frame");
                break;
            }
            const std::uint32_t length = Guaranteed(cursor.U32le());
            const std::uint8_t type = Guaranteed(cursor.U8());
            const auto body = cursor.Bytes(length);
            if (!body) {
                Stop(type, "record length passes the end of the file");
                break;
            }
            ReadRecord(type, *body);
        }
        ResolveRoutePoints(m_archive);
        CountUnnamed();
    }

    // Memory ran out while the record at hand was read.
    void OutOfMemory() noexcept {
        m_archive.complete = false;
        try {
            CountUnnamed();
            m_archive.warnings.push_back(RecordPlace(m_index, std::nullopt, m_offset) +
                                         ": out of memory; reading stops there");
        } catch (...) {
            // The warning is lost, but `complete` still says the archive is not whole.
        }
    }

private:
    void ReadRecord(std::uint8_t type, std::span<const std::uint8_t> body) {
        std::string_view rule;
        switch (type) {
            case 'D':
                if (m_index == 0) {
                    m_archive.format = MpsHeader::FormatOf(type, body);
                    m_archive.version = MpsHeader::VersionOf(type, body);
                }
                return;
            case 'W':
                if (ArchiveWaypoint waypoint;
                    ReadArchiveWaypoint(body, m_archive.version, waypoint, &rule)) {
                    m_archive.waypoints.push_back(std::move(waypoint));
                    return;
                }
                break;
            case 'R':
                if (ArchiveRoute route; ReadArchiveRoute(body, m_archive.version, route, &rule)) {
                    m_archive.routes.push_back(std::move(route));
                    return;
                }
                break;
            case 'T':
                if (ArchiveTrack track; ReadArchiveTrack(body, track, &rule)) {
                    m_archive.tracks.push_back(std::move(track));
                    return;
                }
                break;
            case 'L':
                if (ArchiveMapSegment segment; ReadArchiveSegment(body, segment, &rule)) {
                    m_archive.mapSegments.push_back(std::move(segment));
                    return;
                }
                break;
            case 'V':
                if (std::string name; ReadMapSetName(body, name, &rule)) {
                    if (!m_archive.mapSetName) {
                        m_archive.mapSetName = std::move(name);
                    }
                    return;
                }
                break;
            default:
                return;  // the 'A' record, and records of kinds an archive does not hold
        }
        Skipped(type, rule);
    }

    void Skipped(std::uint8_t type, std::string_view rule) {
        m_archive.complete = false;
        if (m_archive.warnings.size() < kMaxArchiveWarnings) {
            m_archive.warnings.push_back(RecordPlace(m_index, type, m_offset) +
                                         " skipped: " + std::string(rule));
        } else {
            ++m_unnamed;
        }
    }

    void Stop(std::optional<std::uint8_t> type, std::string_view rule) {
        m_archive.complete = false;
        CountUnnamed();
        m_archive.warnings.push_back(RecordPlace(m_index, type, m_offset) + ": " +
                                     std::string(rule) + "; reading stops there");
    }

    // The skipped records past the ones named, counted in one line before anything after them.
    void CountUnnamed() {
        if (m_unnamed > 0) {
            m_archive.warnings.push_back("and " + std::to_string(m_unnamed) +
                                         " more records skipped");
            m_unnamed = 0;
        }
    }

    MapSourceArchive& m_archive;
    std::size_t m_index = 0;  // of the record at hand, counted from the first after the signature
    std::size_t m_offset = 0;
    std::size_t m_unnamed = 0;
};

}  // namespace

std::size_t MapSourceArchive::UserWaypointCount() const {
    return static_cast<std::size_t>(
        std::count_if(waypoints.begin(), waypoints.end(),
                      [](const ArchiveWaypoint& waypoint) { return waypoint.IsUserWaypoint(); }));
}

bool IsMapSourceFile(std::span<const std::uint8_t> firstBytes) {
    return MpsMayRead(firstBytes);
}

bool LoadArchive(std::span<const std::uint8_t> bytes, MapSourceArchive& archive) noexcept {
    archive = MapSourceArchive{};
    ReadCursor cursor(bytes);
    if (!cursor.Skip(kMpsSignature.size()) || !IsMapSourceFile(bytes)) {
        archive.complete = false;
        try {
            archive.warnings.emplace_back("not a MapSource file (signature)");
        } catch (...) {
            // `complete` says enough.
        }
        return false;
    }
    ArchiveReader reader(archive);
    try {
        reader.Read(cursor);
    } catch (...) {
        reader.OutOfMemory();
    }
    return true;
}

std::string ArchiveWaypointLine(const ArchiveWaypoint& waypoint) {
    // Clamped first: a double past the float's range has no float to become.
    constexpr auto kFloatMax = static_cast<double>(std::numeric_limits<float>::max());
    const double altitude =
        waypoint.altitudeValid ? std::clamp(waypoint.altitude, -kFloatMax, kFloatMax) : 0.0;
    return WaypointLine(waypoint.name, static_cast<float>(altitude));
}

std::string ArchiveTrackLine(const ArchiveTrack& track) {
    return TrackLine(track.name, static_cast<std::int64_t>(track.points.size()));
}

}  // namespace pelagor
