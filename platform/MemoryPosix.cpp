#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "platform/Memory.h"

namespace pelagor::platform {

void PrepareLargeBlock(void* data, std::size_t size) noexcept {
#ifdef MADV_HUGEPAGE
    // Below a few huge pages the advice gains nothing.
    constexpr std::size_t kWorthwhile = std::size_t{4} << 20U;
    if (data == nullptr || size < kWorthwhile) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data);  // NOLINT: address arithmetic
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + size) / page * page;
    if (last > first) {
        // Only advice: where the system declines, the block works as before.
        (void)::madvise(reinterpret_cast<void*>(first), last - first,  // NOLINT: see above
                        MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace pelagor::platform
