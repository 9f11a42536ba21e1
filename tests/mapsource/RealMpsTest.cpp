// Real MapSource files: what each one loads, as a reference and as an archive, and conversions
// against those with waypoints.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "MpsTestSupport.h"
#include "fuzz/MergeChecks.h"
#include "mapsource/MapSourceArchive.h"
#include "tracklog/SourceLoader.h"

namespace pelagor::testkit {
namespace {

const std::filesystem::path kExamples = PELAGOR_EXAMPLES_DIR;

// The real files are read where they lie (PELAGOR_REAL_MPS_DIR in the environment, else beside
// the checkout), never copied into the project; without them these tests skip.
const std::filesystem::path kReal = [] {
    const char* given = std::getenv("PELAGOR_REAL_MPS_DIR");  // NOLINT(concurrency-mt-unsafe)
    return std::filesystem::path(given != nullptr ? given : PELAGOR_REAL_MPS_DIR);
}();

// Per file, as a reference: its format letters, waypoint count, map set record and first waypoint;
// as an archive: its user waypoints, all waypoints, the routes with their points, the tracks.
TEST(RealMpsTest, EachFileLoads) {
    if (!std::filesystem::is_directory(kReal)) {
        GTEST_SKIP() << "no real MapSource files in " << kReal << ": set PELAGOR_REAL_MPS_DIR";
    }
    const struct {
        const char* file;
        std::string reference, archive;
    } cases[] = {
        {"mapsource.mps", "Dg 9 V GC1A37 430578619 -1034127312", "9/9"},
        {"netstumbler.mps", "Di 37 V linksys 569215813 -1085817542", "37/37"},
        {"route.mps", "Dg 14 V ATLAUN 361260639 -1093855191",
         "14/14 ATCHAFALAYA: ATLAUN ATWRNC ATWRNR LILI PATH: 11"},
        {"mps-empty.mps", "Dd 0 -", "0/0"},
        {"mps-track.mps", "Dd 0 -", "0/0 Track (64)"},  // no waypoint run: no reference track
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        MapSourceDocument document;
        ASSERT_EQ(document.Load(kReal / c.file, nullptr, nullptr), 1) << document.FailureReason();
        std::ostringstream summary;
        summary << document.header.Format() << ' ' << document.waypointCount << ' '
                << (document.mapSet.type != 0 ? static_cast<char>(document.mapSet.type) : '-');
        if (document.waypointCount > 0) {
            const WaypointEntry& first = document.waypoints[0];
            summary << ' ' << NameOf(first.name) << ' ' << first.latitude << ' ' << first.longitude;
        }
        EXPECT_EQ(summary.str(), c.reference);
        EXPECT_EQ(document.trackCount, 0);
        EXPECT_TRUE(document.waypointCount == 0 ||
                    document.waypointRecords.Views()[0].layout == WaypointLayout::V4);

        MapSourceArchive archive;
        EXPECT_TRUE(LoadArchive(ReadBytes(kReal / c.file), archive));
        std::ostringstream read;
        read << archive.UserWaypointCount() << '/' << archive.waypoints.size();
        for (const ArchiveRoute& route : archive.routes) {
            read << ' ' << route.name << ':';
            if (route.points.size() > 3) {
                read << ' ' << route.points.size();
            }
            for (const ArchiveRoutePoint& point : route.points) {
                EXPECT_TRUE(point.located && point.waypoint) << point.name;
                read << (route.points.size() > 3 ? "" : " " + point.name);
            }
        }
        for (const ArchiveTrack& track : archive.tracks) {
            read << ' ' << ArchiveTrackLine(track);
        }
        EXPECT_EQ(read.str(), c.archive);
        EXPECT_TRUE(archive.complete);
        EXPECT_EQ(archive.warnings, std::vector<std::string>{});
    }
}

// A converted file loads again as a reference, gives back the source as renamed, and ends with
// the reference's 'V' record.
TEST(RealMpsSamplesTest, ConvertAndComeBackAsConverted) {
    std::vector<std::filesystem::path> references{kExamples / "reference.mps"};
    if (std::filesystem::is_directory(kReal)) {
        for (const char* real : {"mapsource.mps", "netstumbler.mps", "route.mps"}) {
            references.push_back(kReal / real);
        }
    }
    for (const auto& referencePath : references) {
        for (const char* name : {"sample.wtr", "sample.evo"}) {
            SCOPED_TRACE(referencePath.filename().string() + " " + name);
            TempDir folder;
            std::unique_ptr<TrackLogDocument> source;
            ASSERT_EQ(LoadSource(source, kExamples / name, nullptr, nullptr), 1);
            MapSourceDocument reference;
            ASSERT_EQ(reference.Load(referencePath, nullptr, nullptr), 1);
            ASSERT_EQ(reference.WriteMerged(*source, folder / "out.mps"), 1);
            MapSourceDocument again;
            const std::int32_t loaded = again.Load(folder / "out.mps", nullptr, nullptr);
            EXPECT_EQ(fuzzing::RoundTripMismatch(*source, loaded, again), "");
            EXPECT_EQ(fuzzing::TextsMismatch(reference, *source, again), "");
            const Bytes in = ReadBytes(referencePath);
            const Bytes out = ReadBytes(folder / "out.mps");
            EXPECT_TRUE(std::equal(in.end() - 7, in.end(), out.end() - 7));
        }
    }
}

}  // namespace
}  // namespace pelagor::testkit
