#pragma once

// What the MapSource tests share: a temporary folder, files written from bytes, and documents
// made from values.

#include <gtest/gtest.h>

#include <algorithm>
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
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path /= "pelagor-mps-" + std::string(test != nullptr ? test->name() : "") + "-" +
                  std::to_string(counter++);
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    [[nodiscard]] std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path = std::filesystem::temp_directory_path();
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
inline std::unique_ptr<MapSourceDocument> LoadReference(const TempFolder& folder,
                                                        const std::vector<std::uint8_t>& bytes,
                                                        std::int32_t expected = 1,
                                                        LineSink* waypointList = nullptr,
                                                        LineSink* trackList = nullptr) {
    auto document = std::make_unique<MapSourceDocument>();
    WriteBytes(folder / "reference.mps", bytes);
    EXPECT_EQ(document->Load(folder / "reference.mps", waypointList, trackList), expected)
        << document->FailureReason();
    return document;
}

inline std::vector<TrackEntry> TrackEntries(const std::vector<SampleTrack>& tracks) {
    std::vector<TrackEntry> entries(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        SetName(entries[i].name, tracks[i].name);
        EXPECT_TRUE(MakeEntries(entries[i].points, entries[i].pointCount,
                                static_cast<std::int64_t>(tracks[i].points.size())));
        for (std::size_t j = 0; j < tracks[i].points.size(); ++j) {
            const SamplePoint& p = tracks[i].points[j];
            SetTrackPoint(entries[i].points[j], p.latitude, p.longitude, p.time, p.altitude);
        }
    }
    return entries;
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
        std::vector<TrackEntry> entries = TrackEntries(tracks);
        std::move(entries.begin(), entries.end(), document->tracks.get());
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

// A file of frames after `head`.
inline std::vector<std::uint8_t> Framed(const std::vector<std::uint8_t>& head,
                                        const std::vector<std::pair<char, Bytes>>& records) {
    ByteBuilder file;
    file.Bytes(head);
    for (const auto& [type, body] : records) {
        MpsFrame(file, type, body);
    }
    return file.Take();
}

}  // namespace pelagor::testkit
