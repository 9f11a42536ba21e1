// Loads each input as an EVO file.

#include "fuzz/FuzzTrackLog.h"
#include "tracklog/EvoDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const pelagor::fuzzing::ScratchFolder folder("pelagor-fuzz-evo");
    pelagor::fuzzing::LoadAndCheck<pelagor::EvoDocument>(folder, {data, size});
    return 0;
}
