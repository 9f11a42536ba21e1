#include "gpx/GpxExport.h"

#include <algorithm>

#include "gpx/GpxWriter.h"
#include "gpx/SourceWriters.h"

namespace pelagor::gpx {
namespace {

void Waypoints(GpxWriter& writer, const GpxSource& source) {
    if (source.log != nullptr) {
        WriteWaypoints(writer, *source.log);
    }
    if (source.archive != nullptr) {
        WriteWaypoints(writer, *source.archive);
    }
}

void Routes(GpxWriter& writer, const GpxSource& source) {
    if (source.archive != nullptr) {
        WriteRoutes(writer, *source.archive);
    }
}

void Tracks(GpxWriter& writer, const GpxSource& source) {
    if (source.log != nullptr) {
        WriteTracks(writer, *source.log);
    }
    if (source.archive != nullptr) {
        WriteTracks(writer, *source.archive);
    }
}

// ExportGpx without its guard: what is thrown (no memory) reaches the caller.
bool Export(std::span<const GpxSource> sources, std::string_view encoding, std::string_view creator,
            std::ostream& warnings, platform::OutputSink& out) {
    GpxWriter writer(out, encoding, warnings);
    writer.Begin(creator, std::ranges::any_of(sources, [](const GpxSource& source) {
                     return source.archive != nullptr && UsesTrackColours(*source.archive);
                 }));
    // Each kind file by file, in the order the GPX schema wants them.
    for (const auto write : {Waypoints, Routes, Tracks}) {
        for (const GpxSource& source : sources) {
            writer.BeginSource(source.label);
            write(writer, source);
        }
    }
    return writer.End();
}

}  // namespace

std::string Creator() {
    return std::string("pelagor-cli ") + PELAGOR_VERSION;
}

bool ExportGpx(std::span<const GpxSource> sources, std::string_view encoding,
               std::string_view creator, std::ostream& warnings,
               platform::OutputSink& out) noexcept {
    try {
        return Export(sources, encoding, creator, warnings, out);
    } catch (...) {
        try {
            warnings << "out of memory; the GPX is incomplete\n";
        } catch (...) {
            // Nothing more can be said.
        }
        return false;
    }
}

platform::FileError ExportGpxFile(const std::filesystem::path& path,
                                  std::span<const GpxSource> sources, std::string_view encoding,
                                  std::string_view creator, std::ostream& warnings) noexcept {
    platform::FileError error;
    const bool written = platform::ReplaceFileWith(
        path,
        [&](platform::OutputSink& out) {
            // What is thrown reaches ReplaceFileWith, which says why the file was not written.
            return Export(sources, encoding, creator, warnings, out);
        },
        platform::ReplaceMode::Replace, &error);
    if (!written && error.kind == platform::FileErrorKind::None) {
        error.kind = platform::FileErrorKind::Other;
    }
    return error;
}

}  // namespace pelagor::gpx
