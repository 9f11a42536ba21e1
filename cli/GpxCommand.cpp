#include "cli/GpxCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>

#include "cli/LoadedDocument.h"
#include "gpx/GpxExport.h"
#include "gpx/StreamSink.h"
#include "platform/CodePage.h"
#include "platform/FileIo.h"
#include "platform/PathGuard.h"
#include "platform/PathText.h"

namespace pelagor::cli {
namespace {

// "2 waypoints and 1 track", or for an archive "2 waypoints, 1 route and 1 track".
std::string WhatItHolds(const LoadedDocument& loaded) {
    if (loaded.archive) {
        const MapSourceArchive& archive = *loaded.archive;
        return Counted(static_cast<std::int64_t>(archive.UserWaypointCount()), "waypoint") + ", " +
               Counted(static_cast<std::int64_t>(archive.routes.size()), "route") + " and " +
               Counted(static_cast<std::int64_t>(archive.tracks.size()), "track");
    }
    return Counted(loaded.document->waypointCount, "waypoint") + " and " +
           Counted(loaded.document->trackCount, "track");
}

}  // namespace

CLI::App* GpxCommand::Register(CLI::App& app) {
    m_encoding = std::string(platform::kDefaultEncoding);
    CLI::App* command = app.add_subcommand(
        "gpx", "Export the waypoints, routes and tracks of files as one GPX 1.1 file.");
    command
        ->add_option("FILE", m_files,
                     "files to read: a MapSource file (.mps) whole, as an archive; else a track "
                     "log (WTR, or EVO when it is not WTR)")
        ->required();
    command->add_option("-o,--output", m_output,
                        "GPX file to write (replaced once complete); stdout when absent");
    command->add_flag("--reference", m_reference,
                      "read the FILEs as MapSource files the way a conversion reads its "
                      "reference (its first waypoint and track runs, names cut to the "
                      "reference's lengths)");
    command->add_option("--encoding", m_encoding,
                        "code page of the names and texts (cp950 by default); they are written "
                        "as UTF-8");
    command->footer(
        "All waypoints come first, file by file, then all routes, then all tracks. From a "
        "MapSource file: its user waypoints (map points only serve the routes that pass them), "
        "each with its notes as <cmt>, its description as <desc> and its symbol's name as "
        "<sym>; its routes, each point filled as a waypoint is; its tracks, with their display "
        "colour as Garmin's GPX extension. From a track log: its waypoints and tracks. "
        "Positions are degrees (semicircles times 180 / 2^31) with 7 to 9 decimals; a point "
        "whose latitude lies outside -90..90 degrees is left out with a warning on stderr. An "
        "elevation is written only when the file marks it valid and it is finite, a track "
        "point's time only when the file marks it valid; times are UTC, from the file's "
        "seconds since 1970-01-01. In texts, bytes that do not decode in the code page and "
        "control characters that XML 1.0 forbids are written as U+FFFD, never dropped. A file "
        "that fails to load part-way is exported with what it holds, and stderr says so; in a "
        "MapSource file, a record that fits no layout is skipped and named on stderr, and the "
        "rest is exported.\n"
        "Exit status: 0 when every file loaded, 1 when one did not load fully or the output "
        "cannot be written, 2 for usage errors and files that cannot be read.");
    return command;
}

int GpxCommand::Execute(Streams streams) {
    if (!CheckEncoding(m_encoding, streams.err)) {
        return kExitUsage;
    }
    if (!m_output.empty()) {
        if (const auto input = platform::InputNamedBy(platform::PathFromUtf8(m_output), m_files)) {
            streams.err << platform::PrintableName(m_output)
                        << ": the output would replace the input "
                        << platform::PrintableName(*input) << "; nothing written\n";
            return kExitUsage;
        }
    }
    int status = kExitSuccess;
    struct Exported {
        std::string_view file;
        std::unique_ptr<LoadedDocument> loaded;
    };
    std::vector<Exported> documents;
    documents.reserve(m_files.size());
    for (const std::string& file : m_files) {
        auto loaded = std::make_unique<LoadedDocument>();
        LoadDocument(platform::PathFromUtf8(file),
                     m_reference ? DocumentRole::Reference : DocumentRole::SourceOrArchive,
                     *loaded);
        if ((!loaded->document && !loaded->archive) || loaded->unreadable) {
            streams.err << platform::PrintableName(file) << ": " << loaded->failure << '\n';
            status = kExitUsage;
            continue;
        }
        if (!loaded->loaded) {
            // An archive names each skipped record on a line of its own.
            if (loaded->archive) {
                ReportFailure(streams.err, file, *loaded);
                streams.err << platform::PrintableName(file) << ": exporting";
            } else {
                streams.err << platform::PrintableName(file) << ": " << loaded->failure
                            << "; exporting";
            }
            streams.err << " the " << WhatItHolds(*loaded) << " it holds\n";
            status = std::max(status, kExitFailure);
        }
        documents.push_back({file, std::move(loaded)});
    }

    std::vector<std::string> labels;
    std::vector<gpx::GpxSource> sources;
    labels.reserve(documents.size());
    sources.reserve(documents.size());
    for (const Exported& exported : documents) {
        labels.push_back(platform::PrintableName(exported.file));
        sources.push_back(
            {labels.back(), exported.loaded->document.get(), exported.loaded->archive.get()});
    }

    if (m_output.empty()) {
        gpx::StreamSink sink(streams.out);
        gpx::ExportGpx(sources, m_encoding, gpx::Creator(), streams.err, sink);
        streams.out << std::flush;
        return status;
    }
    const platform::FileError error = gpx::ExportGpxFile(platform::PathFromUtf8(m_output), sources,
                                                         m_encoding, gpx::Creator(), streams.err);
    if (error.kind != platform::FileErrorKind::None) {
        streams.err << "cannot write " << platform::PrintableName(m_output) << ": "
                    << platform::Describe(error) << '\n';
        return std::max(status, kExitFailure);
    }
    return status;
}

}  // namespace pelagor::cli
