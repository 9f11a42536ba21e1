#include "mapsource/WaypointNames.h"

#include <algorithm>
#include <cstdint>

#include "tracklog/Entries.h"

namespace pelagor {

void RepeatedNameRenamer::Settle(std::array<char, 12>& name) {
    constexpr int kFirstLetter = 65;
    constexpr int kLastCode = 255;
    if (!m_earlier.contains(NameOf(name))) {
        m_earlier.insert(NameOf(name));
        return;
    }
    auto [scan, fresh] = m_scans.try_emplace(std::string(NameOf(name)));
    if (!fresh) {
        // The scan only ever wrote up to the name's terminator, so the bytes after it stay the
        // field's own, as they would without the shortcut.
        const std::string_view settled = NameOf(scan->second.name);
        std::copy(settled.begin(), settled.end(), name.begin());
        name[settled.size()] = '\0';
    }
    // Where the letter goes. Position 0 counts as none: it is worked out again at the next
    // clash, from the name as it then stands.
    std::size_t position = scan->second.position;
    int letter = scan->second.letter;
    while (m_earlier.contains(NameOf(name))) {
        if (kFirstLetter + letter > kLastCode) {
            break;  // out of letters: the name stays as it stands
        }
        if (position == 0) {
            const std::string_view current = NameOf(name);
            const std::size_t blank = current.find(' ');
            if (blank != std::string_view::npos) {
                position = blank;
            } else if (current.size() < 10) {
                position = current.size();
                name[position + 1] = '\0';  // the name grows by one character
            } else {
                position = 9;
            }
        }
        name[position] = static_cast<char>(static_cast<std::uint8_t>(kFirstLetter + letter));
        ++letter;
    }
    scan->second = {name, position, letter};
    m_earlier.insert(NameOf(name));
}

}  // namespace pelagor
