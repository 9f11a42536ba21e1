// The MapSource document: loading a reference, and writing the merged file.

#include <gtest/gtest.h>

#include "AllocationLimit.h"
#include "MpsTestSupport.h"

namespace pelagor::testkit {
namespace {

constexpr std::array<std::uint8_t, 5> kHead{0x0A, 0x0B, 0x0C, 0x0D, 0x0E};

// Header, 3 'W', 1 'T', 2 'L'.
MpsReference SmallReference() {
    MpsReference reference;
    reference.waypoints = {{.name = "FIRST", .midText = "first", .fill = 0x11, .extra = 5},
                           {.name = "CAMP", .midText = "camp", .fill = 0x22},
                           {.name = "LAKE", .midText = "lake", .fill = 0x33}};
    reference.tracks = {
        {"REF",
         kHead,
         {{0, 0, 0.0, 1000, 0x21, 0x22, 0x23}, {1, -1, 10.0, 1001, 0x21, 0x22, 0x23}}}};
    reference.segments = {{11, 22, "one", "b", "c", 33, 44, {}},
                          {11, 22, "two", "b", "c", 33, 44, {1, 2, 3}}};
    return reference;
}

std::unique_ptr<TrackLogDocument> FiveWaypointsTwoTracks() {
    return SourceDocument(
        {{"CAMP", 100, -200, 123.5F, 8246},
         {"HOME", 300, -400, -12.0F, 161},
         {"CAMP", 500, -600, 0.0F, 0},
         {"PEAK", 700, -800, 9999.0F, 106},
         {"HOME", 900, -1000, 1.25F, 65535}},
        {{"ACMORNING", {{1, 2, 3, 4.5F}, {5, 6, 7, 8.5F}, {9, 10, 0, 12.5F}}}, {"ACEVENING", {}}});
}

// Each conversion builds on the reference as loaded, whatever an earlier one did, failed or not.
TEST(MapSourceWrite, GoldenBytesAfterAnotherConversion) {
    // The reference's header and segments; each waypoint on its template (same name before
    // renaming, else the first) cut after its second block, altitude valid; the tracks on the
    // first track, altitudes valid, times valid unless 0, no depth; an empty 'V' record last.
    MpsReference full = SmallReference();
    full.waypoints = {{"CAMP", 100, -200, 123.5, 106, "camp", 0x22},
                      {"HOME", 300, -400, -12.0, 48, "first", 0x11},
                      {"CAMPA", 500, -600, 0.0, 18, "camp", 0x22},
                      {"PEAK", 700, -800, 9999.0, 18, "first", 0x11},
                      {"HOMEA", 900, -1000, 1.25, 18, "first", 0x11}};
    full.tracks = {{"ACMORNING",
                    kHead,
                    {{1, 2, 4.5, 3, 1, 1, 0}, {5, 6, 8.5, 7, 1, 1, 0}, {9, 10, 12.5, 0, 1, 0, 0}}},
                   {"ACEVENING", kHead, {}}};
    full.mapSet = Bytes{0, 1};
    for (MpsWaypoint& waypoint : full.waypoints) {
        waypoint.altitudeValid = 1;
    }
    const TempDir folder;
    auto reference = LoadReference(MpsFile(SmallReference()));
    // Kept, its records would put its names in the templates' places, and its track without
    // points in the track template's.
    auto earlier = SourceDocument({{"CAMP"}, {"CAMP"}}, {{"ACT", {}}});
    EXPECT_EQ(reference->WriteMerged(*earlier, folder / "no such folder" / "out.mps"), 0);
    EXPECT_EQ(NameOf(earlier->waypoints[1].name), "CAMP");  // renamed in the output only
    ASSERT_EQ(reference->WriteMerged(*FiveWaypointsTwoTracks(), folder / "out.mps"), 1)
        << reference->WriteFailureReason();
    EXPECT_EQ(ReadBytes(folder / "out.mps"), MpsFile(full));
}

// A waypoint on a template read by MapSource's structure is that template with the name replaced
// and the values written at its positions. A template of another name lends everything but its
// texts: its description and notes belong to that other waypoint.
TEST(MapSourceWrite, StructureTemplateLendsItsTextsOnlyToItsOwnName) {
    for (const int version : {3, 4}) {
        SCOPED_TRACE(version);
        const MpsRealWaypoint from{"REF",   1, 2,    3.0,      "description", 0x00070030,
                                   version, 0, "TW", "Taipei", "notes"};
        MpsReference file = SmallReference();
        file.firstBody = {static_cast<std::uint8_t>(version == 3 ? 'd' : 'g'), 0};
        file.realWaypoints = {from};
        file.waypoints.clear();
        const TempDir folder;
        auto source =
            SourceDocument({{"LONG NAME1", -5, 6, 7.5F, 8246}, {"REF", 8, 9, 1.0F}}, {{"ACT", {}}});
        ASSERT_EQ(LoadReference(MpsFile(file))->WriteMerged(*source, folder / "out.mps"), 1);
        MpsRealWaypoint other{"LONG NAME1", -5, 6, 7.5, "", 0x0007006A, version, 1, "TW", "Taipei"};
        MpsRealWaypoint own{"REF",   8, 9,    1.0,      "description", 0x00070012,
                            version, 1, "TW", "Taipei", "notes"};
        const auto output = LoadReference(ReadBytes(folder / "out.mps"));
        for (const auto& [index, expected] : {std::pair{0U, other}, std::pair{1U, own}}) {
            const auto body = output->waypointRecords.records[index].Body();
            EXPECT_EQ(Bytes(body.begin(), body.end()), MpsRealWaypointBody(expected)) << index;
        }
        const WaypointDetails& details = output->waypointRecords.Views()[1].details;
        EXPECT_EQ(std::tie(details.country, details.city, details.notes),
                  std::make_tuple("TW", "Taipei", version == 3 ? "" : "notes"));
    }
}

// The small reference cut to its first `w` waypoints, `t` tracks and `s` segments; tracks past
// its own are empty ones.
Bytes Cut(std::size_t w, std::size_t t, std::size_t s) {
    MpsReference reference = SmallReference();
    reference.waypoints.resize(w);
    reference.tracks.resize(t, {"T", {1, 0, 0, 0, 0}, {}});
    reference.segments.resize(s);
    return MpsFile(reference);
}

// Each record is checked as the run is counted: a run is refused at its first bad record, or
// past 9999 tracks, before anything is allocated for it.
TEST(MapSourceLoad, RunsAndFailuresLeaveWhatWasRead) {
    const Bytes twoWaypoints = Cut(2, 0, 0);
    const Bytes waypointsOnly = Cut(3, 0, 0);
    const Bytes oneSegment = Cut(3, 1, 1);
    Bytes lastSegmentCut = Cut(3, 1, 2);  // the last segment passes the end: only the run ends
    lastSegmentCut.pop_back();
    const Bytes late = MpsSegmentBody({});
    const struct {
        const char* name;
        Bytes file;
        std::string reason;  // empty when the file loads
        std::int32_t waypointCount;
        std::int32_t trackCount;
        std::int32_t segmentCount;
        std::uint8_t mapSet = 0;  // the type of the record kept as the map set
    } cases[] = {
        {"no waypoints, tracks and segments", Cut(0, 1, 2), "", 0, 0, 0},
        {"records and stray bytes after the map set",
         Framed(Cut(3, 1, 2), {{'V', {0}}, {'L', late}, {'\0', {}}}), "", 3, 1, 2, 'V'},
        {"last segment cut", lastSegmentCut, "", 3, 1, 1},
        {"9999 tracks", Cut(3, 9999, 2), "", 3, 9999, 2},
        {"bad signature", Bytes{'M', 'S', 'R', 'c', 'd', 0, 1, 0, 0, 0, 'D', 0},
         "not a MapSource file (signature) at byte 0", 0, 0, 0},
        {"no A record", Bytes{'M', 's', 'R', 'c', 'd', 0, 1, 0, 0, 0, 'D', 0, 1, 0, 0, 0, 'W', 0},
         "record 1 ('W') at byte 12: second header record is not an 'A' record", 0, 0, 0},
        {"A record of 1 byte", Framed(Bytes{'M', 's', 'R', 'c', 'd', 0}, {{'D', {1}}, {'A', {7}}}),
         "record 1 ('A') at byte 12: 'A' record shorter than its 2-byte value", 0, 0, 0},
        {"waypoint without name terminator", Framed(twoWaypoints, {{'W', Bytes(60, 'x')}}),
         "record 4 ('W') at byte " + std::to_string(twoWaypoints.size()) +
             ": waypoint name has no terminator",
         0, 0, 0},
        {"track of the wrong length after a route",
         Framed(waypointsOnly, {{'R', {1}}, {'T', MpsTrackBody({"T", {1}, {}, 1})}}),
         "record 6 ('T') at byte " + std::to_string(waypointsOnly.size() + 6) +
             ": track body length does not match its point count",
         3, 0, 0},
        {"segment without its texts", Framed(oneSegment, {{'L', Bytes(8, 1)}}),
         "record 7 ('L') at byte " + std::to_string(oneSegment.size()) +
             ": map segment text has no terminator",
         3, 1, 0},
        {"250000 tiny track records", Framed(Cut(3, 0, 0), {250000, {'T', Bytes(10)}}),
         "record 10004 ('T') at byte " +
             std::to_string(Cut(3, 0, 0).size() + std::size_t{9999} * 15) +
             ": more than 9999 track records",
         3, 0, 0},
        {"250000 one-byte waypoint records", Framed(twoWaypoints, {250000, {'W', {0}}}),
         "record 4 ('W') at byte " + std::to_string(twoWaypoints.size()) +
             ": waypoint body shorter than its 46-byte first block",
         0, 0, 0},
    };
    for (const auto& c : cases) {
        LineCollector lines;
        const AllocationLimit limit(kMebibyte);
        auto document = LoadReference(c.file, c.reason.empty() ? 1 : 0, &lines);
        EXPECT_EQ(document->FailureReason(), c.reason) << c.name;
        EXPECT_EQ(document->waypointCount, c.waypointCount) << c.name;
        EXPECT_EQ(document->trackCount, c.trackCount) << c.name;
        if (c.reason.empty()) {
            EXPECT_EQ(document->segments.recordCount, c.segmentCount) << c.name;
            EXPECT_EQ(lines.lines.size(), static_cast<std::size_t>(c.waypointCount + c.trackCount));
        }
        EXPECT_EQ(document->mapSet.type, c.mapSet) << c.name;
    }
}

TEST(MapSourceWrite, FailuresSayWhyAndLeaveNoFile) {
    const TempDir folder;
    MpsReference badTrack = SmallReference();  // the track's point count disagrees with its body
    badTrack.tracks[0].count = 9;
    const struct {
        const char* name;
        Bytes reference;
        std::string reason;
    } cases[] = {
        {"failed load", MpsFile(badTrack), "the reference file did not load"},
        {"no waypoint record", Cut(0, 1, 2),
         "the reference file has no waypoint record to build waypoints from"},
    };
    for (const auto& c : cases) {
        MapSourceDocument document;
        static_cast<void>(document.LoadBytes(c.reference, nullptr, nullptr));
        auto source = FiveWaypointsTwoTracks();
        EXPECT_EQ(document.WriteMerged(*source, folder / "out.mps"), 0) << c.name;
        EXPECT_EQ(document.WriteFailureReason(), c.reason) << c.name;
        EXPECT_TRUE(folder.Names().empty()) << c.name;
    }
}

// The output's size is known from the templates and the entries before any record is built: 2100
// waypoints on a template of 2 MiB would make 4.4 GB.
TEST(MapSourceWrite, OutputOf4GiBOrMoreIsRefusedBeforeAnyRecordIsBuilt) {
    const TempDir folder;
    MpsReference large = SmallReference();
    large.waypoints = {{.name = "BIG", .midText = std::string(2 * kMebibyte, 'x')}};
    auto reference = LoadReference(MpsFile(large));
    auto source = SourceDocument(std::vector<SampleWaypoint>(2100, {"WP"}), {{"ACT", {}}});
    const AllocationLimit limit(kMebibyte);
    EXPECT_EQ(reference->WriteMerged(*source, folder / "out.mps"), 0);
    EXPECT_TRUE(reference->WriteFailureReason().ends_with(" bytes, 4 GiB or more"))
        << reference->WriteFailureReason();
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
}  // namespace pelagor::testkit
