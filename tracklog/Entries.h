#pragma once

// The fixed-size entries that every reader fills and the MapSource writer consumes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>

#include "platform/Memory.h"

namespace pelagor {

struct WaypointEntry {
    std::array<char, 12> name;  // NUL-terminated, at most 11 characters
    std::int32_t latitude;      // semicircles
    std::int32_t longitude;     // semicircles
    float altitude;             // after the waypoint altitude rule
    std::uint16_t symbol;       // the source file's own symbol code
};

struct TrackPoint {
    std::int32_t latitude;   // semicircles
    std::int32_t longitude;  // semicircles
    double longitudeDegrees;
    double latitudeDegrees;
    float altitude;
    std::uint32_t time;  // seconds, as the file stores them
    std::int32_t hour;   // clock reading derived from `time`
    std::int32_t minute;
    std::int32_t second;
};

struct TrackEntry {
    std::array<char, 32> name;  // NUL-terminated, at most 31 characters
    std::int32_t pointCount;
    std::unique_ptr<TrackPoint[]> points;  // absent until the track's points are counted
};

// The name held in a fixed field: its bytes up to the first NUL.
template <std::size_t N>
std::string_view NameOf(const std::array<char, N>& field) {
    const auto* end = std::find(field.begin(), field.end(), '\0');
    return {field.data(), static_cast<std::size_t>(end - field.begin())};
}

// Stores `name` in a fixed field, cut to the field so that the terminator always fits.
template <std::size_t N>
void SetName(std::array<char, N>& field, std::string_view name) {
    const std::size_t length = std::min(name.size(), N - 1);
    std::memcpy(field.data(), name.data(), length);
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(length), field.end(), '\0');
}

// Makes an entry array once, at its final length, zero-filled, and sets its count to match.
// On failure (an array already made, a length out of range, no memory) the array stays absent
// and the count unchanged, so that counts always agree with arrays.
template <typename Entry>
bool MakeEntries(std::unique_ptr<Entry[]>& array, std::int32_t& count,
                 std::int64_t length) noexcept {
    if (array || length < 0 || length > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    const auto entries = static_cast<std::size_t>(length);
    if constexpr (std::is_trivially_default_constructible_v<Entry> &&
                  std::is_trivially_copyable_v<Entry>) {
        // Plain entries are zero-filled here, after the block is prepared for its first touch:
        // a million points make a 48 MB array.
        array.reset(new (std::nothrow) Entry[entries]);
        if (!array) {
            return false;
        }
        platform::PrepareLargeBlock(array.get(), entries * sizeof(Entry));
        std::memset(static_cast<void*>(array.get()), 0, entries * sizeof(Entry));
    } else {
        array.reset(new (std::nothrow) Entry[entries]());
        if (!array) {
            return false;
        }
    }
    count = static_cast<std::int32_t>(length);
    return true;
}

}  // namespace pelagor
