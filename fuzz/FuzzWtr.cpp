// Loads each input as a WTR file.

#include "fuzz/FuzzTrackLog.h"
#include "tracklog/TrackLogDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const pelagor::fuzzing::ScratchFolder folder("pelagor-fuzz-wtr");
    pelagor::fuzzing::LoadAndCheck<pelagor::TrackLogDocument>(folder, {data, size});
    return 0;
}
