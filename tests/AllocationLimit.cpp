// The test program's own operator new and delete, which refuse what the limit in force refuses.

#include "AllocationLimit.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace pelagor::testkit {
namespace {

constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);
std::atomic<std::size_t> g_limit{kNoLimit};

void* Allocate(std::size_t size) noexcept {
    // NOLINTNEXTLINE(cppcoreguidelines-no-malloc): the allocator beneath operator new
    return size > g_limit.load() ? nullptr : std::malloc(size == 0 ? 1 : size);
}

void Release(void* block) noexcept {
    std::free(block);  // NOLINT(cppcoreguidelines-no-malloc): see Allocate
}

}  // namespace

AllocationLimit::AllocationLimit(std::size_t limit) {
    g_limit = limit;
}

AllocationLimit::~AllocationLimit() {
    g_limit = kNoLimit;
}

}  // namespace pelagor::testkit

// NOLINTBEGIN(misc-new-delete-overloads): every form the program calls is replaced, since a
// sanitizer's runtime replaces each one it is not given
void* operator new(std::size_t size) {
    void* block = pelagor::testkit::Allocate(size);
    return block != nullptr ? block : throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t& /*unused*/) noexcept {
    return pelagor::testkit::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t& /*unused*/) noexcept {
    return pelagor::testkit::Allocate(size);
}
void operator delete(void* block) noexcept {
    pelagor::testkit::Release(block);
}
void operator delete[](void* block) noexcept {
    pelagor::testkit::Release(block);
}
void operator delete(void* block, std::size_t /*size*/) noexcept {
    pelagor::testkit::Release(block);
}
void operator delete[](void* block, std::size_t /*size*/) noexcept {
    pelagor::testkit::Release(block);
}
// NOLINTEND(misc-new-delete-overloads)
