#pragma once

// What the WTR and EVO readers read alike: names that end at a terminator within a lookahead,
// and point records led by latitude, longitude, time and altitude.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "bytes/ByteReader.h"
#include "tracklog/Derivations.h"
#include "tracklog/Entries.h"

namespace pelagor {

// The characters at the reader's position up to the first of `terminators`, among at most
// `lookahead` bytes; a name that fills the lookahead is returned whole. Empty when the data ends
// before both a terminator and the lookahead's end. Consumes nothing.
inline std::optional<std::string_view> TerminatedName(const ByteReader& reader,
                                                      std::size_t lookahead,
                                                      std::string_view terminators) {
    const auto rest = reader.Rest();
    const std::size_t available = std::min(rest.size(), lookahead);
    const std::string_view window = AsText(rest.first(available));
    const std::size_t end = window.find_first_of(terminators);
    if (end == std::string_view::npos && available < lookahead) {
        return std::nullopt;
    }
    return window.substr(0, end);
}

// Fills the points of `track`, whose array is already made, from records of `stride` bytes that
// start at `first`; the caller has checked that every record lies inside the data.
inline void ReadTrackPoints(std::span<const std::uint8_t> data, std::size_t first,
                            std::size_t stride, TrackEntry& track) {
    ByteReader record(data);
    for (std::size_t index = 0; index < static_cast<std::size_t>(track.pointCount); ++index) {
        Guaranteed(record.Seek(first + index * stride));
        const std::int32_t latitude = Guaranteed(record.I32le());
        const std::int32_t longitude = Guaranteed(record.I32le());
        const std::uint32_t time = Guaranteed(record.U32le());
        const float altitude = Guaranteed(record.F32le());
        SetTrackPoint(track.points[index], latitude, longitude, time, altitude);
    }
}

}  // namespace pelagor
