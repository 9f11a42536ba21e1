// Real MapSource files, written by an older MapSource version: what each one does.
//
// Their waypoint records end with a 41-byte second block where this system's waypoints carry
// 43 bytes, so every file with waypoints is refused at its first 'W' record. Files without
// waypoints load with no entries, as a reference without waypoints always does.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"

namespace pelagor::testkit {
namespace {

std::filesystem::path RealFile(const char* name) {
    return std::filesystem::path(PELAGOR_REAL_MPS_DIR) / name;
}

struct RealCase {
    const char* file;
    std::int32_t result;
    std::string reason;
    std::int32_t waypointRecords;  // records read before the load ended
};

TEST(RealMps, EachFileLoadsOrIsRefusedByTheRules) {
    const std::string shortBlock =
        "record 2 ('W') at byte 45: waypoint body shorter than its 43-byte second block";
    const std::vector<RealCase> cases = {
        {"mapsource.mps", 0, shortBlock, 9},  // nine geocaches, then a 'V' record
        {"netstumbler.mps", 0, shortBlock, 37},
        {"route.mps", 0, shortBlock, 14},  // the 'R' records after them are never reached
        {"mps-empty.mps", 1, "", 0},       // header and a 'V' record
        {"mps-track.mps", 1, "", 0},       // no waypoint run: its track is not read
    };
    for (const RealCase& c : cases) {
        MapSourceDocument document;
        LineCollector lines;
        EXPECT_EQ(document.Load(RealFile(c.file), &lines, &lines), c.result) << c.file;
        EXPECT_EQ(document.FailureReason(), c.reason) << c.file;
        EXPECT_EQ(document.waypointCount, 0) << c.file;
        EXPECT_EQ(document.trackCount, 0) << c.file;
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
    const Bytes file = ReadBytes(RealFile("mps-track.mps"));
    ReadCursor cursor(file);
    MpsHeader header;
    ASSERT_TRUE(header.ParseHeader(cursor));
    EXPECT_EQ(header.firstRecord.type, 'D');
    EXPECT_EQ(header.aValue, 0x012E);
    EXPECT_EQ(header.aText2, "Oct 20 1999");
    TrackRecordList tracks;
    ASSERT_TRUE(tracks.ParseList(cursor));
    ASSERT_EQ(tracks.recordCount, 1);
    const TrackRecordView& view = tracks.Views()[0];
    EXPECT_EQ(view.name, "Track");
    EXPECT_EQ(view.pointCount(), 64U);
    EXPECT_EQ(view.trackHeader[0], 1);
    EXPECT_EQ(view.points[8], 1);   // altitude present
    EXPECT_EQ(view.points[17], 1);  // time present
    TrackEntry entry;
    ASSERT_TRUE(tracks.GetEntry(0, entry));
    EXPECT_EQ(entry.pointCount, 64);
    EXPECT_EQ(entry.points[0].latitude, 0x1560A749);
    EXPECT_NEAR(entry.points[0].latitudeDegrees, 30.062, 0.001);
    EXPECT_NEAR(entry.points[0].longitudeDegrees, -91.610, 0.001);
    EXPECT_EQ(cursor.remaining(), 7U);  // the trailing 'V' record
}

}  // namespace
}  // namespace pelagor::testkit
