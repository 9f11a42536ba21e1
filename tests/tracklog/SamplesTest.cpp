// The files in examples/ are what the generator writes today: a change to the builders that
// alters them must come with regenerated examples.

#include <gtest/gtest.h>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TempDir.h"

namespace pelagor::testkit {
namespace {

TEST(SamplesTest, ExamplesAreTheGeneratorsOutput) {
    const std::filesystem::path kExamples = PELAGOR_EXAMPLES_DIR;
    EXPECT_TRUE(ReadBytes(kExamples / "sample.wtr") == WtrBytes(SampleWtrLog()));
    EXPECT_TRUE(ReadBytes(kExamples / "sample.evo") == EvoBytes(SampleEvoLog()));
    EXPECT_TRUE(ReadBytes(kExamples / "reference.mps") == MpsFile(SampleReference()));
}

}  // namespace
}  // namespace pelagor::testkit
