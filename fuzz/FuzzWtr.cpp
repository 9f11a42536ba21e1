// Loads each input as a WTR file.

#include "fuzz/Harness.h"
#include "fuzz/ScratchFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelagor::fuzzing;
    static const ScratchFolder folder("pelagor-fuzz-wtr");
    StopIfBroken(LoadFault<pelagor::TrackLogDocument>(folder.Write("input", {data, size})));
    return 0;
}
