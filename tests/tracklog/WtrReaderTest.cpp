// The WTR reader: what a Load leaves behind for each kind of file, its corner cases, and files
// cut off at every length.

#include <gtest/gtest.h>

#include "builder/TrackLogFiles.h"
#include "tracklog/LoadHelpers.h"

namespace pelagor {
namespace {

using testkit::ByteBuilder;
using testkit::Reader;
using testkit::SampleTrack;
using testkit::SampleWaypoint;

const std::vector<SampleWaypoint> kTwoWaypoints{{"WA", 10, 20, 5.0F, 7},
                                                {"WB", -10, -20, 123.4F, 8}};
const SampleTrack kThreePoints{"TR", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}, {9, 10, 11, 12.0F}}};
constexpr std::size_t kTrackStart = testkit::kWtrFirstSlot + 2 * testkit::kWtrSlotSize;

std::vector<std::uint8_t> WithoutHeaderMarker() {
    ByteBuilder file;
    testkit::WtrHead(file);
    for (const auto& waypoint : kTwoWaypoints) {
        testkit::WtrWaypointSlot(file, waypoint);
    }
    testkit::WtrTrackHead(file, false);
    testkit::WtrTrackName(file, kTrackStart, "TR");
    testkit::WtrEndSlot(file);
    return file.Take();
}

std::vector<std::uint8_t> TrackSlotFirst() {
    ByteBuilder file;
    testkit::WtrHead(file);
    const std::vector<std::uint8_t> complete = testkit::WtrFile({}, kThreePoints);
    file.Bytes(std::span(complete).subspan(testkit::kWtrFirstSlot));
    testkit::WtrWaypointSlot(file, kTwoWaypoints[0]);  // after the track slot: never read
    return file.Take();
}

