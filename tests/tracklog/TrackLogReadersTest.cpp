// The WTR and EVO readers: what a Load leaves behind for each kind of file, the EVO header
// counts and record scan, files cut at every length, and the clock, degrees
// and waypoint altitude rule as both apply them. Every Load is checked against the rules the rest
// of the program relies on (the fuzz targets' checks).

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <tuple>

#include "AllocationLimit.h"
#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TempDir.h"
#include "fuzz/DocumentChecks.h"
#include "mapsource/MapSourceDocument.h"
#include "tracklog/EvoDocument.h"
#include "tracklog/SourceLoader.h"

namespace pelagor::testkit {
namespace {

enum class Reader { Wtr, Evo };

struct Loaded {
    std::unique_ptr<TrackLogDocument> document;
    std::int32_t result = 0;
    LineCollector waypointLines;
    LineCollector trackLines;
};

Loaded LoadChecked(Reader reader, std::span<const std::uint8_t> bytes) {
    Loaded loaded;
    loaded.document = reader == Reader::Wtr ? std::make_unique<TrackLogDocument>()
                                            : std::make_unique<EvoDocument>();
    loaded.result = loaded.document->LoadBytes(bytes, &loaded.waypointLines, &loaded.trackLines);
    EXPECT_EQ(fuzzing::BrokenInvariant(*loaded.document, loaded.result, loaded.waypointLines,
                                       loaded.trackLines),
              "");
    return loaded;
}

const std::vector<SampleWaypoint> kTwoWaypoints{{"WA", 10, 20, 5.0F, 7},
                                                {"WB", -10, -20, 123.4F, 8}};
const SampleTrack kThreePoints{"TR", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}, {9, 10, 11, 12.0F}}};

// What each kind of file loads to, and the lines it lists: its waypoints', then its track's.
TEST(WtrReaderTest, OutcomeOfEachKindOfFile) {
    const std::vector<std::uint8_t> complete = WtrFile(kTwoWaypoints, kThreePoints);
    const std::string name31 = "0123456789abcdefghijklmnopqrstu";
    const std::vector<std::uint8_t> longName = WtrFile({{"W"}}, {{name31 + "v", {{}, {5}}}});
    const auto badSignature = ByteBuilder().Bytes(complete).PatchValue(4, '\xFE').Take();
    const auto tenBytes = ByteBuilder()
                              .Bytes(WtrFile({{"x"}, {"y"}}, std::nullopt))
                              .PatchText(kWtrFirstSlot, "ABCDEFGHIJKL")
                              .PatchText(kWtrFirstSlot + kWtrSlotSize, {"WP1\0XY", 6})
                              .Take();
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::int32_t result;
        std::vector<std::string> lines;
    } cases[] = {
        {"complete", complete, 1, {"WA   5", "WB 123", "TR (3)"}},
        {"signature differs", badSignature, 0, {}},
        {"track slot first", WtrFile({}, kThreePoints), 1, {}},
        {"no header marker", WtrFile(kTwoWaypoints, std::nullopt), 1, {"WA   5", "WB 123"}},
        {"names of ten bytes, or up to a zero", tenBytes, 1, {"ABCDEFGHIJ   0", "WP1   0"}},
        // An end marker at the first point slot makes an empty but present array.
        {"end marker at the first point", WtrFile({{"W"}}, {{"T", {}}}), 1, {"W   0", "T (0)"}},
        // Names of 16 characters or more run into the first point slot; 31 at most are read.
        {"long track name", longName, 1, {"W   0", name31 + " (2)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded loaded = LoadChecked(Reader::Wtr, c.bytes);
        std::vector<std::string>& lines = loaded.waypointLines.lines;
        lines.insert(lines.end(), loaded.trackLines.lines.begin(), loaded.trackLines.lines.end());
        EXPECT_EQ(loaded.result, c.result);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(loaded.document->FailureReason().empty(), c.result != 0);
    }
}

// Cut at every length, a file fails wherever the reader needs bytes that are not there, and
// keeps what it stored before.
TEST(WtrReaderTest, EveryPrefixOfAFile) {
    const std::vector<std::uint8_t> whole = WtrFile(kTwoWaypoints, kThreePoints);
    constexpr std::size_t kMarker = 5;
    constexpr std::size_t kTrack = kWtrFirstSlot + 2 * kWtrSlotSize;
    ASSERT_EQ(whole.size(), kTrack + kWtrFirstPointAt + 4 * kWtrPointSlotSize);
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const Loaded loaded = LoadChecked(Reader::Wtr, std::span(whole).first(length));
        const TrackLogDocument& document = *loaded.document;
        const bool waypointsStored = length >= kTrack + kMarker;  // the track slot's marker
        const bool trackMade = length >= kTrack + kWtrHeaderMarkerAt + kMarker;
        const bool nameStored = length >= kTrack + kWtrTrackNameAt + 3;  // "TR" and its terminator
        const bool complete = length >= kTrack + kWtrFirstPointAt + 3 * kWtrPointSlotSize + kMarker;
        EXPECT_EQ(loaded.result, complete ? 1 : 0);
        EXPECT_EQ(loaded.waypointLines.lines.size(), waypointsStored ? 2U : 0U);
        EXPECT_EQ(document.waypointCount, waypointsStored ? 2 : 0);
        ASSERT_EQ(document.trackCount, trackMade ? 1 : 0);
        if (trackMade) {
            EXPECT_EQ(NameOf(document.tracks[0].name), nameStored ? "TR" : "");
            EXPECT_EQ(document.tracks[0].pointCount, complete ? 3 : 0);
        }
        EXPECT_EQ(loaded.trackLines.lines.size(), complete ? 1U : 0U);
    }
}

