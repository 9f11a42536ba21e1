// Reads each input as a MapSource reference and merges a fixed source into it, writing into a
// scratch folder (see MergeFault for what must hold).

#include <vector>

#include "builder/Samples.h"
#include "fuzz/Harness.h"
#include "fuzz/ScratchFile.h"

namespace {

struct Fixture {
    pelagor::fuzzing::ScratchFolder folder{"pelagor-fuzz-mps"};
    // The source of the dialog's samples: repeated names, mapped symbols and a track.
    std::vector<std::uint8_t> source = pelagor::testkit::WtrBytes(pelagor::testkit::SampleWtrLog());
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelagor::fuzzing;
    static const Fixture fixture;
    StopIfBroken(MergeFault({data, size}, fixture.source, fixture.folder.path() / "output.mps"));
    return 0;
}
