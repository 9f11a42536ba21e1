#include "mapsource/ArchiveRecords.h"

#include "bytes/LittleEndian.h"
#include "mapsource/MapSegments.h"
#include "mapsource/TrackRecords.h"

namespace pelagor {
namespace {

// A value the parse has shown to lie inside the body.
template <typename T>
T At(std::span<const std::uint8_t> body, std::size_t offset) {
    return Guaranteed(LoadLe<T>(body, offset));
}

// A validity byte and the double after it.
void ReadFlagged(std::span<const std::uint8_t> body, std::size_t offset, bool& valid,
                 double& value) {
    valid = At<std::uint8_t>(body, offset) != 0;
    value = At<double>(body, offset + 1);
}

}  // namespace

bool ReadArchiveWaypoint(std::span<const std::uint8_t> body, MpsVersion version,
                         ArchiveWaypoint& waypoint, std::string_view* rule) {
    WaypointRecordView view;
    if (!ParseWaypointView(body, version, view, rule)) {
        return false;
    }
    ArchiveWaypoint read;
    read.layout = view.layout;
    read.name = view.name;
    // The class follows the name in both layouts: the fixed layout's first block starts with it.
    read.waypointClass = At<std::uint32_t>(body, view.name.size() + 1);
    read.latitude = At<std::int32_t>(body, view.latitude);
    read.longitude = At<std::int32_t>(body, view.longitude);
    ReadFlagged(body, view.altitudeValid, read.altitudeValid, read.altitude);
    read.description = view.description;
    read.symbol = At<std::uint16_t>(body, view.symbol);
    if (view.layout != WaypointLayout::Fixed) {
        const WaypointDetails& details = view.details;
        read.country = details.country;
        ReadFlagged(body, details.proximityValid, read.proximityValid, read.proximity);
        read.display = At<std::uint32_t>(body, details.display);
        read.colour = At<std::uint32_t>(body, details.colour);
        read.city = details.city;
        read.state = details.state;
        read.facility = details.facility;
        ReadFlagged(body, details.depthValid, read.depthValid, read.depth);
        read.notes = details.notes;
    }
    waypoint = std::move(read);
    return true;
}

bool ReadArchiveTrack(std::span<const std::uint8_t> body, ArchiveTrack& track,
                      std::string_view* rule) {
    TrackRecordView view;
    if (!TrackRecordList::ParseView(body, view, rule)) {
        return false;
    }
    ArchiveTrack read;
    read.name = view.name;
    read.display = view.trackHeader[0] != 0;
    read.colour = LoadLe<std::uint32_t>(view.trackHeader.data() + 1);
    // The parse has matched the count with the bytes: nothing is made for points not there.
    read.points.resize(view.pointCount());
    const std::uint8_t* bytes = view.points.data();
    for (ArchiveTrackPoint& point : read.points) {
        point.latitude = LoadLe<std::int32_t>(bytes + trackpoint::kLatitude);
        point.longitude = LoadLe<std::int32_t>(bytes + trackpoint::kLongitude);
        point.altitudeValid = bytes[trackpoint::kAltitudeValid] != 0;
        point.altitude = LoadLe<double>(bytes + trackpoint::kAltitude);
        point.timeValid = bytes[trackpoint::kTimeValid] != 0;
        point.time = LoadLe<std::uint32_t>(bytes + trackpoint::kTime);
        point.depthValid = bytes[trackpoint::kDepth] != 0;
        point.depth = LoadLe<double>(bytes + trackpoint::kDepth + 1);
        bytes += kMpsTrackPointSize;
    }
    track = std::move(read);
    return true;
}

bool ReadArchiveSegment(std::span<const std::uint8_t> body, ArchiveMapSegment& segment,
                        std::string_view* rule) {
    MapSegmentView view;
    if (!MapSegmentList::ParseView(body, view, rule)) {
        return false;
    }
    segment = {std::string(view.texts[0]), std::string(view.texts[1]), std::string(view.texts[2])};
    return true;
}

bool ReadMapSetName(std::span<const std::uint8_t> body, std::string& name, std::string_view* rule) {
    ReadCursor cursor(body);
    const auto text = ReadText(cursor);
    if (!text) {
        return Refuse(rule, "map set name has no terminator");
    }
    name = *text;
    return true;
}

}  // namespace pelagor
