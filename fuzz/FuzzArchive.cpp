// Reads each input as a MapSource archive (see ArchiveFault for what must hold), watching every
// allocation the reading makes: none may be larger than the input can justify. Then exports it
// as GPX, which must be well-formed (GpxFault); the export is not watched, since a route repeats
// the texts of the waypoints it passes.

#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "fuzz/ArchiveChecks.h"
#include "fuzz/GpxChecks.h"
#include "fuzz/Harness.h"

namespace {

std::atomic<bool> g_watching{false};
std::atomic<std::size_t> g_largest{0};

void OnMalloc(const volatile void* /*block*/, std::size_t size) {
    if (g_watching.load(std::memory_order_relaxed)) {
        std::size_t largest = g_largest.load(std::memory_order_relaxed);
        while (size > largest && !g_largest.compare_exchange_weak(largest, size)) {
        }
    }
}

void OnFree(const volatile void* /*block*/) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelagor::fuzzing;
    g_largest = 0;
    g_watching = true;
    std::string fault = ArchiveFault({data, size});
    g_watching = false;
    if (fault.empty() && g_largest > ArchiveAllocationLimit(size)) {
        fault = "an allocation of " + std::to_string(g_largest.load()) + " bytes for " +
                std::to_string(size) + " bytes of input";
    }
    if (fault.empty()) {
        fault = GpxFault({data, size});
    }
    StopIfBroken(fault);
    return 0;
}
