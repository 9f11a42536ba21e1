// Reads each input as a WTR file.

#include "fuzz/Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelagor::fuzzing;
    StopIfBroken(LoadFault<pelagor::TrackLogDocument>({data, size}));
    return 0;
}
