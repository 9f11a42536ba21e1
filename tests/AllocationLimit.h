#pragma once

// A limit on the memory a piece of work may take at once, as a device that fails after N bytes
// tests write errors: within a limit's scope, an allocation of more bytes than the limit fails, as
// when the system runs out. Limits that must be checked before the work (a file's first bytes, a
// record's form, an output's size) are tested by giving the work less than the work would take.

#include <cstddef>

namespace pelagor::testkit {

inline constexpr std::size_t kMebibyte = std::size_t{1} << 20U;

class AllocationLimit {  // NOLINT(cppcoreguidelines-special-member-functions): a scope's guard
public:
    explicit AllocationLimit(std::size_t limit);
    ~AllocationLimit();
};

}  // namespace pelagor::testkit