class ReaderDerivationsTest : public ::testing::TestWithParam<Reader> {};

TEST_P(ReaderDerivationsTest, PointsAndWaypointsCarryTheirDerivedValues) {
    const struct {
        std::uint32_t time;
        std::int32_t hour, minute, second;
        std::int32_t semicircles;
        double degrees;
    } points[] = {
        {0, 8, 0, 0, 0, 0.0},
        {57600, 0, 0, 0, 1073741824, 90.00000033527613},
        {86399, 7, 59, 59, -1073741824, -90.00000033527613},
        {4294967295U, 14, 28, 15, std::numeric_limits<std::int32_t>::min(), -180.00000067055225},
    };
    // A track point keeps any altitude; a waypoint's above 9999 is "none", stored as 0.
    const struct {
        float file, stored;
        const char* line;
    } waypoints[] = {{9999.0F, 9999.0F, "A 9999"},
                     {9999.5F, 0.0F, "A   0"},
                     {std::numeric_limits<float>::infinity(), 0.0F, "A   0"},
                     {-12.0F, -12.0F, "A -12"}};
    SampleTrack track{"ACT", {}};
    for (const auto& p : points) {
        track.points.push_back({p.semicircles, 0, p.time, 12000.0F});
    }
    std::vector<SampleWaypoint> sampleWaypoints;
    for (const auto& w : waypoints) {
        sampleWaypoints.push_back({"A", 1, 2, w.file, 3});
    }
    const Loaded loaded =
        LoadChecked(GetParam(), GetParam() == Reader::Wtr ? WtrFile(sampleWaypoints, track)
                                                          : EvoFile(sampleWaypoints, {track}));
    ASSERT_EQ(loaded.result, 1);
    const TrackEntry& entry = loaded.document->tracks[0];
    ASSERT_EQ(entry.pointCount, static_cast<std::int32_t>(std::size(points)));
    for (std::size_t i = 0; i < std::size(points); ++i) {
        const TrackPoint& point = entry.points[i];
        EXPECT_EQ(
            std::tie(point.latitudeDegrees, point.hour, point.minute, point.second, point.altitude),
            std::tuple(points[i].degrees, points[i].hour, points[i].minute, points[i].second,
                       12000.0F))
            << i;
    }
    ASSERT_EQ(loaded.waypointLines.lines.size(), std::size(waypoints));
    for (std::size_t i = 0; i < std::size(waypoints); ++i) {
        EXPECT_EQ(loaded.document->waypoints[i].altitude, waypoints[i].stored) << i;
        EXPECT_EQ(loaded.waypointLines.lines[i], waypoints[i].line);
    }
}

