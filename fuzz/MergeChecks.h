#pragma once

// What a merge must deliver: a written file loads again as a reference and gives back the
// source's waypoints (names as renamed, positions, altitudes, symbols as mapped) and tracks, while
// the reference keeps its records as loaded.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "mapsource/MapSourceDocument.h"
#include "mapsource/WaypointNames.h"
#include "mapsource/WaypointRecords.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::fuzzing {

inline bool SameFloat(float written, float read) {
    return written == read || (std::isnan(written) && std::isnan(read));
}

inline std::string WaypointMismatch(const WaypointEntry& source, const WaypointEntry& output) {
    if (NameOf(source.name) != NameOf(output.name)) {
        return "name";
    }
    if (source.latitude != output.latitude || source.longitude != output.longitude) {
        return "position";
    }
    if (!SameFloat(source.altitude, output.altitude)) {
        return "altitude";
    }
    if (MapWaypointSymbol(source.symbol) != output.symbol) {
        return "symbol";
    }
    return {};
}

inline std::string TrackMismatch(const TrackEntry& source, const TrackEntry& output) {
    if (NameOf(source.name) != NameOf(output.name)) {
        return "name";
    }
    if (source.pointCount != output.pointCount) {
        return "point count";
    }
    for (std::int32_t index = 0; index < source.pointCount; ++index) {
        const TrackPoint& written = source.points[static_cast<std::size_t>(index)];
        const TrackPoint& read = output.points[static_cast<std::size_t>(index)];
        if (written.latitude != read.latitude || written.longitude != read.longitude ||
            written.time != read.time || !SameFloat(written.altitude, read.altitude)) {
            return "point " + std::to_string(index);
        }
    }
    return {};
}

// The first difference between the merged `source` and the reference `output` read back from
// the written file; empty when it gives the source back.
inline std::string RoundTripMismatch(const TrackLogDocument& source, std::int32_t outputLoaded,
                                     const MapSourceDocument& output) {
    if (outputLoaded == 0) {
        return "the written file does not load: " + output.FailureReason();
    }
    if (output.waypointCount != source.waypointCount || output.trackCount != source.trackCount) {
        return "the written file holds " + std::to_string(output.waypointCount) +
               " waypoints and " + std::to_string(output.trackCount) + " tracks";
    }
    // The source keeps its names; the output carries them made unique.
    RepeatedNameRenamer renamer(source.WaypointSpan().size());
    for (std::size_t index = 0; index < source.WaypointSpan().size(); ++index) {
        WaypointEntry written = source.WaypointSpan()[index];
        renamer.Settle(written.name);
        std::string what = WaypointMismatch(written, output.WaypointSpan()[index]);
        if (!what.empty()) {
            return "waypoint " + std::to_string(index) + ": " + what + " differs";
        }
    }
    for (std::size_t index = 0; index < source.TrackSpan().size(); ++index) {
        std::string what = TrackMismatch(source.TrackSpan()[index], output.TrackSpan()[index]);
        if (!what.empty()) {
            return "track " + std::to_string(index) + ": " + what + " differs";
        }
    }
    return {};
}

// A written waypoint has its template's description (and notes) when the template has the
// waypoint's name before renaming or is read by the fixed layout; a template of another name read
// by MapSource's structure lends no texts.
inline std::string TextsMismatch(const MapSourceDocument& reference, const TrackLogDocument& source,
                                 const MapSourceDocument& output) {
    const auto templates = reference.waypointRecords.Views();
    const auto written = output.waypointRecords.Views();
    for (std::size_t index = 0; index < written.size() && !templates.empty(); ++index) {
        const std::string_view name = NameOf(source.WaypointSpan()[index].name);
        const auto own = std::find_if(templates.begin(), templates.end(),
                                      [&](const auto& view) { return view.name == name; });
        const WaypointRecordView& from = own != templates.end() ? *own : templates.front();
        const bool structured = from.layout != WaypointLayout::Fixed;
        const bool lends = own != templates.end() || !structured;
        if (written[index].description != (lends ? from.description : "") ||
            (structured && written[index].details.notes != (lends ? from.details.notes : ""))) {
            return "waypoint " + std::to_string(index) + ": texts differ from its template's";
        }
    }
    return {};
}

// The reference's records as they would be written back: a merge must leave them as loaded.
inline std::vector<std::uint8_t> ReferenceRecords(const MapSourceDocument& reference) {
    const auto emit = [&](RecordCursor& cursor) {
        return reference.waypointRecords.EmitAll(cursor) && reference.trackRecords.EmitAll(cursor);
    };
    RecordCursor sizing;
    static_cast<void>(emit(sizing));
    std::vector<std::uint8_t> records(static_cast<std::size_t>(sizing.total()));
    RecordCursor writing(records);
    static_cast<void>(emit(writing));
    return records;
}

}  // namespace pelagor::fuzzing
