// Real MapSource files: what each one loads, and conversions against those with waypoints.

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "MpsTestSupport.h"
#include "fuzz/MergeChecks.h"
#include "tracklog/SourceLoader.h"

namespace pelagor::testkit {
namespace {

const std::filesystem::path kExamples = PELAGOR_EXAMPLES_DIR;

// The real files are read where they lie (PELAGOR_REAL_MPS_DIR in the environment, else beside
// the checkout), never copied into the project; without them their tests skip.
std::filesystem::path RealFolder() {
    const char* given = std::getenv("PELAGOR_REAL_MPS_DIR");  // NOLINT(concurrency-mt-unsafe)
    return given != nullptr ? given : PELAGOR_REAL_MPS_DIR;
}
const std::filesystem::path kReal = RealFolder();

class RealMpsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(kReal)) {
            GTEST_SKIP() << "no real MapSource files in " << kReal << ": set PELAGOR_REAL_MPS_DIR";
        }
    }
};

TEST_F(RealMpsTest, EachFileLoads) {
    const struct {
        const char* file;
        const char* format;
        std::int32_t waypoints;
        const char* firstName;
        std::int32_t latitude;
        std::int32_t longitude;
    } cases[] = {
        {"mapsource.mps", "Dg", 9, "GC1A37", 430578619, -1034127312},
        {"netstumbler.mps", "Di", 37, "linksys", 569215813, -1085817542},
        {"route.mps", "Dg", 14, "ATLAUN", 361260639, -1093855191},  // then 2 'R' records
        {"mps-empty.mps", "Dd", 0, "", 0, 0},
        {"mps-track.mps", "Dd", 0, "", 0, 0},  // no waypoint run: its track is not read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        MapSourceDocument document;
        ASSERT_EQ(document.Load(kReal / c.file, nullptr, nullptr), 1) << document.FailureReason();
        EXPECT_EQ(document.header.Format(), c.format);
        EXPECT_EQ(document.trackCount, 0);
        ASSERT_EQ(document.waypointCount, c.waypoints);
        EXPECT_EQ(document.mapSet.type, c.waypoints > 0 ? 'V' : 0);  // looked for after the runs
        if (c.waypoints > 0) {
            const WaypointEntry& first = document.waypoints[0];
            EXPECT_EQ(std::make_tuple(NameOf(first.name), first.latitude, first.longitude),
                      std::make_tuple(std::string_view(c.firstName), c.latitude, c.longitude));
            EXPECT_EQ(document.waypointRecords.Views()[0].layout, WaypointLayout::V4);
        }
    }
}

TEST_F(RealMpsTest, TrackRecordFollowsTheLayoutThisSystemReads) {
    const Bytes file = ReadBytes(kReal / "mps-track.mps");
    ReadCursor cursor(file);
    MpsHeader header;
    ASSERT_TRUE(header.ParseHeader(cursor));
    TrackRecordList tracks;
    ASSERT_TRUE(tracks.ParseList(cursor));
    TrackEntry entry;
    ASSERT_TRUE(tracks.GetEntry(0, entry));
    ASSERT_EQ(entry.pointCount, 64);
    EXPECT_NEAR(entry.points[0].latitudeDegrees, 30.062, 0.001);
    EXPECT_NEAR(entry.points[0].longitudeDegrees, -91.610, 0.001);
    EXPECT_EQ(cursor.remaining(), 7U);  // the trailing 'V' record
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
            const Bytes in = ReadBytes(referencePath);
            const Bytes out = ReadBytes(folder / "out.mps");
            EXPECT_TRUE(std::equal(in.end() - 7, in.end(), out.end() - 7));
        }
    }
}

}  // namespace
}  // namespace pelagor::testkit
