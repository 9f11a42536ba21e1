// Real MapSource files, written by an older MapSource version: what each one does.
//
// Their waypoint records end with a 41-byte second block where this system's waypoints carry
// 43 bytes, so every file with waypoints is refused at its first 'W' record. Files without
// waypoints load with no entries, as a reference without waypoints always does.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"

namespace pelagor::testkit {
namespace {

const std::filesystem::path kReal = PELAGOR_REAL_MPS_DIR;

TEST(RealMps, EachFileLoadsOrIsRefusedByTheRules) {
    const std::string shortBlock =
        "record 2 ('W') at byte 45: waypoint body shorter than its 43-byte second block";
    const struct {
        const char* file;
        std::string reason;
        std::int32_t waypointRecords;  // records read before the load ended
    } cases[] = {
        {"mapsource.mps", shortBlock, 9},  // nine geocaches, then a 'V' record
        {"netstumbler.mps", shortBlock, 37},
        {"route.mps", shortBlock, 14},  // the 'R' records after them are never reached
        {"mps-empty.mps", "", 0},       // header and a 'V' record
        {"mps-track.mps", "", 0},       // no waypoint run: its track is not read
    };
    for (const auto& c : cases) {
        MapSourceDocument document;
        LineCollector lines;
        EXPECT_EQ(document.Load(kReal / c.file, &lines, &lines), c.reason.empty() ? 1 : 0);
        EXPECT_EQ(document.FailureReason(), c.reason) << c.file;
        EXPECT_EQ(document.waypointCount + document.trackCount, 0) << c.file;
        EXPECT_TRUE(lines.lines.empty()) << c.file;
        EXPECT_EQ(document.waypointRecords.recordCount, c.waypointRecords) << c.file;
        EXPECT_EQ(document.header.aText1, "SQA") << c.file;

        // None of them can serve as a reference for a conversion.
        TempFolder folder;
        auto source = SourceDocument({{"ONE"}}, {{"TRACK", {{1, 2, 3, 4.0F}}}});
        EXPECT_EQ(document.WriteMerged(*source, folder / "out.mps"), 0) << c.file;
        EXPECT_TRUE(folder.Names().empty()) << c.file;
    }
}

TEST(RealMps, TrackRecordFollowsTheLayoutThisSystemReads) {
    const Bytes file = ReadBytes(kReal / "mps-track.mps");
    ReadCursor cursor(file);
    MpsHeader header;
    ASSERT_TRUE(header.ParseHeader(cursor));
    EXPECT_EQ(header.aText2, "Oct 20 1999");
    TrackRecordList tracks;
    ASSERT_TRUE(tracks.ParseList(cursor));
    ASSERT_EQ(tracks.recordCount, 1);
    EXPECT_EQ(tracks.Views()[0].name, "Track");
    TrackEntry entry;
    ASSERT_TRUE(tracks.GetEntry(0, entry));
    ASSERT_EQ(entry.pointCount, 64);
    EXPECT_NEAR(entry.points[0].latitudeDegrees, 30.062, 0.001);
    EXPECT_NEAR(entry.points[0].longitudeDegrees, -91.610, 0.001);
    EXPECT_EQ(cursor.remaining(), 7U);  // the trailing 'V' record
}

}  // namespace
}  // namespace pelagor::testkit
