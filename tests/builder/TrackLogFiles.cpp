#include "builder/TrackLogFiles.h"

#include <cassert>

namespace pelagor::testkit {

std::vector<std::uint8_t> WtrFile(const std::vector<SampleWaypoint>& waypoints,
                                  const std::optional<SampleTrack>& track) {
    ByteBuilder file;
    file.Text("\xFFWpt\xFF").PadTo(kWtrFirstSlot);
    for (const auto& waypoint : waypoints) {
        const std::size_t start = file.size();
        file.Text(waypoint.name.substr(0, 10)).PadTo(start + 20);
        file.I32le(waypoint.latitude).I32le(waypoint.longitude).F32le(waypoint.altitude);
        file.Fill(8).U16le(waypoint.symbol).PadTo(start + kWtrSlotSize);
    }
    const std::size_t trackStart = file.size();
    file.Text("\xFFTrk\xFF").PadTo(trackStart + kWtrHeaderMarkerAt);
    if (!track) {
        return file.PadTo(trackStart + kWtrSlotSize).Take();
    }
    file.Text("\xEEhdr\xEE").PadTo(trackStart + kWtrFirstPointAt);
    for (const auto& point : track->points) {
        file.I32le(point.latitude).I32le(point.longitude).U32le(point.time);
        file.F32le(point.altitude).Fill(5);
    }
    file.Text("\xFFRte\xFF").Fill(16);
    // Written last: a name of 16 characters or more runs into the first point slot.
    file.PatchText(trackStart + kWtrTrackNameAt, track->name);
    if (track->name.size() < 32) {
        file.PatchValue<std::uint8_t>(trackStart + kWtrTrackNameAt + track->name.size(), 0);
    }
    return file.Take();
}

void EvoHeader(ByteBuilder& file, std::uint16_t waypointCount, std::uint16_t trackCount) {
    file.Text("EVO-TRACKLOG").PadTo(kEvoWaypointCountAt, 0x20);
    file.U16le(waypointCount).U16le(0).U16le(trackCount).PadTo(kEvoFirstRecord);
}

void EvoWaypointRecord(ByteBuilder& file, const SampleWaypoint& waypoint) {
    file.Text({"\0\xFF\0", 3}).Fill(21, 0x11);
    file.I32le(waypoint.latitude).I32le(waypoint.longitude).F32le(waypoint.altitude);
    file.Fill(16, 0x11);
    file.Text(waypoint.name.substr(0, 10)).U8('\n').Fill(9, 0x11).U16le(waypoint.symbol);
}

void EvoTrackRecord(ByteBuilder& file, const SampleTrack& track) {
    assert(track.name.starts_with("AC") && "an EVO track is found by the AC of its name");
    file.Fill(2).Text(track.name).U8('\n');
    file.I32le(static_cast<std::int32_t>(track.points.size()));
    for (const auto& point : track.points) {
        file.I32le(point.latitude).I32le(point.longitude).U32le(point.time);
        file.F32le(point.altitude).Fill(8, 0x22);
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
