#pragma once

// What the MapSource tests share: a temporary folder, files written from bytes, and documents
// loaded from built references.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/TrackLogFiles.h"
#include "mapsource/MapSourceDocument.h"
#include "tracklog/Derivations.h"

namespace pelagor::testkit {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() /
                 ("pelagor-mps-" + std::string(info != nullptr ? info->name() : "test") + "-" +
                  std::to_string(counter++));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return m_path / name;
    }
    // Names of the entries in the folder.
    [[nodiscard]] std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),  // NOLINT: bytes to a stream
               static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A reference document loaded from `bytes` through a file, as the dialog loads one.
struct LoadedReference {
    std::unique_ptr<MapSourceDocument> document = std::make_unique<MapSourceDocument>();
    std::int32_t result = 0;
};

inline LoadedReference LoadReference(const TempFolder& folder,
                                     const std::vector<std::uint8_t>& bytes,
                                     LineSink* waypointList = nullptr,
                                     LineSink* trackList = nullptr) {
    LoadedReference loaded;
    const auto path = folder / "reference.mps";
    WriteBytes(path, bytes);
    loaded.result = loaded.document->Load(path, waypointList, trackList);
    return loaded;
}

// A source document made directly from values, as a reader would fill it.
inline std::unique_ptr<TrackLogDocument> SourceDocument(
    const std::vector<SampleWaypoint>& waypoints, const std::vector<SampleTrack>& tracks) {
    auto document = std::make_unique<TrackLogDocument>();
    if (!waypoints.empty()) {
        EXPECT_TRUE(MakeEntries(document->waypoints, document->waypointCount,
                                static_cast<std::int64_t>(waypoints.size())));
    }
    for (std::size_t i = 0; i < waypoints.size(); ++i) {
        WaypointEntry& entry = document->waypoints[i];
        SetName(entry.name, waypoints[i].name);
        entry.latitude = waypoints[i].latitude;
        entry.longitude = waypoints[i].longitude;
        entry.altitude = waypoints[i].altitude;
        entry.symbol = waypoints[i].symbol;
    }
    if (!tracks.empty()) {
        EXPECT_TRUE(MakeEntries(document->tracks, document->trackCount,
                                static_cast<std::int64_t>(tracks.size())));
    }
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        TrackEntry& entry = document->tracks[i];
        SetName(entry.name, tracks[i].name);
        EXPECT_TRUE(MakeEntries(entry.points, entry.pointCount,
                                static_cast<std::int64_t>(tracks[i].points.size())));
        for (std::size_t j = 0; j < tracks[i].points.size(); ++j) {
            const SamplePoint& point = tracks[i].points[j];
            SetTrackPoint(entry.points[j], point.latitude, point.longitude, point.time,
                          point.altitude);
        }
    }
    return document;
}

// A record as the reader holds it, made from a type letter and a body.
inline MpsRecord Record(char type, const std::vector<std::uint8_t>& body) {
    MpsRecord record;
    ByteBuilder frame;
    MpsFrame(frame, type, body);
    ReadCursor cursor(frame.bytes());
    EXPECT_TRUE(ReadRecord(cursor, record));
    return record;
}

// The records of a file, frame by frame: type letter and body.
struct FramedRecord {
    char type;
    std::vector<std::uint8_t> body;
    bool operator==(const FramedRecord&) const = default;
};
inline std::vector<FramedRecord> SplitRecords(const std::vector<std::uint8_t>& file) {
    std::vector<FramedRecord> records;
    ReadCursor cursor(file);
    EXPECT_TRUE(cursor.Skip(6));
    while (!cursor.AtEnd()) {
        const auto length = cursor.U32();
        const auto type = cursor.U8();
        const auto body = length ? cursor.Bytes(*length) : std::nullopt;
        if (!type || !body) {
            ADD_FAILURE() << "broken frame at byte " << cursor.position();
            break;
        }
        records.push_back({static_cast<char>(*type), {body->begin(), body->end()}});
    }
    return records;
}

}  // namespace pelagor::testkit
