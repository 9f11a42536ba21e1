// MapSource files read whole as archives: every kind of record wherever it stands, route points
// resolved, bad records skipped, and the real files.

#include <gtest/gtest.h>

#include <sstream>

#include "AllocationLimit.h"
#include "MpsTestSupport.h"
#include "builder/Samples.h"
#include "mapsource/SourceFile.h"

namespace pelagor::testkit {
namespace {

std::string Flagged(bool valid, double value) {
    std::ostringstream text;
    text << value;
    return valid ? text.str() : "-";
}

// The archive as text: one line per record kind's entry, then the warnings.
std::string Describe(const MapSourceArchive& archive) {
    std::ostringstream out;
    out << archive.format << ' ' << archive.UserWaypointCount() << '/' << archive.waypoints.size()
        << (archive.complete ? "" : " incomplete") << '\n';
    for (const ArchiveWaypoint& w : archive.waypoints) {
        out << "W " << w.name << " c" << w.waypointClass << ' ' << w.latitude << ',' << w.longitude
            << " a" << Flagged(w.altitudeValid, w.altitude) << " p"
            << Flagged(w.proximityValid, w.proximity) << " d" << Flagged(w.depthValid, w.depth)
            << " s" << w.symbol << " '" << w.description << "' '" << w.notes << "'\n";
    }
    for (const ArchiveRoute& route : archive.routes) {
        out << "R " << route.name << ':';
        for (const ArchiveRoutePoint& p : route.points) {
            out << ' ' << p.name << '@'
                << (p.located ? std::to_string(p.latitude) + ',' + std::to_string(p.longitude)
                              : "?")
                << " a" << Flagged(p.altitudeValid, p.altitude) << " s"
                << (p.symbol ? std::to_string(*p.symbol) : "-") << " '" << p.description << "'";
        }
        out << '\n';
    }
    for (const ArchiveTrack& track : archive.tracks) {
        out << "T " << track.name << " d" << track.display << " c" << track.colour << ':';
        for (const ArchiveTrackPoint& p : track.points) {
            out << ' ' << p.latitude << ',' << p.longitude << " a"
                << Flagged(p.altitudeValid, p.altitude) << " t" << Flagged(p.timeValid, p.time)
                << " d" << Flagged(p.depthValid, p.depth);
        }
        out << '\n';
    }
    for (const ArchiveMapSegment& segment : archive.mapSegments) {
        out << "L " << segment.text1 << '/' << segment.text2 << '/' << segment.text3 << '\n';
    }
    if (archive.mapSetName) {
        out << "V '" << *archive.mapSetName << "'\n";
    }
    for (const std::string& warning : archive.warnings) {
        out << "! " << warning << '\n';
    }
    return out.str();
}

Bytes Head(char letter) {
    MpsReference header;
    header.firstBody = {static_cast<std::uint8_t>(letter), 0};
    return MpsFile(header);
}

std::string Read(const Bytes& bytes) {
    MapSourceArchive archive;
    EXPECT_TRUE(LoadArchive(bytes, archive));
    return Describe(archive);
}

// Each version's layouts, with the records in an order no reference has: a route before the
// waypoints it names, a track before a waypoint, the map set name before a segment.
TEST(ArchiveTest, EveryRecordOfEachVersion) {
    for (const auto& [letter, version] : {std::pair{'d', 3}, {'g', 4}, {'i', 5}}) {
        SCOPED_TRACE(version);
        MpsRealWaypoint home{"HOME", 10, 20, 9.5, "Home", 10, version};
        home.notes = "note";
        home.proximity = 50.0;
        MpsRealWaypoint mapPoint{"MP", 30, 40, 0.0, "", 0x10012, version, 0};
        mapPoint.waypointClass = 3;
        mapPoint.depth = 12.0;
        const MpsRoute route{"ROUTE",
                             {{"NOWHERE", 0, {{1, 1, 7.0}, {2, 2}, {10, 20}}},
                              {"HOME", 0, {{10, 20}, {30, 40}}},
                              {"MP", 3, {{30, 40}, {5, 5}, {9, 9, 4.0}}},
                              {"LOST"}},
                             version};
        const MpsTrack track{
            "TRK", {1, 5, 0, 0, 0}, {{1, 2, 3.0, 100}, {4, 5, 6.0, 0, 0, 0, 0, 2.5}}};
        const Bytes file =
            Framed(Head(letter), {{'R', MpsRouteBody(route)},
                                  {'R', MpsRouteBody({"SOLO", {{"NONE"}}, version})},
                                  {'W', MpsRealWaypointBody(home)},
                                  {'T', MpsTrackBody(track)},
                                  {'W', MpsRealWaypointBody(mapPoint)},
                                  {'T', MpsTrackBody({"EMPTY", {0, 0, 0, 0, 0}, {}})},
                                  {'V', {'M', 0, 1}},
                                  {'L', MpsSegmentBody({1, 2, "Topo", "N", "v1", 0, 0, {}})}});
        const std::string notes = version == 3 ? "" : "note";
        EXPECT_EQ(Read(file), std::string("D") + letter + " 1/2\n" +
                                  "W HOME c0 10,20 a9.5 p50 d- s10 'Home' '" + notes +
                                  "'\n"
                                  "W MP c3 30,40 a- p- d12 s18 '' ''\n"
                                  "R ROUTE: NOWHERE@1,1 a7 s- '' HOME@10,20 a9.5 s10 'Home' "
                                  "MP@30,40 a- s18 '' LOST@9,9 a4 s- ''\n"
                                  "R SOLO: NONE@? a- s- ''\n"
                                  "T TRK d1 c5: 1,2 a3 t100 d- 4,5 a- t- d2.5\n"
                                  "T EMPTY d0 c0:\n"
                                  "L Topo/N/v1\n"
                                  "V 'M'\n");
    }
}

// What is wrong with a record is said, with where it stands, and the rest of the file is read;
// a record past the end ends the reading. No count is believed before its bytes are there.
TEST(ArchiveTest, BadRecordsAreSkippedAndNamed) {
    const Bytes head = Head('g');  // 6 + 7 + 32 bytes: the first record after it is at byte 45
    const Bytes track = MpsTrackBody({"T", {1, 0, 0, 0, 0}, {{1, 2}}});
    Bytes runsPast = Framed(head, {{'T', track}, {'T', track}});
    runsPast.resize(runsPast.size() - 1);
    Bytes manyBad = head;
    for (int index = 0; index < 101; ++index) {
        manyBad = Framed(manyBad, {{'W', {}}});
    }
    Bytes hugeLink = MpsRouteBody({"R", {{"A", 0, {{}}}, {"B"}}});
    Bytes stray = Framed(head, {});
    stray.insert(stray.end(), {1, 2, 3});
    hugeLink[42 + 48 + 3] = 0xFF;  // the link's count (after the header and point A), past 2^31
    const struct {
        const char* name;
        Bytes file;
        std::string expected;
    } cases[] = {
        {"a bad waypoint between tracks",
         Framed(head, {{'T', track}, {'W', {'X', 0, 1}}, {'T', track}}),
         "Dg 0/0 incomplete\nT T d1 c0: 1,2 a0 t0 d-\nT T d1 c0: 1,2 a0 t0 d-\n"
         "! record 3 ('W') at byte 92 skipped: waypoint body shorter than its 46-byte first "
         "block\n"},
        {"the last record runs past the end", runsPast,
         "Dg 0/0 incomplete\nT T d1 c0: 1,2 a0 t0 d-\n"
         "! record 3 ('T') at byte 92: record length passes the end of the file; reading stops "
         "there\n"},
        {"three stray bytes", stray,
         "Dg 0/0 incomplete\n! record 2 at byte 45: fewer than 5 bytes left for a record frame; "
         "reading stops there\n"},
        {"a route count past the record",
         Framed(head, {{'R', MpsRouteBody({"R", {}, 4, 0xFFFFFFFF})}}),
         "Dg 0/0 incomplete\n! record 2 ('R') at byte 45 skipped: route waypoint count passes "
         "the record\n"},
        {"a link count past the record", Framed(head, {{'R', hugeLink}}),
         "Dg 0/0 incomplete\n! record 2 ('R') at byte 45 skipped: route link's coordinates run "
         "past the record\n"},
        {"a point count past the record",
         Framed(head, {{'T', MpsTrackBody({"T", {1, 0, 0, 0, 0}, {{1, 2}}, 0x08421085})}}),
         "Dg 0/0 incomplete\n! record 2 ('T') at byte 45 skipped: track body length does not "
         "match its point count\n"},
    };
    for (const auto& [name, file, expected] : cases) {
        const AllocationLimit limit(kMebibyte);
        EXPECT_EQ(Read(file), expected) << name;
    }
    MapSourceArchive archive;
    EXPECT_TRUE(LoadArchive(manyBad, archive));
    ASSERT_EQ(archive.warnings.size(), kMaxArchiveWarnings + 1);
    EXPECT_EQ(archive.warnings.back(), "and 1 more records skipped");
    EXPECT_FALSE(LoadArchive(WtrBytes(SampleWtrLog()), archive));
    EXPECT_EQ(archive.warnings, std::vector<std::string>{"not a MapSource file (signature)"});
}

// A source is opened as an archive by its signature, before the track-log readers try it.
TEST(ArchiveTest, OpenSourceTellsArchivesByTheirSignature) {
    TempDir folder;
    MpsReference reference = SampleReference();
    reference.realWaypoints.push_back({"MAP", 1, 2, 0, "", 18, 4, 0});
    reference.realWaypoints.back().waypointClass = 1;
    WriteBytes(folder / "a.mps", MpsFile(reference));
    WriteBytes(folder / "b.wtr", WtrBytes(SampleWtrLog()));
    LineCollector lines;
    const OpenedSource archive = OpenSource(folder / "a.mps", &lines, &lines);
    ASSERT_TRUE(archive.archive);
    EXPECT_EQ(archive.result, 1);
    EXPECT_EQ(lines.lines,
              (std::vector<std::string>{"HOME   9", "CAMP 820", "SUMMIT 1120", "PRACTICE (5)"}));
    const OpenedSource refused = OpenSource(folder / "a.mps", nullptr, nullptr, ArchiveUse::Refuse);
    EXPECT_TRUE(refused.mapSourceFile && !refused.archive && !refused.trackLog);
    const OpenedSource log = OpenSource(folder / "b.wtr", nullptr, nullptr);
    EXPECT_TRUE(log.trackLog && !log.archive && log.result == 1);
}

}  // namespace
}  // namespace pelagor::testkit
