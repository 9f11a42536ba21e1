// The test program's own operator new and delete: every block carries its size and the budget it
// was taken under, so that the active budget knows what its scope holds.

#include "MemoryBudget.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace pelagor::testkit {
namespace {

struct alignas(alignof(std::max_align_t)) BlockHeader {
    std::size_t size;
    std::size_t budget;  // the budget in force when the block was taken; 0 for none
};

std::atomic<std::size_t> g_budget{0};  // the active budget's number
std::size_t g_lastBudget = 0;
std::size_t g_limit = 0;
std::atomic<std::size_t> g_held{0};

void* Allocate(std::size_t size) noexcept {
    const std::size_t budget = g_budget.load(std::memory_order_relaxed);
    if ((budget != 0 && size > g_limit - g_held.load()) ||
        size > static_cast<std::size_t>(-1) - sizeof(BlockHeader)) {
        return nullptr;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-no-malloc): the allocator beneath operator new
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (header == nullptr) {
        return nullptr;
    }
    *header = {size, budget};
    if (budget != 0) {
        g_held += size;
    }
    return header + 1;
}

void Release(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    if (header->budget != 0 && header->budget == g_budget.load(std::memory_order_relaxed)) {
        g_held -= header->size;
    }
    std::free(header);  // NOLINT(cppcoreguidelines-no-malloc): see Allocate
}

}  // namespace

MemoryBudget::MemoryBudget(std::size_t limit) {
    g_limit = limit;
    g_held = 0;
    g_budget = ++g_lastBudget;
}

MemoryBudget::~MemoryBudget() {
    g_budget = 0;
}

}  // namespace pelagor::testkit

// NOLINTBEGIN(misc-new-delete-overloads): every form the program uses is replaced together
void* operator new(std::size_t size) {
    if (void* block = pelagor::testkit::Allocate(size)) {
        return block;
    }
    throw std::bad_alloc();
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
void operator delete(void* block, const std::nothrow_t& /*unused*/) noexcept {
    pelagor::testkit::Release(block);
}
void operator delete[](void* block, const std::nothrow_t& /*unused*/) noexcept {
    pelagor::testkit::Release(block);
}
// NOLINTEND(misc-new-delete-overloads)
