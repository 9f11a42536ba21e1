#pragma once

// Large buffers: the file being read, the entry arrays, the output being assembled.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace pelagor::platform {

// Asks the system to back a large block that is about to be filled for the first time with
// huge pages, where it offers them. On virtual machines the first touch of every small page of
// fresh memory can cost more than filling it; a 21 MB log then loads several times slower.
// Small blocks and systems without the facility are left as they are. Call it before the
// block's first write.
void PrepareLargeBlock(void* data, std::size_t size) noexcept;

// An uninitialised byte buffer prepared as above; empty when out of memory.
inline std::unique_ptr<std::uint8_t[]> NewByteBuffer(std::size_t size) noexcept {
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]);
    if (buffer) {
        PrepareLargeBlock(buffer.get(), size);
    }
    return buffer;
}

}  // namespace pelagor::platform
