// The WTR reader: what a Load leaves behind for each kind of file, and files cut at every length.

#include <gtest/gtest.h>

#include "builder/TempDir.h"
#include "builder/TrackLogFiles.h"
#include "tracklog/LoadHelpers.h"

namespace pelagor::testkit {
namespace {

const std::vector<SampleWaypoint> kTwoWaypoints{{"WA", 10, 20, 5.0F, 7},
                                                {"WB", -10, -20, 123.4F, 8}};
const SampleTrack kThreePoints{"TR", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}, {9, 10, 11, 12.0F}}};

TEST(WtrReaderTest, OutcomeOfEachKindOfFile) {
    const std::vector<std::uint8_t> complete = WtrFile(kTwoWaypoints, kThreePoints);
    const std::vector<std::string> twoLines{"WA   5", "WB 123"};
    const std::string name31 = "0123456789abcdefghijklmnopqrstu";
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::int32_t result;
        std::vector<std::string> waypointLines;
        std::vector<std::string> trackLines;
    } cases[] = {
        {"complete", complete, 1, twoLines, {"TR (3)"}},
        {"signature differs",
         ByteBuilder().Bytes(complete).PatchValue(4, '\xFE').Take(),
         0,
         {},
         {}},
        {"track slot first", WtrFile({}, kThreePoints), 1, {}, {}},
        {"no header marker", WtrFile(kTwoWaypoints, std::nullopt), 1, twoLines, {}},
        {"waypoint names of ten bytes, or up to a zero",
         ByteBuilder()
             .Bytes(WtrFile({{"x"}, {"y"}}, std::nullopt))
             .PatchText(kWtrFirstSlot, "ABCDEFGHIJKL")
             .PatchText(kWtrFirstSlot + kWtrSlotSize, {"WP1\0XY", 6})
             .Take(),
         1,
         {"ABCDEFGHIJ   0", "WP1   0"},
         {}},
        // An end marker at the first point slot makes an empty but present array.
        {"end marker at the first point slot",
         WtrFile({{"W"}}, SampleTrack{"T", {}}),
         1,
         {"W   0"},
         {"T (0)"}},
        // Names of 16 characters or more run into the first point slot; 31 at most are read.
        {"long track name",
         WtrFile({{"W"}}, SampleTrack{name31 + "v", {{}, {5}}}),
         1,
         {"W   0"},
         {name31 + " (2)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Loaded loaded = LoadBytes(Reader::Wtr, c.bytes);
        EXPECT_EQ(loaded.result, c.result);
        EXPECT_EQ(loaded.waypointLines.lines, c.waypointLines);
        EXPECT_EQ(loaded.trackLines.lines, c.trackLines);
        EXPECT_EQ(loaded.document->FailureReason().empty(), c.result != 0);
    }
}

// Only a file can be unreadable: an empty one is, bytes that end early are not.
TEST(WtrReaderTest, EmptyFileIsUnreadable) {
    const TempDir folder;
    TrackLogDocument document;
    EXPECT_EQ(document.Load(folder.Write("empty.wtr", {}), nullptr, nullptr), 0);
    EXPECT_TRUE(document.FileUnreadable());
}

// Cut at every length, a file fails wherever the reader needs bytes that are not there, and
// keeps what it stored before.
TEST(WtrReaderTest, EveryPrefixOfAFile) {
    const std::vector<std::uint8_t> whole = WtrFile(kTwoWaypoints, kThreePoints);
    constexpr std::size_t kMarker = 5;
    constexpr std::size_t T = kWtrFirstSlot + 2 * kWtrSlotSize;
    ASSERT_EQ(whole.size(), T + kWtrFirstPointAt + 4 * kWtrPointSlotSize);
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const Loaded loaded = LoadBytes(Reader::Wtr, std::span(whole).first(length));
        const TrackLogDocument& document = *loaded.document;
        const bool waypointsStored = length >= T + kMarker;  // the track slot's marker is there
        const bool trackMade = length >= T + kWtrHeaderMarkerAt + kMarker;
        const bool nameStored = length >= T + kWtrTrackNameAt + 3;  // "TR" and its terminator
        const bool complete = length >= T + kWtrFirstPointAt + 3 * kWtrPointSlotSize + kMarker;
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

}  // namespace
}  // namespace pelagor::testkit
