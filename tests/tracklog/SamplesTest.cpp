// The files in examples/ are what the generator writes today: a change to the builders that
// alters them must come with regenerated examples.

#include <gtest/gtest.h>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TempDir.h"
#include "tracklog/EvoDocument.h"

namespace pelagor {
namespace {

const std::filesystem::path kExamples = PELAGOR_EXAMPLES_DIR;

TEST(Samples, ExamplesAreTheGeneratorsOutput) {
    using namespace testkit;
    EXPECT_TRUE(ReadBytes(kExamples / "sample.wtr") == WtrBytes(SampleWtrLog()));
    EXPECT_TRUE(ReadBytes(kExamples / "sample.evo") == EvoBytes(SampleEvoLog()));
    EXPECT_TRUE(ReadBytes(kExamples / "reference.mps") == MpsFile(SampleReference()));
}

// Either list may be left out.
TEST(Samples, LoadWithoutLists) {
    TrackLogDocument wtr;
    EXPECT_EQ(wtr.Load(kExamples / "sample.wtr", nullptr, nullptr), 1);
    EXPECT_EQ(wtr.waypointCount, 8);
    EvoDocument evo;
    EXPECT_EQ(evo.Load(kExamples / "sample.evo", nullptr, nullptr), 1);
    EXPECT_EQ(evo.trackCount, 2);
}

}  // namespace
}  // namespace pelagor
