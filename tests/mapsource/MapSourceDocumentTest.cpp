// The MapSource document: loading a reference, and writing the merged file.

#include <gtest/gtest.h>

#include "MpsTestSupport.h"
#include "builder/Samples.h"
#include "tracklog/SourceLoader.h"

namespace pelagor::testkit {
namespace {

MpsWaypoint Wpt(std::string name, std::string midText = "", std::uint8_t fill = 0,
                std::int32_t latitude = 0, std::int32_t longitude = 0, double altitude = 0.0,
                std::uint16_t symbol = 18) {
    MpsWaypoint waypoint;
    waypoint.name = std::move(name);
    waypoint.midText = std::move(midText);
    waypoint.fill = fill;
    waypoint.latitude = latitude;
    waypoint.longitude = longitude;
    waypoint.altitude = altitude;
    waypoint.symbol = symbol;
    return waypoint;
}

MpsTrack Track(std::string name, std::size_t points,
               std::array<std::uint8_t, 5> head = {1, 0, 0, 0, 0}) {
    MpsTrack track;
    track.name = std::move(name);
    track.head = head;
    for (std::size_t i = 0; i < points; ++i) {
        const auto step = static_cast<std::int32_t>(i);
        track.points.push_back({step, -step, 10.0 * static_cast<double>(i),
                                1000U + static_cast<std::uint32_t>(i), 0x21, 0x22, 0x23});
    }
    return track;
}

MpsSegment Segment(std::string text, Bytes extra = {}) {
    return {11, 22, std::move(text), "b", "c", 33, 44, std::move(extra)};
}

// Header, 3 'W', 1 'T', 2 'L'.
MpsReference SmallReference() {
    MpsReference reference;
    reference.waypoints = {Wpt("FIRST", "first", 0x11), Wpt("CAMP", "camp", 0x22),
                           Wpt("LAKE", "lake", 0x33)};
    reference.tracks = {Track("REF", 2, {0x0A, 0x0B, 0x0C, 0x0D, 0x0E})};
    reference.segments = {Segment("one"), Segment("two", {1, 2, 3})};
    return reference;
}

std::vector<SampleWaypoint> FiveWaypoints() {
    return {{"CAMP", 100, -200, 123.5F, 8246},
            {"HOME", 300, -400, -12.0F, 161},
            {"CAMP", 500, -600, 0.0F, 0},
            {"PEAK", 700, -800, 9999.0F, 106},
            {"HOME", 900, -1000, 1.25F, 18}};
}

std::vector<SampleTrack> TwoTracks() {
    return {{"MORNING", {{1, 2, 3, 4.5F}, {5, 6, 7, 8.5F}, {9, 10, 11, 12.5F}}}, {"EVENING", {}}};
}

TEST(MapSourceWrite, GoldenBytesHeaderWaypointsTracksSegments) {
    TempFolder folder;
    const MpsReference reference = SmallReference();
    auto loaded = LoadReference(folder, MpsFile(reference));
    ASSERT_EQ(loaded.result, 1) << loaded.document->FailureReason();
    auto source = SourceDocument(FiveWaypoints(), TwoTracks());
    const auto out = folder / "out.mps";
    ASSERT_EQ(loaded.document->WriteMerged(*source, out), 1)
        << loaded.document->WriteFailureReason();

    // What the output must be, built as a file of its own: the reference's header and segments,
    // each waypoint on its template (same name, else the first), the tracks on the first track.
    MpsReference expected = reference;
    expected.waypoints = {Wpt("CAMP", "camp", 0x22, 100, -200, 123.5, 106),
                          Wpt("HOME", "first", 0x11, 300, -400, -12.0, 48),
                          Wpt("CAMPA", "camp", 0x22, 500, -600, 0.0, 18),
                          Wpt("PEAK", "first", 0x11, 700, -800, 9999.0, 18),
                          Wpt("HOMEA", "first", 0x11, 900, -1000, 1.25, 18)};
    MpsTrack morning = Track("MORNING", 0, {0x0A, 0x0B, 0x0C, 0x0D, 0x0E});
    morning.points = {{1, 2, 4.5, 3, 0x21, 0x22, 0x23},
                      {5, 6, 8.5, 7, 0x21, 0x22, 0x23},
                      {9, 10, 12.5, 11, 0x21, 0x22, 0x23}};
    expected.tracks = {morning, Track("EVENING", 0, {0x0A, 0x0B, 0x0C, 0x0D, 0x0E})};
    const Bytes written = ReadBytes(out);
    EXPECT_EQ(written, MpsFile(expected));

    const auto records = SplitRecords(written);
    std::string order;
    std::size_t size = 6;
    for (const FramedRecord& record : records) {
        order += record.type;
        size += 5 + record.body.size();
    }
    EXPECT_EQ(order, "DAWWWWWTTLL");
    EXPECT_EQ(written.size(), size);
    // The source keeps the renamed names; the reference's own entries do not change.
    EXPECT_EQ(NameOf(source->waypoints[2].name), "CAMPA");
    EXPECT_EQ(loaded.document->waypointCount, 3);
    EXPECT_EQ(NameOf(loaded.document->waypoints[1].name), "CAMP");
}

TEST(MapSourceWrite, SourceWithoutTracksPutsSegmentsAfterTheWaypoints) {
    TempFolder folder;
    auto loaded = LoadReference(folder, MpsFile(SmallReference()));
    ASSERT_EQ(loaded.result, 1);
    auto source = SourceDocument({{"ONE"}}, {});
    ASSERT_EQ(loaded.document->WriteMerged(*source, folder / "out.mps"), 1);
    const auto records = SplitRecords(ReadBytes(folder / "out.mps"));
    ASSERT_EQ(records.size(), 5U);
    EXPECT_EQ(records[2].type, 'W');
    EXPECT_EQ(records[3], (FramedRecord{'L', MpsSegmentBody(Segment("one"))}));
    EXPECT_EQ(records[4], (FramedRecord{'L', MpsSegmentBody(Segment("two", {1, 2, 3}))}));
}

TEST(MapSourceWrite, RecordsBuiltByOneWriteAreTheTemplatesOfTheNext) {
    TempFolder folder;
    auto loaded = LoadReference(folder, MpsFile(SmallReference()));
    ASSERT_EQ(loaded.result, 1);
    auto source = SourceDocument(FiveWaypoints(), TwoTracks());
    ASSERT_EQ(loaded.document->WriteMerged(*source, folder / "first.mps"), 1);
    ASSERT_EQ(loaded.document->WriteMerged(*source, folder / "second.mps"), 1);
    EXPECT_EQ(ReadBytes(folder / "first.mps"), ReadBytes(folder / "second.mps"));
}

TEST(MapSourceLoad, CountsEntriesAndLines) {
    TempFolder folder;
    MpsReference reference = SmallReference();
    reference.waypoints = {Wpt("HOME", "", 0, 1, 2, 123.4), Wpt("FULL", "", 0, 3, 4, 9999.0),
                           Wpt("HIGH", "", 0, 5, 6, 9999.5, 48)};
    reference.tracks = {Track("TRACK", 250), Track("", 0)};
    LineCollector waypointLines;
    LineCollector trackLines;
    auto loaded = LoadReference(folder, MpsFile(reference), &waypointLines, &trackLines);
    ASSERT_EQ(loaded.result, 1) << loaded.document->FailureReason();
    const MapSourceDocument& document = *loaded.document;
    EXPECT_EQ(document.waypointCount, 3);
    EXPECT_EQ(document.trackCount, 2);
    EXPECT_EQ(document.segments.recordCount, 2);
    EXPECT_EQ(waypointLines.lines, (std::vector<std::string>{"HOME 123", "FULL 9999", "HIGH   0"}));
    EXPECT_EQ(trackLines.lines, (std::vector<std::string>{"TRACK (250)", " (0)"}));
    EXPECT_FLOAT_EQ(document.waypoints[2].altitude, 9999.5F);  // the entry keeps its altitude
    EXPECT_EQ(document.waypoints[2].symbol, 48);
    EXPECT_EQ(document.tracks[0].pointCount, 250);
    EXPECT_EQ(document.tracks[0].points[249].time, 1249U);
    EXPECT_TRUE(document.FailureReason().empty());
}

struct LoadCase {
    const char* name;
    Bytes file;
    std::int32_t result;
    std::string reason;
    std::int32_t waypointCount;
    std::int32_t trackCount;
    std::int32_t segmentCount;
};

Bytes Framed(const MpsReference& reference, const std::vector<std::pair<char, Bytes>>& after) {
    ByteBuilder file;
    file.Bytes(MpsFile(reference));
    for (const auto& [type, body] : after) {
        MpsFrame(file, type, body);
    }
    return file.Take();
}

TEST(MapSourceLoad, RunsAndFailuresLeaveWhatWasRead) {
    MpsReference noWaypoints = SmallReference();
    noWaypoints.waypoints.clear();
    MpsReference waypointsOnly = SmallReference();
    waypointsOnly.tracks.clear();
    waypointsOnly.segments.clear();
    MpsReference noTracks = SmallReference();
    noTracks.tracks.clear();
    MpsReference header = SmallReference();
    header.waypoints.clear();
    header.tracks.clear();
    header.segments.clear();
    const std::size_t headerSize = MpsFile(header).size();
    const std::size_t firstWaypoint = 5 + MpsWaypointBody(SmallReference().waypoints[0]).size();

    // Broken bodies placed at known records: the third 'W', the 'T', the second 'L'.
    MpsReference badWaypoint = SmallReference();
    Bytes brokenW;
    {
        ByteBuilder file;
        file.Bytes(MpsFile(header));
        MpsFrame(file, 'W', MpsWaypointBody(badWaypoint.waypoints[0]));
        MpsFrame(file, 'W', MpsWaypointBody(badWaypoint.waypoints[1]));
        MpsFrame(file, 'W', Bytes(60, 'x'));
        brokenW = file.Take();
    }
    const std::size_t thirdWaypoint =
        headerSize + firstWaypoint + 5 + MpsWaypointBody(badWaypoint.waypoints[1]).size();
    MpsReference waypointsAndBadTrack = SmallReference();
    waypointsAndBadTrack.tracks.clear();
    waypointsAndBadTrack.segments.clear();
    const Bytes brokenT =
        Framed(waypointsAndBadTrack, {{'T', {'T', 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}}});
    MpsReference badSegment = SmallReference();
    badSegment.segments.pop_back();
    const Bytes brokenL = Framed(badSegment, {{'L', Bytes(8, 1)}});

    const std::vector<LoadCase> cases = {
        {"no waypoints, tracks and segments", MpsFile(noWaypoints), 1, "", 0, 0, 0},
        {"waypoints only", MpsFile(waypointsOnly), 1, "", 3, 0, 0},
        {"waypoints then segments", MpsFile(noTracks), 1, "", 3, 0, 2},
        {"another record before the segments",
         Framed(waypointsOnly, {{'V', {0}}, {'L', MpsSegmentBody(Segment("x"))}}), 1, "", 3, 0, 0},
        {"records and stray bytes after the segments",
         Framed(SmallReference(), {{'V', {0}}, {'L', MpsSegmentBody(Segment("late"))}, {'\0', {}}}),
         1, "", 3, 1, 2},
        {"bad signature", Bytes{'M', 'S', 'R', 'c', 'd', 0, 1, 0, 0, 0, 'D', 0}, 0,
         "not a MapSource file (signature) at byte 0", 0, 0, 0},
        {"signature only", Bytes{'M', 's', 'R', 'c', 'd', 0}, 0,
         "record 0 at byte 6: fewer than 5 bytes left for a record frame", 0, 0, 0},
        {"no A record", Bytes{'M', 's', 'R', 'c', 'd', 0, 1, 0, 0, 0, 'D', 0, 1, 0, 0, 0, 'W', 0},
         0, "record 1 ('W') at byte 12: second header record is not an 'A' record", 0, 0, 0},
        {"waypoint without name terminator", brokenW, 0,
         "record 4 ('W') at byte " + std::to_string(thirdWaypoint) +
             ": waypoint name has no terminator",
         0, 0, 0},
        {"track of the wrong length", brokenT, 0,
         "record 5 ('T') at byte " + std::to_string(MpsFile(waypointsAndBadTrack).size()) +
             ": track body length does not match its point count",
         3, 0, 0},
        {"segment without its texts", brokenL, 0,
         "record 7 ('L') at byte " + std::to_string(MpsFile(badSegment).size()) +
             ": map segment text has no terminator",
         3, 1, 0},
    };
    for (const LoadCase& c : cases) {
        TempFolder folder;
        auto loaded = LoadReference(folder, c.file);
        const MapSourceDocument& document = *loaded.document;
        EXPECT_EQ(loaded.result, c.result) << c.name;
        EXPECT_EQ(document.FailureReason(), c.reason) << c.name;
        EXPECT_EQ(document.waypointCount, c.waypointCount) << c.name;
        EXPECT_EQ(document.waypoints != nullptr, c.waypointCount > 0) << c.name;
        EXPECT_EQ(document.trackCount, c.trackCount) << c.name;
        EXPECT_EQ(document.tracks != nullptr, c.trackCount > 0) << c.name;
        if (c.result == 1) {
            EXPECT_EQ(document.segments.recordCount, c.segmentCount) << c.name;
        }
    }
}

Bytes WithTracks(std::size_t count) {
    MpsReference reference = SmallReference();
    reference.tracks.assign(count, Track("T", 0));
    return MpsFile(reference);
}

TEST(MapSourceLoad, AtMost9999TrackRecords) {
    TempFolder folder;
    auto fits = LoadReference(folder, WithTracks(9999));
    EXPECT_EQ(fits.result, 1);
    EXPECT_EQ(fits.document->trackCount, 9999);

    auto tooMany = LoadReference(folder, WithTracks(10000));
    EXPECT_EQ(tooMany.result, 0);
    EXPECT_EQ(tooMany.document->waypointCount, 3);
    EXPECT_EQ(tooMany.document->trackCount, 0);
    EXPECT_EQ(tooMany.document->tracks, nullptr);
    MpsReference head = SmallReference();
    head.tracks.clear();
    head.segments.clear();
    const std::size_t tenThousandth =
        MpsFile(head).size() + 9999 * (5 + MpsTrackBody(Track("T", 0)).size());
    EXPECT_EQ(tooMany.document->FailureReason(), "record 10004 ('T') at byte " +
                                                     std::to_string(tenThousandth) +
                                                     ": more than 9999 track records");
}

TEST(MapSourceLoad, UnreadableFileChangesNothing) {
    TempFolder folder;
    MapSourceDocument document;
    EXPECT_EQ(document.Load(folder / "missing.mps", nullptr, nullptr), 0);
    EXPECT_TRUE(document.FileUnreadable());
    EXPECT_EQ(document.FailureReason(), "cannot read the file: no such file or folder");
    EXPECT_EQ(document.header.firstRecord.body, nullptr);
}

TEST(MapSourceWrite, FailedLoadIsNeverWritten) {
    TempFolder folder;
    MpsReference reference = SmallReference();
    reference.segments.push_back(Segment("x"));
    Bytes file = MpsFile(reference);
    file.resize(file.size() - 3);  // the last segment now passes the end: only the run ends
    auto runEnded = LoadReference(folder, file);
    ASSERT_EQ(runEnded.result, 1);
    ASSERT_EQ(runEnded.document->segments.recordCount, 2);

    MpsReference badTrack = SmallReference();
    Bytes tracks = MpsFile(badTrack);
    // Make the track's point count disagree with its body: the load fails after the waypoints.
    const std::size_t trackCountOffset = MpsFile([&] {
                                             MpsReference head = badTrack;
                                             head.tracks.clear();
                                             head.segments.clear();
                                             return head;
                                         }())
                                             .size() +
                                         5 + 4 + 5;
    tracks[trackCountOffset] = 9;
    auto failed = LoadReference(folder, tracks);
    ASSERT_EQ(failed.result, 0);
    ASSERT_EQ(failed.document->waypointCount, 3);
    auto source = SourceDocument(FiveWaypoints(), TwoTracks());
    EXPECT_EQ(failed.document->WriteMerged(*source, folder / "out.mps"), 0);
    EXPECT_EQ(failed.document->WriteFailureReason(), "the reference file did not load");
    EXPECT_EQ(failed.document->waypointRecords.recordCount, 3);  // nothing was rebuilt
    EXPECT_EQ(NameOf(source->waypoints[2].name), "CAMP");        // nor renamed
    EXPECT_FALSE(std::filesystem::exists(folder / "out.mps"));
}

TEST(MapSourceWrite, ReferenceWithoutWaypointsBuildsNoWaypoints) {
    TempFolder folder;
    MpsReference reference = SmallReference();
    reference.waypoints.clear();
    auto loaded = LoadReference(folder, MpsFile(reference));
    ASSERT_EQ(loaded.result, 1);
    auto source = SourceDocument(FiveWaypoints(), {});
    EXPECT_EQ(loaded.document->WriteMerged(*source, folder / "out.mps"), 0);
    EXPECT_EQ(loaded.document->WriteFailureReason(),
              "the reference file has no waypoint record to build waypoints from");
    EXPECT_FALSE(std::filesystem::exists(folder / "out.mps"));
}

TEST(MapSourceWrite, UncreatableFileFailsAndTheRebuiltListsStay) {
    TempFolder folder;
    auto loaded = LoadReference(folder, MpsFile(SmallReference()));
    ASSERT_EQ(loaded.result, 1);
    auto source = SourceDocument(FiveWaypoints(), TwoTracks());
    const auto out = folder / "no such folder" / "out.mps";
    EXPECT_EQ(loaded.document->WriteMerged(*source, out), 0);
    EXPECT_EQ(loaded.document->WriteFailureReason(),
              "cannot write " + out.string() + ": no such file or folder");
    EXPECT_EQ(loaded.document->waypointRecords.recordCount, 5);
    EXPECT_EQ(loaded.document->trackRecords.recordCount, 2);
    EXPECT_EQ(loaded.document->waypointCount, 3);  // the entries still describe the reference
    EXPECT_EQ(loaded.document->trackCount, 1);
}

TEST(MapSourceWrite, ReplacesAnEarlierFileOnlyWhenAllIsWritten) {
    TempFolder folder;
    auto loaded = LoadReference(folder, MpsFile(SmallReference()));
    ASSERT_EQ(loaded.result, 1);
    auto source = SourceDocument(FiveWaypoints(), TwoTracks());
    const auto out = folder / "out.mps";
    const Bytes earlier{'e', 'a', 'r', 'l', 'i', 'e', 'r'};

    WriteBytes(out, earlier);
    EXPECT_EQ(loaded.document->WriteMerged(*source, out, platform::ReplaceMode::NoClobber), 0);
    EXPECT_EQ(ReadBytes(out), earlier);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"out.mps", "reference.mps"}));

    ASSERT_EQ(loaded.document->WriteMerged(*source, out), 1);  // replaced without a question
    EXPECT_EQ(SplitRecords(ReadBytes(out)).size(), 11U);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"out.mps", "reference.mps"}));

    // A folder standing where the file should go cannot be replaced; no temporary file stays.
    std::filesystem::create_directories(folder / "taken.mps" / "inside");
    EXPECT_EQ(loaded.document->WriteMerged(*source, folder / "taken.mps"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.mps" / "inside"));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"out.mps", "reference.mps", "taken.mps"}));
}

TEST(MapSourceWrite, ReadOnlyFolderKeepsTheEarlierFile) {
    TempFolder folder;
    auto loaded = LoadReference(folder, MpsFile(SmallReference()));
    ASSERT_EQ(loaded.result, 1);
    const auto locked = folder / "locked";
    std::filesystem::create_directories(locked);
    const Bytes earlier{'o', 'l', 'd'};
    WriteBytes(locked / "out.mps", earlier);
    std::filesystem::permissions(
        locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    // The superuser writes anywhere; the permission check then proves nothing.
    if (std::filesystem::status(locked).permissions() == std::filesystem::perms::none || [&] {
            std::ofstream probe(locked / "probe");
            return probe.good();
        }()) {
        std::filesystem::remove(locked / "probe");
        GTEST_SKIP() << "folder permissions are not enforced for this user";
    }
    auto source = SourceDocument(FiveWaypoints(), TwoTracks());
    EXPECT_EQ(loaded.document->WriteMerged(*source, locked / "out.mps"), 0);
    EXPECT_EQ(loaded.document->WriteFailureReason(),
              "cannot write " + (locked / "out.mps").string() + ": permission denied");
    EXPECT_EQ(ReadBytes(locked / "out.mps"), earlier);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(locked)) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"out.mps"}));
}

