#pragma once

// How the file system compares names, for paths that name nothing yet: an existing file is known
// by its identity instead.

#include <filesystem>

namespace pelagor::platform {

// `path` spelled so that two paths that the file system takes for one name are equal: as it is on
// POSIX, whose names are bytes; on Windows without the trailing dots and spaces that Windows
// drops from each name, and in upper case as NTFS compares names (ordinal, whatever the
// language), so that Trip.mps, TRIP.MPS and trip.mps. are one.
std::filesystem::path ComparableSpelling(const std::filesystem::path& path);

}  // namespace pelagor::platform
