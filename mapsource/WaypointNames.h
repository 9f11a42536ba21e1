#pragma once

// Makes repeated waypoint names unique, in the order the waypoints are written: a name that
// equals an earlier waypoint's final name gets a letter ('A', then 'B', ...) at its first blank,
// else at its end while it is shorter than 10 characters, else over its tenth character, until
// it equals no earlier name. Earlier names are kept in a hash set, so each waypoint costs a few
// lookups instead of a scan of all earlier names.

#include <array>
#include <string_view>
#include <unordered_set>

namespace pelagor {

class RepeatedNameRenamer {
public:
    explicit RepeatedNameRenamer(std::size_t expectedNames) { m_earlier.reserve(expectedNames); }

    // Renames `name` (a NUL-terminated field) until it clashes with no earlier name, then counts
    // it as an earlier name. The field must outlive the renamer and keep its final name.
    void Settle(std::array<char, 12>& name);

private:
    std::unordered_set<std::string_view> m_earlier;
};

}  // namespace pelagor
