#pragma once

// What the GPX export of any MapSource archive must be: well-formed XML, with a route and a
// track element for each route and track, and no more waypoints than the user's.

#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/XmlCheck.h"
#include "gpx/GpxExport.h"
#include "mapsource/MapSourceArchive.h"

namespace pelagor::fuzzing {

// Keeps what it is given; refuses it, as a full disk would, once `refuse` is set.
class TextSink final : public platform::OutputSink {
public:
    bool Write(std::span<const std::uint8_t> bytes) override {
        text.append(bytes.begin(), bytes.end());
        return !refuse;
    }
    std::string text;
    bool refuse = false;
};

inline std::size_t Occurrences(std::string_view text, std::string_view what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size())) {
        ++count;
    }
    return count;
}

// The first broken rule of the GPX export of `bytes` read as an archive, or empty. Texts are
// escaped, so that markup in the GPX is the export's own.
inline std::string GpxFault(std::span<const std::uint8_t> bytes) {
    MapSourceArchive archive;
    if (!LoadArchive(bytes, archive)) {
        return {};
    }
    TextSink sink;
    std::ostringstream warnings;
    const gpx::GpxSource source{"fuzz.mps", nullptr, &archive};
    if (!gpx::ExportGpx({&source, 1}, "cp950", "fuzz", warnings, sink)) {
        return "the GPX export failed: " + warnings.str();
    }
    if (std::string fault = XmlCheck::Fault(sink.text); !fault.empty()) {
        return "GPX not well-formed: " + fault;
    }
    if (Occurrences(sink.text, "<wpt ") > archive.UserWaypointCount() ||
        Occurrences(sink.text, "<rte>") != archive.routes.size() ||
        Occurrences(sink.text, "<trk>") != archive.tracks.size()) {
        return "the GPX does not hold the archive's waypoints, routes and tracks";
    }
    return {};
}

}  // namespace pelagor::fuzzing
