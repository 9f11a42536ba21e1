// Loads each input as an EVO file.

#include "fuzz/Harness.h"
#include "fuzz/ScratchFile.h"
#include "tracklog/EvoDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelagor::fuzzing;
    static const ScratchFolder folder("pelagor-fuzz-evo");
    StopIfBroken(LoadFault<pelagor::EvoDocument>(folder.Write("input", {data, size})));
    return 0;
}
