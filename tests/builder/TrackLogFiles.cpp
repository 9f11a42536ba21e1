#include "builder/TrackLogFiles.h"

#include <cassert>

namespace pelagor::testkit {

void WtrHead(ByteBuilder& file) {
    file.Bytes({0xFF, 'W', 'p', 't', 0xFF}).PadTo(kWtrFirstSlot);
}

void WtrWaypointSlot(ByteBuilder& file, const SampleWaypoint& waypoint) {
    const std::size_t start = file.size();
    file.Text(waypoint.name.substr(0, 10)).PadTo(start + 20);
    file.I32(waypoint.latitude).I32(waypoint.longitude).F32(waypoint.altitude);
    file.Fill(8).U16(waypoint.symbol).PadTo(start + kWtrSlotSize);
}

void WtrTrackHead(ByteBuilder& file, bool withHeaderMarker) {
    const std::size_t start = file.size();
    file.Bytes({0xFF, 'T', 'r', 'k', 0xFF}).PadTo(start + kWtrHeaderMarkerAt);
    if (withHeaderMarker) {
        file.Bytes({0xEE, 'h', 'd', 'r', 0xEE});
    } else {
        file.Fill(5);
    }
    file.PadTo(start + kWtrFirstPointAt);
}

void WtrTrackName(ByteBuilder& file, std::size_t trackStart, const std::string& name) {
    file.PatchText(trackStart + kWtrTrackNameAt, name);
    if (name.size() < 32) {
        file.PatchValue<std::uint8_t>(trackStart + kWtrTrackNameAt + name.size(), 0);
    }
}

void WtrPointSlot(ByteBuilder& file, const SamplePoint& point) {
    file.I32(point.latitude).I32(point.longitude).U32(point.time).F32(point.altitude).Fill(5);
}

void WtrEndSlot(ByteBuilder& file) {
    file.Bytes({0xFF, 'R', 't', 'e', 0xFF}).Fill(16);
}

std::vector<std::uint8_t> WtrFile(const std::vector<SampleWaypoint>& waypoints,
                                  const std::optional<SampleTrack>& track) {
    ByteBuilder file;
    WtrHead(file);
    for (const auto& waypoint : waypoints) {
        WtrWaypointSlot(file, waypoint);
    }
    const std::size_t trackStart = file.size();
    WtrTrackHead(file, track.has_value());
    if (!track) {
        file.PadTo(trackStart + kWtrSlotSize);
        return file.Take();
    }
    for (const auto& point : track->points) {
        WtrPointSlot(file, point);
    }
    WtrEndSlot(file);
    // Written last: a name of 16 characters or more runs into the first point slot.
    WtrTrackName(file, trackStart, track->name);
    return file.Take();
}

void EvoHeader(ByteBuilder& file, std::uint16_t waypointCount, std::uint16_t trackCount) {
    file.Text("EVO-TRACKLOG").PadTo(kEvoWaypointCountAt, 0x20);
    file.U16(waypointCount).U16(0).U16(trackCount).PadTo(kEvoFirstRecord);
}

void EvoWaypointRecord(ByteBuilder& file, const SampleWaypoint& waypoint) {
    file.Bytes({0x00, 0xFF, 0x00}).Fill(21, 0x11);
    file.I32(waypoint.latitude).I32(waypoint.longitude).F32(waypoint.altitude);
    file.Fill(16, 0x11);
    file.Text(waypoint.name.substr(0, 10)).U8('\n').Fill(9, 0x11).U16(waypoint.symbol);
}

void EvoTrackRecord(ByteBuilder& file, const SampleTrack& track) {
    assert(track.name.starts_with("AC") && "an EVO track is found by the AC of its name");
    file.Bytes({0x00, 0x00}).Text(track.name).U8('\n');
    file.I32(static_cast<std::int32_t>(track.points.size()));
    for (const auto& point : track.points) {
        file.I32(point.latitude).I32(point.longitude).U32(point.time).F32(point.altitude);
        file.Fill(8, 0x22);
    }
}

std::vector<std::uint8_t> EvoFile(const std::vector<SampleWaypoint>& waypoints,
                                  const std::vector<SampleTrack>& tracks) {
    ByteBuilder file;
    EvoHeader(file, static_cast<std::uint16_t>(waypoints.size()),
              static_cast<std::uint16_t>(tracks.size()));
    for (const auto& waypoint : waypoints) {
        EvoWaypointRecord(file, waypoint);
    }
    for (const auto& track : tracks) {
        EvoTrackRecord(file, track);
    }
    return file.Take();
}

}  // namespace pelagor::testkit
