#include "cli/ShowCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cstdio>

#include "cli/DocumentJson.h"
#include "cli/LoadedDocument.h"
#include "platform/CodePage.h"
#include "platform/PathText.h"
#include "tracklog/Listing.h"

namespace pelagor::cli {
namespace {

std::string ReaderTitle(std::string_view reader) {
    if (reader == "mps") {
        return "MapSource";
    }
    return reader == "evo" ? "EVO" : "WTR";
}

// "08:00:00": the clock reading the readers derived, eight hours ahead of the file's clock.
std::string Clock(const TrackPoint& point) {
    std::array<char, 48> text{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): a fixed numeric layout
    const int length = std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", point.hour,
                                     point.minute, point.second);
    return {text.data(), static_cast<std::size_t>(std::max(length, 0))};
}

std::string Range(double low, double high) {
    std::array<char, 96> text{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): a fixed numeric layout
    const int length = std::snprintf(text.data(), text.size(), "%.7f to %.7f", low, high);
    return {text.data(), static_cast<std::size_t>(std::max(length, 0))};
}

// The track's times and extent: "08:00:00 to 09:59:00, latitude 25.0 to 25.1, longitude ...".
std::string TrackSummary(const TrackEntry& track) {
    if (track.pointCount <= 0) {
        return "no points";
    }
    const std::span<const TrackPoint> points(track.points.get(),
                                             static_cast<std::size_t>(track.pointCount));
    double south = points.front().latitudeDegrees;
    double north = south;
    double west = points.front().longitudeDegrees;
    double east = west;
    for (const TrackPoint& point : points) {
        south = std::min(south, point.latitudeDegrees);
        north = std::max(north, point.latitudeDegrees);
        west = std::min(west, point.longitudeDegrees);
        east = std::max(east, point.longitudeDegrees);
    }
    return Clock(points.front()) + " to " + Clock(points.back()) + ", latitude " +
           Range(south, north) + ", longitude " + Range(west, east);
}

}  // namespace

CLI::App* ShowCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "show", "List a file for people: reader, waypoint lines, tracks with times and extent.");
    m_options.AddTo(*command, "read FILE as a MapSource reference file");
    command->footer(
        "Waypoint lines are the dialog's (name and altitude), a reference's followed by each "
        "waypoint's description; track times are the clock "
        "readings the dialog's documents hold, eight hours ahead of the file's clock.\n"
        "Exit status: 0 when the file loaded, 1 when it did not (the listing shows what it "
        "holds), 2 for usage errors and files that cannot be read.");
    return command;
}

int ShowCommand::Execute(Streams streams) {
    LoadedDocument loaded;
    if (const auto stop = m_options.Load(streams, loaded)) {
        return *stop;
    }
    const TrackLogDocument& document = *loaded.document;
    std::ostream& out = streams.out;
    out << platform::PrintableName(m_options.file) << ": " << ReaderTitle(ReaderName(document))
        << " reader, " << (loaded.loaded ? "loaded" : "did not load") << '\n';
    out << "waypoints: " << document.waypointCount << '\n';
    // A reference's waypoints show their descriptions after the dialog's lines.
    const auto views = ReferenceWaypointViews(document);
    const auto& lines = loaded.waypointLines.lines;
    // Names and texts from the file are escaped as file names are: a crafted name must not
    // drive the terminal (clear it, retitle it) or forge lines.
    const auto shown = [this](std::string_view text) {
        return platform::PrintableName(platform::DecodeToUtf8(text, m_options.encoding));
    };
    for (std::size_t index = 0; index < lines.size(); ++index) {
        out << "  " << shown(lines[index]);
        if (index < views.size() && !views[index].description.empty()) {
            out << "  " << shown(views[index].description);
        }
        out << '\n';
    }
    out << "tracks: " << document.trackCount << '\n';
    for (const TrackEntry& track : document.TrackSpan()) {
        out << "  " << shown(TrackLine(track)) << "  " << TrackSummary(track) << '\n';
    }
    if (!loaded.loaded) {
        streams.err << platform::PrintableName(m_options.file) << ": " << loaded.failure << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace pelagor::cli