TEST(MapSourceWrite, OutputOf4GiBOrMoreIsRefusedBeforeAnythingIsAllocated) {
    TempFolder folder;
    auto loaded = LoadReference(folder, MpsFile(SmallReference()));
    ASSERT_EQ(loaded.result, 1);
    // The sizing pass reads only lengths: a segment that claims a body of nearly 4 GiB makes the
    // output pass the limit without that memory.
    loaded.document->segments.records[1].length = 0xFFFFFFF0U;
    auto source = SourceDocument({{"ONE"}}, {});
    const auto out = folder / "out.mps";
    EXPECT_EQ(loaded.document->WriteMerged(*source, out), 0);
    EXPECT_TRUE(loaded.document->WriteFailureReason().ends_with(" bytes, 4 GiB or more"))
        << loaded.document->WriteFailureReason();
    EXPECT_FALSE(std::filesystem::exists(out));
    loaded.document->segments.records[1].length = 22;  // its real body, released safely
}

// A converted file loads again as a reference and gives back the source.
void ExpectRoundTrip(const std::filesystem::path& sourcePath) {
    TempFolder folder;
    std::unique_ptr<TrackLogDocument> source;
    ASSERT_EQ(LoadSource(source, sourcePath, nullptr, nullptr), 1);
    MapSourceDocument reference;
    ASSERT_EQ(reference.Load(std::filesystem::path(PELAGOR_EXAMPLES_DIR) / "reference.mps", nullptr,
                             nullptr),
              1);
    const auto out = folder / "out.mps";
    ASSERT_EQ(reference.WriteMerged(*source, out), 1) << reference.WriteFailureReason();

    MapSourceDocument again;
    ASSERT_EQ(again.Load(out, nullptr, nullptr), 1) << again.FailureReason();
    ASSERT_EQ(again.waypointCount, source->waypointCount);
    for (std::size_t i = 0; i < source->WaypointSpan().size(); ++i) {
        const WaypointEntry& want = source->waypoints[i];
        const WaypointEntry& got = again.waypoints[i];
        EXPECT_EQ(NameOf(got.name), NameOf(want.name)) << i;  // as renamed
        EXPECT_EQ(got.latitude, want.latitude) << i;
        EXPECT_EQ(got.longitude, want.longitude) << i;
        EXPECT_EQ(got.altitude, want.altitude) << i;
        EXPECT_EQ(got.symbol, MapWaypointSymbol(want.symbol)) << i;
    }
    ASSERT_EQ(again.trackCount, source->trackCount);
    for (std::size_t t = 0; t < source->TrackSpan().size(); ++t) {
        const TrackEntry& want = source->tracks[t];
        const TrackEntry& got = again.tracks[t];
        EXPECT_EQ(NameOf(got.name), NameOf(want.name));
        ASSERT_EQ(got.pointCount, want.pointCount);
        for (std::size_t j = 0; j < static_cast<std::size_t>(want.pointCount); ++j) {
            EXPECT_EQ(got.points[j].latitude, want.points[j].latitude);
            EXPECT_EQ(got.points[j].longitude, want.points[j].longitude);
            EXPECT_EQ(got.points[j].altitude, want.points[j].altitude);
            EXPECT_EQ(got.points[j].time, want.points[j].time);
            EXPECT_EQ(got.points[j].hour, want.points[j].hour);
            EXPECT_EQ(got.points[j].latitudeDegrees, want.points[j].latitudeDegrees);
        }
    }
    EXPECT_EQ(again.segments.recordCount, reference.segments.recordCount);
}

TEST(MapSourceRoundTrip, SampleWtr) {
    ExpectRoundTrip(std::filesystem::path(PELAGOR_EXAMPLES_DIR) / "sample.wtr");
}
TEST(MapSourceRoundTrip, SampleEvo) {
    ExpectRoundTrip(std::filesystem::path(PELAGOR_EXAMPLES_DIR) / "sample.evo");
}

TEST(SampleReference, ShippedFileIsTheGeneratorsOutput) {
    const Bytes shipped = ReadBytes(std::filesystem::path(PELAGOR_EXAMPLES_DIR) / "reference.mps");
    EXPECT_EQ(shipped, MpsFile(SampleReference()));
    MapSourceDocument document;
    ASSERT_EQ(document.Load(std::filesystem::path(PELAGOR_EXAMPLES_DIR) / "reference.mps", nullptr,
                            nullptr),
              1);
    EXPECT_EQ(document.waypointCount, 3);
    EXPECT_EQ(document.trackCount, 1);
    EXPECT_EQ(document.tracks[0].pointCount, 5);
    EXPECT_EQ(document.segments.recordCount, 2);
}

}  // namespace
}  // namespace pelagor::testkit
