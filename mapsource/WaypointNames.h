#pragma once

// Makes repeated waypoint names unique, in the order the waypoints are written: a name that
// equals an earlier waypoint's final name gets a letter ('A', then 'B', ...) at its first blank,
// else at its end while it is shorter than 10 characters, else over its tenth character, until
// it equals no earlier name. Earlier names are kept in a hash set, so each waypoint costs a few
// lookups instead of a scan of all earlier names; and where the scan of a name stopped is kept, so
// that the hundredth HOME starts from the letter where the ninety-ninth settled instead of 'A'.

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace pelagor {

class RepeatedNameRenamer {
public:
    explicit RepeatedNameRenamer(std::size_t expectedNames) { m_earlier.reserve(expectedNames); }

    // Renames `name` (a NUL-terminated field) until it clashes with no earlier name, then counts
    // it as an earlier name. The field must outlive the renamer and keep its final name.
    void Settle(std::array<char, 12>& name);

private:
    // The state of a scan when it settled. Every name the scan tried before that is an earlier
    // name, and earlier names are never removed, so the next scan of the same name would try
    // them all again in vain: it resumes here instead, with the same result.
    struct Scan {
        std::array<char, 12> name{};
        std::size_t position = 0;
        int letter = 0;
    };

    std::unordered_set<std::string_view> m_earlier;
    std::unordered_map<std::string, Scan> m_scans;  // by the name as it was before its scan
};

}  // namespace pelagor
