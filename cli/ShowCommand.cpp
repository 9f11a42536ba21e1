#include "cli/ShowCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

#include "cli/DocumentJson.h"
#include "cli/LoadedDocument.h"
#include "platform/CodePage.h"
#include "platform/PathText.h"
#include "tracklog/Derivations.h"
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

// The south-west and north-east corners of points, in degrees.
class Extent {
public:
    void Add(std::int32_t latitude, std::int32_t longitude) {
        const double north = SemicirclesToDegrees(latitude);
        const double east = SemicirclesToDegrees(longitude);
        m_south = std::min(m_south, north);
        m_north = std::max(m_north, north);
        m_west = std::min(m_west, east);
        m_east = std::max(m_east, east);
    }
    [[nodiscard]] std::string Text() const {
        return "latitude " + Range(m_south, m_north) + ", longitude " + Range(m_west, m_east);
    }

private:
    double m_south = std::numeric_limits<double>::infinity();
    double m_north = -std::numeric_limits<double>::infinity();
    double m_west = std::numeric_limits<double>::infinity();
    double m_east = -std::numeric_limits<double>::infinity();
};

// The track's times and extent: "08:00:00 to 09:59:00, latitude 25.0 to 25.1, longitude ...".
std::string TrackSummary(const TrackEntry& track) {
    if (track.pointCount <= 0) {
        return "no points";
    }
    const std::span<const TrackPoint> points(track.points.get(),
                                             static_cast<std::size_t>(track.pointCount));
    Extent extent;
    for (const TrackPoint& point : points) {
        extent.Add(point.latitude, point.longitude);
    }
    return Clock(points.front()) + " to " + Clock(points.back()) + ", " + extent.Text();
}

// The same for an archive's track: the clock reading of a point's time, as a track log's points
// have it; "--:--:--" for a point without a time.
std::string ArchiveClock(const ArchiveTrackPoint& point) {
    TrackPoint derived{};
    SetTrackPoint(derived, point.latitude, point.longitude, point.time, 0.0F);
    return point.timeValid ? Clock(derived) : "--:--:--";
}

std::string TrackSummary(const ArchiveTrack& track) {
    if (track.points.empty()) {
        return "no points";
    }
    Extent extent;
    for (const ArchiveTrackPoint& point : track.points) {
        extent.Add(point.latitude, point.longitude);
    }
    return ArchiveClock(track.points.front()) + " to " + ArchiveClock(track.points.back()) + ", " +
           extent.Text();
}

}  // namespace

CLI::App* ShowCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "show",
        "List a file for people: reader, waypoint lines, an archive's routes, tracks with times "
        "and extent.");
    m_options.AddTo(*command, "read FILE as a MapSource reference file");
    command->footer(
        "Waypoint lines are the dialog's (name and altitude), a reference's or an archive's "
        "followed by each waypoint's description; an archive lists its user waypoints (not the "
        "map points its routes pass), its routes with their points' names, and its tracks. Track "
        "times are the clock readings the dialog's documents hold, eight hours ahead of the "
        "file's clock.\n"
        "Exit status: 0 when the file loaded, 1 when it did not or an archive was read in part "
        "(the listing shows what it holds, stderr why), 2 for usage errors and files that cannot "
        "be read.");
    return command;
}

namespace {

// Names and texts from a file as a terminal shows them, escaped as file names are: a crafted
// name must not drive the terminal (clear it, retitle it) or forge lines.
struct Shown {
    std::string_view encoding;
    std::string operator()(std::string_view text) const {
        return platform::PrintableName(platform::DecodeToUtf8(text, encoding));
    }
};

void ShowDocument(std::ostream& out, const LoadedDocument& loaded, const Shown& shown) {
    const TrackLogDocument& document = *loaded.document;
    out << ReaderTitle(ReaderName(document)) << " reader, "
        << (loaded.loaded ? "loaded" : "did not load") << '\n';
    out << "waypoints: " << document.waypointCount << '\n';
    // A reference's waypoints show their descriptions after the dialog's lines.
    const auto views = ReferenceWaypointViews(document);
    const auto& lines = loaded.waypointLines.lines;
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
}

// The user's waypoints with their descriptions, the routes with their points' names, the tracks.
void ShowArchive(std::ostream& out, const MapSourceArchive& archive, const Shown& shown) {
    out << "MapSource archive" << (archive.format.empty() ? "" : " (" + archive.format + ")")
        << ", " << (archive.complete ? "loaded" : "read in part") << '\n';
    const std::size_t mapPoints = archive.waypoints.size() - archive.UserWaypointCount();
    out << "waypoints: " << archive.UserWaypointCount();
    if (mapPoints > 0) {
        out << " (and " << Counted(static_cast<std::int64_t>(mapPoints), "map point")
            << " that routes pass)";
    }
    out << '\n';
    archive.ForEachUserWaypoint([&](const ArchiveWaypoint& waypoint) {
        out << "  " << shown(ArchiveWaypointLine(waypoint));
        if (!waypoint.description.empty()) {
            out << "  " << shown(waypoint.description);
        }
        out << '\n';
    });
    out << "routes: " << archive.routes.size() << '\n';
    for (const ArchiveRoute& route : archive.routes) {
        out << "  " << shown(route.name) << " ("
            << Counted(static_cast<std::int64_t>(route.points.size()), "point") << ")\n    ";
        for (std::size_t index = 0; index < route.points.size(); ++index) {
            out << (index == 0 ? "" : ", ") << shown(route.points[index].name);
        }
        out << '\n';
    }
    out << "tracks: " << archive.tracks.size() << '\n';
    for (const ArchiveTrack& track : archive.tracks) {
        out << "  " << shown(ArchiveTrackLine(track)) << "  " << TrackSummary(track) << '\n';
    }
}

}  // namespace

int ShowCommand::Execute(Streams streams) {
    LoadedDocument loaded;
    if (const auto stop = m_options.Load(streams, loaded)) {
        return *stop;
    }
    const Shown shown{m_options.encoding};
    streams.out << platform::PrintableName(m_options.file) << ": ";
    if (loaded.archive) {
        ShowArchive(streams.out, *loaded.archive, shown);
    } else {
        ShowDocument(streams.out, loaded, shown);
    }
    if (!loaded.loaded) {
        ReportFailure(streams.err, m_options.file, loaded);
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace pelagor::cli