TEST(WtrReaderTest, OutcomeOfEachKindOfFile) {
    std::vector<std::uint8_t> badSignature = testkit::WtrFile(kTwoWaypoints, kThreePoints);
    badSignature[4] = 0xFE;
    const std::vector<std::string> twoLines{"WA   5", "WB 123"};
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::int32_t result;
        std::vector<std::string> waypointLines;
        std::vector<std::string> trackLines;
    } cases[] = {
        {"complete", testkit::WtrFile(kTwoWaypoints, kThreePoints), 1, twoLines, {"TR (3)"}},
        {"signature differs", badSignature, 0, {}, {}},
        {"signature alone", {0xFF, 'W', 'p', 't', 0xFF}, 0, {}, {}},
        {"track slot first, before a complete track", TrackSlotFirst(), 1, {}, {}},
        {"no header marker", WithoutHeaderMarker(), 1, twoLines, {}},
        // An end marker at the first point slot makes an empty but present array.
        {"end marker at the first point slot",
         testkit::WtrFile({{"W"}}, SampleTrack{"T", {}}),
         1,
         {"W   0"},
         {"T (0)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto loaded = testkit::LoadBytes(Reader::Wtr, c.bytes);
        const TrackLogDocument& document = *loaded->document;
        EXPECT_EQ(loaded->result, c.result);
        EXPECT_EQ(document.waypointCount, static_cast<std::int32_t>(c.waypointLines.size()));
        ASSERT_EQ(document.trackCount, static_cast<std::int32_t>(c.trackLines.size()));
        EXPECT_EQ(loaded->waypointLines.lines, c.waypointLines);
        EXPECT_EQ(loaded->trackLines.lines, c.trackLines);
        EXPECT_EQ(document.FailureReason().empty(), c.result != 0);
        EXPECT_FALSE(document.FileUnreadable());
        if (document.trackCount == 1) {
            EXPECT_NE(document.tracks[0].points, nullptr);
        }
    }
}

TEST(WtrReaderTest, WaypointNames) {
    const struct {
        std::vector<std::uint8_t> slotName;  // the first twelve bytes of the slot
        const char* name;
    } cases[] = {
        {{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'}, "ABCDEFGHIJ"},
        {{'W', 'P', '1', 0, 'X', 'Y'}, "WP1"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = testkit::WtrFile({{"x"}}, std::nullopt);
        std::copy(c.slotName.begin(), c.slotName.end(), bytes.begin() + testkit::kWtrFirstSlot);
        const auto loaded = testkit::LoadBytes(Reader::Wtr, bytes);
        ASSERT_EQ(loaded->document->waypointCount, 1);
        EXPECT_EQ(NameOf(loaded->document->waypoints[0].name), c.name);
    }
}

TEST(WtrReaderTest, LongTrackNamesRunIntoThePointSlots) {
    const SampleTrack twenty{"ABCDEFGHIJKLMNOPQRST",
                             {{100, 0x01020304, 300, 1.0F}, {5, 6, 7, 8.0F}}};
    auto loaded = testkit::LoadBytes(Reader::Wtr, testkit::WtrFile({{"W"}}, twenty));
    ASSERT_EQ(loaded->result, 1);
    const TrackEntry& track = loaded->document->tracks[0];
    EXPECT_EQ(NameOf(track.name), twenty.name);
    ASSERT_EQ(track.pointCount, 2);
    // The name's last four characters and its terminator stand where the first point begins.
    EXPECT_EQ(track.points[0].latitude, 0x54535251);  // "QRST"
    EXPECT_EQ(track.points[0].longitude, 0x01020300);
    EXPECT_EQ(track.points[1].latitude, 5);

    const std::string thirtyTwo = "0123456789abcdefghijklmnopqrstuv";
    loaded = testkit::LoadBytes(Reader::Wtr,
                                testkit::WtrFile({{"W"}}, SampleTrack{thirtyTwo, twenty.points}));
    ASSERT_EQ(loaded->result, 1);
    EXPECT_EQ(NameOf(loaded->document->tracks[0].name), thirtyTwo.substr(0, 31));
    EXPECT_EQ(loaded->trackLines.lines, std::vector<std::string>{thirtyTwo.substr(0, 31) + " (2)"});
}

// Cut at every length, a file fails wherever the reader needs bytes that are not there, and
// keeps what it stored before.
TEST(WtrReaderTest, EveryPrefixOfAFile) {
    const std::vector<std::uint8_t> whole = testkit::WtrFile(kTwoWaypoints, kThreePoints);
    using namespace testkit;
    constexpr std::size_t kMarker = 5;
    constexpr std::size_t T = kTrackStart;
    ASSERT_EQ(whole.size(), T + kWtrFirstPointAt + 4 * kWtrPointSlotSize);
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const auto loaded = testkit::LoadBytes(Reader::Wtr, std::span(whole).first(length));
        const TrackLogDocument& document = *loaded->document;
        const bool waypointsStored = length >= T + kMarker;  // the track slot's marker is there
        const bool trackMade = length >= T + kWtrHeaderMarkerAt + kMarker;
        const bool nameStored = length >= T + kWtrTrackNameAt + 3;  // "TR" and its terminator
        const bool complete = length >= T + kWtrFirstPointAt + 3 * kWtrPointSlotSize + kMarker;
        EXPECT_EQ(loaded->result, complete ? 1 : 0);
        EXPECT_EQ(document.FileUnreadable(), length == 0);
        EXPECT_EQ(document.waypointCount, waypointsStored ? 2 : 0);
        EXPECT_EQ(loaded->waypointLines.lines.size(), waypointsStored ? 2U : 0U);
        EXPECT_EQ(document.trackCount, trackMade ? 1 : 0);
        if (trackMade) {
            EXPECT_EQ(NameOf(document.tracks[0].name), nameStored ? "TR" : "");
            EXPECT_EQ(document.tracks[0].pointCount, complete ? 3 : 0);
        }
        EXPECT_EQ(loaded->trackLines.lines.size(), complete ? 1U : 0U);
    }
}

}  // namespace
}  // namespace pelagor
