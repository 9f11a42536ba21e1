#include <gtest/gtest.h>

#include "AllocationLimit.h"
#include "builder/MpsFiles.h"
#include "builder/Samples.h"
#include "builder/TempDir.h"
#include "fuzz/ArchiveChecks.h"
#include "fuzz/GpxChecks.h"
#include "fuzz/Harness.h"
#include "tracklog/EvoDocument.h"

namespace {

using namespace pelagor;
using namespace pelagor::fuzzing;
using Bytes = std::vector<std::uint8_t>;

// Every check a fuzz target makes, on one input: the three readers, the merge, the archive and
// its GPX.
class CleanEverywhere {
public:
    void Expect(const Bytes& bytes, const std::string& what) const {
        {
            const testkit::AllocationLimit limit(ArchiveAllocationLimit(bytes.size()));
            EXPECT_EQ(ArchiveFault(bytes), "") << what << " as an archive";
        }
        EXPECT_EQ(GpxFault(bytes), "") << what << " as GPX";
        EXPECT_EQ(LoadFault<TrackLogDocument>(bytes), "") << what << " as WTR";
        EXPECT_EQ(LoadFault<EvoDocument>(bytes), "") << what << " as EVO";
        EXPECT_EQ(MergeFault(bytes, m_source, m_folder / "output.mps"), "")
            << what << " as a reference";
    }

private:
    testkit::TempDir m_folder;
    Bytes m_source = testkit::WtrBytes(testkit::SampleWtrLog());
};

TEST(FuzzRegressions, EveryKeptInputFailsCleanly) {
    const CleanEverywhere check;
    for (const auto& entry : std::filesystem::directory_iterator(PELAGOR_REGRESSIONS_DIR)) {
        if (entry.path().extension() == ".bin") {
            check.Expect(testkit::ReadBytes(entry.path()), entry.path().filename().string());
        }
    }
}

// Every prefix of each sample: the data ends inside every field and record once.
TEST(FuzzRegressions, EveryPrefixOfTheSamplesLoadsCleanly) {
    const CleanEverywhere check;
    const std::vector<std::pair<std::string, Bytes>> samples = {
        {"reference.mps", testkit::MpsFile(testkit::SampleReference())},
        {"archive.mps", testkit::MpsFile(testkit::SampleArchive(4))},
        {"sample.evo", testkit::EvoBytes(testkit::SampleEvoLog())},
        {"sample.wtr", testkit::WtrBytes(testkit::SampleWtrLog())},
    };
    for (const auto& [name, bytes] : samples) {
        // Past the first records the points look alike: a stride prime to the record sizes
        // still cuts each field of a point somewhere.
        for (std::size_t size = 1; size <= bytes.size(); size += size < 700 ? 1 : 37) {
            check.Expect(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)),
                         name + " cut to " + std::to_string(size) + " bytes");
        }
    }
}

}  // namespace
