// The files in examples/ are what the generator writes today: a change to the builders that
// alters them must come with regenerated examples.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "builder/Samples.h"
#include "tracklog/EvoDocument.h"

namespace pelagor {
namespace {

std::vector<std::uint8_t> ReadExample(const char* name) {
    std::ifstream file(std::string(PELAGOR_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Samples, ExamplesAreTheGeneratorsOutput) {
    EXPECT_TRUE(ReadExample("sample.wtr") == testkit::WtrBytes(testkit::SampleWtrLog()));
    EXPECT_TRUE(ReadExample("sample.evo") == testkit::EvoBytes(testkit::SampleEvoLog()));
}

// Either list may be left out.
TEST(Samples, LoadWithoutLists) {
    TrackLogDocument wtr;
    EXPECT_EQ(wtr.Load(std::string(PELAGOR_EXAMPLES_DIR) + "/sample.wtr", nullptr, nullptr), 1);
    EXPECT_EQ(wtr.waypointCount, 8);
    EvoDocument evo;
    EXPECT_EQ(evo.Load(std::string(PELAGOR_EXAMPLES_DIR) + "/sample.evo", nullptr, nullptr), 1);
    EXPECT_EQ(evo.trackCount, 2);
}

}  // namespace
}  // namespace pelagor
