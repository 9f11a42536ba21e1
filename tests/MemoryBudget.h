#pragma once

// A limit on what a piece of work may hold in memory, as a device that fails after N bytes tests
// write errors: inside a budget's scope, an allocation that would take what the scope's own
// allocations hold past the limit fails, as it does when the system runs out. Limits that must be
// checked before work (a file's first bytes, a record's form, an output's size) are tested by
// giving the work less memory than the work would need.

#include <cstddef>

namespace pelagor::testkit {

class MemoryBudget {
public:
    explicit MemoryBudget(std::size_t limit);
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;
    MemoryBudget(MemoryBudget&&) = delete;
    MemoryBudget& operator=(MemoryBudget&&) = delete;
    ~MemoryBudget();
};

inline constexpr std::size_t kMebibyte = std::size_t{1} << 20U;

}  // namespace pelagor::testkit
