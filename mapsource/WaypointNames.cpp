#include "mapsource/WaypointNames.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "tracklog/Entries.h"

namespace pelagor {
namespace {

constexpr int kFirstLetter = 65;       // 'A'
constexpr int kLastLetter = 255 - 65;  // the letter counter of code 255

constexpr std::uint8_t kNameTag = 1;
constexpr std::uint8_t kShapeTag = 2;

// Bytes 0 to 11: the name, zero-padded; 12: its length; 13: the letter slot; 14: the first
// letter; 15: what the key stands for, so that no key is all zero.
NameKey PackKey(std::string_view name, std::uint8_t slot, std::uint8_t firstLetter,
                std::uint8_t tag) {
    std::array<std::uint8_t, 16> bytes{};
    const std::size_t length = std::min<std::size_t>(name.size(), 12);
    std::memcpy(bytes.data(), name.data(), length);
    bytes[12] = static_cast<std::uint8_t>(length);
    bytes[13] = slot;
    bytes[14] = firstLetter;
    bytes[15] = tag;
    NameKey key;
    std::memcpy(&key.low, bytes.data(), 8);
    std::memcpy(&key.high, bytes.data() + 8, 8);
    return key;
}

NameKey KeyOfName(const std::array<char, 12>& name) {
    return PackKey(NameOf(name), 0, 0, kNameTag);
}

// Where the letter goes, worked out from the name as it stands: its first blank; else its end,
// growing the name by one character, while it is shorter than 10; else its tenth character.
std::size_t LetterSlot(std::array<char, 12>& name) {
    const std::string_view current = NameOf(name);
    const std::size_t blank = current.find(' ');
    if (blank != std::string_view::npos) {
        return blank;
    }
    if (current.size() < 10) {
        name[current.size() + 1] = '\0';
        return current.size();
    }
    return 9;
}

char Letter(int counter) {
    return static_cast<char>(static_cast<std::uint8_t>(kFirstLetter + counter));
}

}  // namespace

std::size_t NameKeyHash::operator()(const NameKey& key) const {
    // Names share their first bytes ("WP1", "WP2"), so every input bit must reach the low bits
    // that pick a slot: a 64-bit finaliser mixes them.
    std::uint64_t hash = key.low ^ (key.high * 0x9E3779B97F4A7C15ULL);
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    hash ^= hash >> 33;
    return static_cast<std::size_t>(hash);
}

NameKeySet::NameKeySet(std::size_t expected)
    : m_slots(std::bit_ceil(std::max<std::size_t>(16, expected * 2))) {}

std::size_t NameKeySet::SlotOf(const NameKey& key) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = NameKeyHash{}(key)&mask;
    while (m_slots[slot] != NameKey{} && m_slots[slot] != key) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

bool NameKeySet::Contains(const NameKey& key) const {
    return m_slots[SlotOf(key)] == key;
}

void NameKeySet::Insert(const NameKey& key) {
    if ((m_count + 1) * 2 > m_slots.size()) {
        Grow();
    }
    NameKey& slot = m_slots[SlotOf(key)];
    if (slot != key) {
        slot = key;
        ++m_count;
    }
}

void NameKeySet::Grow() {
    std::vector<NameKey> old(m_slots.size() * 2);
    old.swap(m_slots);
    for (const NameKey& key : old) {
        if (key != NameKey{}) {
            m_slots[SlotOf(key)] = key;
        }
    }
}

bool RepeatedNameRenamer::Taken(const std::array<char, 12>& name) const {
    return m_earlier.Contains(KeyOfName(name));
}

void RepeatedNameRenamer::Settle(std::array<char, 12>& name) {
    if (Taken(name)) {
        std::size_t slot = LetterSlot(name);
        int letter = 0;
        if (slot == 0) {
            // A slot at position 0 counts as none: after its one letter the slot is worked out
            // again from the name as it then stands, and cannot be 0 any more.
            name[0] = Letter(letter++);
            slot = Taken(name) ? LetterSlot(name) : std::string_view::npos;
        }
        if (slot != std::string_view::npos) {
            name[slot] = Letter(letter);  // a slot at the end joins the name
            std::array<char, 12> shapeName = name;
            shapeName[slot] = '\0';
            const NameKey shape = PackKey(std::string_view(shapeName.data(), NameOf(name).size()),
                                          static_cast<std::uint8_t>(slot),
                                          static_cast<std::uint8_t>(letter), kShapeTag);
            int& next = m_nextLetter.try_emplace(shape, letter).first->second;
            letter = std::min(next, kLastLetter);
            name[slot] = Letter(letter);
            while (letter < kLastLetter && Taken(name)) {
                name[slot] = Letter(++letter);
            }
            // Out of letters, the name stays at the last letter even though it is taken.
            next = letter + 1;
        }
    }
    m_earlier.Insert(KeyOfName(name));
}

}  // namespace pelagor
