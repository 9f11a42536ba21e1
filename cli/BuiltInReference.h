#pragma once

// The reference `convert` builds on when it is given none, carried inside the program: the
// header MapSource 4.06 writes, one user-waypoint template without texts, no track (the writer's
// own track template serves), no map segment, and a map set record without a name. Its bytes
// are res/builtin-reference.mps, written by the sample generator.

#include <cstdint>
#include <span>

namespace pelagor::cli {

std::span<const std::uint8_t> BuiltInReferenceBytes();

}  // namespace pelagor::cli
