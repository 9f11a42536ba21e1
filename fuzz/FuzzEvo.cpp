// Reads each input as an EVO file.

#include "fuzz/Harness.h"
#include "tracklog/EvoDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelagor::fuzzing;
    StopIfBroken(LoadFault<pelagor::EvoDocument>({data, size}));
    return 0;
}