INSTANTIATE_TEST_SUITE_P(BothReaders, ReaderDerivationsTest,
                         ::testing::Values(Reader::Wtr, Reader::Evo), [](const auto& param) {
                             return param.param == Reader::Wtr ? "wtr" : "evo";
                         });

const std::vector<SampleTrack> kTwoTracks{{"ACA", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}}}, {"ACB", {}}};

TEST(EvoReaderTest, HeaderCounts) {
    const struct {
        std::uint16_t waypoints, tracks;
        const char* reason;
    } cases[] = {
        {0, 2, "waypoint count 0 at byte 32"},
        {10000, 2, "waypoint count 10000 at byte 32"},
        {2, 0, "track count 0 at byte 36"},
        {2, 10000, "track count 10000 at byte 36"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.waypoints << " waypoints, " << c.tracks << " tracks");
        ByteBuilder file;
        file.Bytes(EvoFile(kTwoWaypoints, kTwoTracks))
            .PatchValue(kEvoWaypointCountAt, c.waypoints)
            .PatchValue(kEvoTrackCountAt, c.tracks);
        const Loaded loaded = LoadChecked(Reader::Evo, file.bytes());
        EXPECT_EQ(loaded.result, 0);
        EXPECT_EQ(loaded.waypointLines.lines.size(), c.waypoints == 2 ? 2U : 0U);
        EXPECT_EQ(loaded.document->FailureReason(), c.reason);
    }
}

TEST(EvoReaderTest, AcceptsTheLargestCounts) {
    const SampleLog log = LargeEvoLog(9999, 9999, 0);
    const Loaded loaded = LoadChecked(Reader::Evo, EvoBytes(log));
    ASSERT_EQ(loaded.result, 1) << loaded.document->FailureReason();
    EXPECT_EQ(NameOf(loaded.document->waypoints[9998].name), log.waypoints.back().name);
    EXPECT_EQ(loaded.trackLines.lines.back(), log.tracks.back().name + " (0)");
}

// The pattern 00 FF 00 is sought within 256 positions of kFirst, the record read from where it
// stands or else from kFirst + 256; the name ends at a line feed or a zero byte, after ten bytes at
// the latest, and the symbol stands right after it.
TEST(EvoReaderTest, WaypointScanAndNames) {
    constexpr std::size_t kFirst = kEvoFirstRecord;
    const struct {
        std::optional<std::size_t> patternAt;
        std::size_t recordAt;
        std::string_view bytes;
        std::string_view name;
        std::size_t symbolAt;  // from the record
    } cases[] = {
        {kFirst, kFirst, "WP1\n", "WP1", 65},
        {kFirst + 255, kFirst + 255, "WP1\n", "WP1", 65},
        {std::nullopt, kFirst + 256, "WP1\n", "WP1", 65},
        {kFirst + 300, kFirst + 256, "WP1\n", "WP1", 65},
        {kFirst, kFirst, {"WP\0X\n", 5}, "WP", 64},
        {kFirst, kFirst, "ABCDEFGHIJ", "ABCDEFGHIJ", 72},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recordAt << " " << c.name);
        ByteBuilder file;
        EvoHeader(file, 1, 1);
        file.PadTo(c.recordAt + 80, 0xEE);
        if (c.patternAt) {
            file.PatchText(*c.patternAt, {"\0\xFF\0", 3});
        }
        file.PatchValue(c.recordAt + kEvoLatitudeAt, std::int32_t{0x01020304})
            .PatchValue(c.recordAt + kEvoLatitudeAt + 8, 42.0F)
            .PatchText(c.recordAt + kEvoNameAt, c.bytes)
            .PatchValue(c.recordAt + c.symbolAt, std::uint16_t{0x4321});
        EvoTrackRecord(file, {"ACT", {}});
        const Loaded loaded = LoadChecked(Reader::Evo, file.bytes());
        ASSERT_EQ(loaded.result, 1) << loaded.document->FailureReason();
        const WaypointEntry& waypoint = loaded.document->waypoints[0];
        EXPECT_EQ(std::make_tuple(NameOf(waypoint.name), waypoint.latitude, waypoint.altitude,
                                  waypoint.symbol),
                  std::make_tuple(c.name, 0x01020304, 42.0F, 0x4321));
    }
}

