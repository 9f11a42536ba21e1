#pragma once

// The one way a GPX file is made, for the window and the command line alike, so that both write
// the same bytes from the same files.

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "mapsource/MapSourceArchive.h"
#include "platform/FileIo.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::gpx {

// One file to export: a track log (or a MapSource reference), or a MapSource archive.
struct GpxSource {
    std::string_view label;  // names the file in warnings (its printable name)
    const TrackLogDocument* log = nullptr;
    const MapSourceArchive* archive = nullptr;
};

// What every GPX file names as its creator: "pelagor-cli" and the version.
std::string Creator();

// Writes the sources as one GPX 1.1 document into `out`: all waypoints, file by file, then all
// routes, then all tracks. `encoding` is the code page of the names; `warnings` gets one line
// per point left out. False when `out` refused bytes, or when memory ran out (said on `warnings`).
bool ExportGpx(std::span<const GpxSource> sources, std::string_view encoding,
               std::string_view creator, std::ostream& warnings,
               platform::OutputSink& out) noexcept;

// The same as the file at `path`, replaced only once complete. No error when it was written.
platform::FileError ExportGpxFile(const std::filesystem::path& path,
                                  std::span<const GpxSource> sources, std::string_view encoding,
                                  std::string_view creator, std::ostream& warnings) noexcept;

}  // namespace pelagor::gpx
