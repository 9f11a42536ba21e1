#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "bytes/ByteReader.h"
#include "tracklog/Derivations.h"
#include "tracklog/Entries.h"

namespace pelagor {

// Fills the points of `track`, whose array is already made, from records of `stride` bytes that
// start at `first`. Both track-log formats lead each point record with latitude, longitude, time
// and altitude; the caller has checked that every record lies inside the data.
inline void ReadTrackPoints(std::span<const std::uint8_t> data, std::size_t first,
                            std::size_t stride, TrackEntry& track) {
    ByteReader record(data);
    for (std::size_t index = 0; index < static_cast<std::size_t>(track.pointCount); ++index) {
        (void)record.Seek(first + index * stride);
        const std::int32_t latitude = record.I32le().value_or(0);
        const std::int32_t longitude = record.I32le().value_or(0);
        const std::uint32_t time = record.U32le().value_or(0);
        const float altitude = record.F32le().value_or(0.0F);
        SetTrackPoint(track.points[index], latitude, longitude, time, altitude);
    }
}

}  // namespace pelagor
