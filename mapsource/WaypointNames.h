#pragma once

// Makes repeated waypoint names unique, in the order the waypoints are written: a name that
// equals an earlier waypoint's final name gets a letter ('A', then 'B', ...) at its first blank,
// else at its end while it is shorter than 10 characters, else over its tenth character, until
// it equals no earlier name; after the last letter (code 255) it keeps the name it has.
//
// Done literally, every waypoint scans all earlier names once per letter it tries, which is
// quadratic. Here earlier names sit in a hash set, and for every name shape with a letter slot
// the renamer remembers which letters are known taken: names are only ever added, so a taken
// letter stays taken and the next waypoint of that shape starts after it. The result is the
// same, letter for letter.

#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pelagor {

// A waypoint name (at most 12 bytes) or a name shape packed into 16 bytes, never all zero.
struct NameKey {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool operator==(const NameKey&) const = default;
};

struct NameKeyHash {
    std::size_t operator()(const NameKey& key) const;
};

// An open-addressing set of names: no node per name, one probe sequence per lookup.
class NameKeySet {
public:
    explicit NameKeySet(std::size_t expected);
    [[nodiscard]] bool Contains(const NameKey& key) const;
    void Insert(const NameKey& key);

private:
    [[nodiscard]] std::size_t SlotOf(const NameKey& key) const;
    void Grow();

    std::vector<NameKey> m_slots;  // an all-zero key marks a free slot
    std::size_t m_count = 0;
};

class RepeatedNameRenamer {
public:
    explicit RepeatedNameRenamer(std::size_t expectedNames) : m_earlier(expectedNames) {}

    // Renames `name` (a NUL-terminated field) until it clashes with no earlier name, then counts
    // it as an earlier name.
    void Settle(std::array<char, 12>& name);

private:
    [[nodiscard]] bool Taken(const std::array<char, 12>& name) const;

    NameKeySet m_earlier;
    // Per name shape (the name around its letter slot, and the first letter tried): every letter
    // from the first up to the value is known to make a name that is taken.
    std::unordered_map<NameKey, int, NameKeyHash> m_nextLetter;
};

}  // namespace pelagor