// Cut at every length, a file fails wherever the reader needs bytes that are not there, and
// keeps what it stored before; no waypoint or track is half stored.
TEST(EvoReaderTest, EveryPrefixOfAFile) {
    ByteBuilder file;
    EvoHeader(file, 2, 2);
    std::vector<std::size_t> waypointEnds;
    for (const auto& waypoint : kTwoWaypoints) {
        EvoWaypointRecord(file, waypoint);
        waypointEnds.push_back(file.size());
    }
    std::vector<std::size_t> nameEnds;
    std::vector<std::size_t> trackEnds;
    for (const auto& track : kTwoTracks) {
        nameEnds.push_back(file.size() + 2 + track.name.size() + 1);
        EvoTrackRecord(file, track);
        trackEnds.push_back(file.size());
    }
    const std::vector<std::uint8_t> whole = file.Take();

    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const Loaded loaded = LoadChecked(Reader::Evo, std::span(whole).first(length));
        const TrackLogDocument& document = *loaded.document;
        const auto storedWaypoints = static_cast<std::size_t>(std::count_if(
            waypointEnds.begin(), waypointEnds.end(), [&](auto end) { return length >= end; }));
        EXPECT_EQ(loaded.result, length >= whole.size() ? 1 : 0);
        EXPECT_EQ(document.waypointCount, length >= kEvoWaypointCountAt + 2 ? 2 : 0);
        ASSERT_EQ(loaded.waypointLines.lines.size(), storedWaypoints);
        for (std::size_t index = 0; document.waypointCount == 2 && index < 2; ++index) {
            EXPECT_EQ(NameOf(document.waypoints[index].name),
                      index < storedWaypoints ? kTwoWaypoints[index].name : "");
        }
        ASSERT_EQ(document.trackCount, storedWaypoints == 2 ? 2 : 0);
        std::size_t completeTracks = 0;
        for (std::size_t index = 0; index < static_cast<std::size_t>(document.trackCount);
             ++index) {
            const TrackEntry& track = document.tracks[index];
            const bool reached = index == 0 || length >= trackEnds[index - 1];
            const bool complete = reached && length >= trackEnds[index];
            completeTracks += complete ? 1 : 0;
            EXPECT_EQ(NameOf(track.name),
                      reached && length >= nameEnds[index] ? kTwoTracks[index].name : "");
            EXPECT_EQ(track.pointCount,
                      complete ? static_cast<std::int32_t>(kTwoTracks[index].points.size()) : 0);
        }
        EXPECT_EQ(loaded.trackLines.lines.size(), completeTracks);
    }
}

// A file that none of the readers that may read it can take is refused by its first bytes, with
// their reasons, before it is read whole: 4 GiB - 1 of zeros is neither a log nor a reference.
TEST(FirstBytesTest, FileNoReaderTakesIsNotReadWhole) {
    const TempDir folder;
    const std::filesystem::path zeros = folder.Write("zeros", {});
    std::filesystem::resize_file(zeros, 0xFFFFFFFFU);
    const AllocationLimit limit(kMebibyte);
    std::unique_ptr<TrackLogDocument> source;
    SourceLoadReport report;
    EXPECT_EQ(LoadSource(source, zeros, nullptr, nullptr, &report), 0);
    EXPECT_EQ(report.wtrReason + "; " + report.evoReason,
              "not a WTR file (signature); waypoint count 0 at byte 32");
    MapSourceDocument reference;
    EXPECT_EQ(reference.Load(zeros, nullptr, nullptr), 0);
    EXPECT_EQ(reference.FailureReason(), "not a MapSource file (signature) at byte 0");
}

TEST(SamplesTest, ExamplesAreTheGeneratorsOutput) {
    const std::filesystem::path kExamples = PELAGOR_EXAMPLES_DIR;
    EXPECT_TRUE(ReadBytes(kExamples / "sample.wtr") == WtrBytes(SampleWtrLog()));
    EXPECT_TRUE(ReadBytes(kExamples / "sample.evo") == EvoBytes(SampleEvoLog()));
    EXPECT_TRUE(ReadBytes(kExamples / "reference.mps") == MpsFile(SampleReference()));
}

}  // namespace
}  // namespace pelagor::testkit
