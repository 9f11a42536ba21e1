#include "mapsource/WaypointRecords.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "mapsource/WaypointNames.h"

namespace pelagor {
namespace {

template <typename T, std::size_t N>
T ValueAt(const std::array<std::uint8_t, N>& block, std::size_t offset) {
    static_assert(std::endian::native == std::endian::little);
    T value{};
    std::memcpy(&value, block.data() + offset, sizeof(T));
    return value;
}

template <typename T, std::size_t N>
void PutValue(std::array<std::uint8_t, N>& block, std::size_t offset, T value) {
    std::memcpy(block.data() + offset, &value, sizeof(T));
}

}  // namespace

std::uint16_t MapWaypointSymbol(std::uint16_t sourceSymbol) {
    switch (sourceSymbol) {
        case 8246:
            return 106;
        case 161:
            return 48;
        default:
            return 18;
    }
}

bool WaypointRecordList::ParseView(const MpsRecord& record, WaypointRecordView& view,
                                   std::string_view* rule) const {
    ReadCursor body(record.Body());
    const auto name = ReadText(body);
    if (!name) {
        return Refuse(rule, "waypoint name has no terminator");
    }
    const auto block1 = body.Bytes(WaypointRecordView::kBlock1Size);
    if (!block1) {
        return Refuse(rule, "waypoint body shorter than its 46-byte first block");
    }
    const auto midText = ReadText(body);
    if (!midText) {
        return Refuse(rule, "waypoint middle text has no terminator");
    }
    const auto block2 = body.Bytes(WaypointRecordView::kBlock2Size);
    if (!block2) {
        return Refuse(rule, "waypoint body shorter than its 43-byte second block");
    }
    view.name = *name;
    std::copy(block1->begin(), block1->end(), view.block1.begin());
    view.midText = *midText;
    std::copy(block2->begin(), block2->end(), view.block2.begin());
    return true;
}

bool WaypointRecordList::GetEntry(std::int32_t index, WaypointEntry& entry) const {
    if (index < 0 || index >= recordCount || !views) {
        return false;
    }
    const WaypointRecordView& view = views[static_cast<std::size_t>(index)];
    SetName(entry.name, view.name);
    entry.latitude = ValueAt<std::int32_t>(view.block1, WaypointRecordView::kLatitudeOffset);
    entry.longitude = ValueAt<std::int32_t>(view.block1, WaypointRecordView::kLongitudeOffset);
    entry.altitude =
        static_cast<float>(ValueAt<double>(view.block1, WaypointRecordView::kAltitudeOffset));
    entry.symbol = ValueAt<std::uint16_t>(view.block2, WaypointRecordView::kSymbolOffset);
    return true;
}

bool WaypointRecordList::RebuildFromEntries(std::int32_t count, WaypointEntry* entries) {
    if (count < 0 || (count > 0 && (entries == nullptr || Views().empty()))) {
        return false;  // no template record to start from
    }
    const auto length = static_cast<std::size_t>(count);
    auto newRecords = NewArray<MpsRecord>(length);
    if (length != 0 && !newRecords) {
        return false;
    }
    // The first reference record of each name; a later record of the same name never wins.
    std::unordered_map<std::string_view, std::size_t> templates;
    templates.reserve(Views().size());
    for (std::size_t index = 0; index < Views().size(); ++index) {
        templates.emplace(Views()[index].name, index);
    }
    RepeatedNameRenamer renamer(length);
    for (std::size_t index = 0; index < length; ++index) {
        WaypointEntry& entry = entries[index];
        const auto found = templates.find(NameOf(entry.name));
        WaypointRecordView working = Views()[found == templates.end() ? 0 : found->second];
        PutValue(working.block1, WaypointRecordView::kLatitudeOffset, entry.latitude);
        PutValue(working.block1, WaypointRecordView::kLongitudeOffset, entry.longitude);
        PutValue(working.block1, WaypointRecordView::kAltitudeOffset,
                 static_cast<double>(entry.altitude));
        PutValue(working.block2, WaypointRecordView::kSymbolOffset,
                 MapWaypointSymbol(entry.symbol));
        renamer.Settle(entry.name);
        working.name = NameOf(entry.name);
        if (!BuildRecord(working, newRecords[index])) {
            return false;
        }
    }
    return ReplaceRecords(std::move(newRecords), length);
}

bool WaypointRecordList::BuildRecord(const WaypointRecordView& view, MpsRecord& record) {
    const std::uint64_t length = std::uint64_t{view.name.size()} + view.midText.size() + 2U +
                                 WaypointRecordView::kBlock1Size + WaypointRecordView::kBlock2Size;
    if (!AllocateRecord(record, kType, length)) {
        return false;
    }
    std::uint8_t* out = record.body.get();
    out = std::copy(view.name.begin(), view.name.end(), out);
    *out++ = 0;
    out = std::copy(view.block1.begin(), view.block1.end(), out);
    out = std::copy(view.midText.begin(), view.midText.end(), out);
    *out++ = 0;
    std::copy(view.block2.begin(), view.block2.end(), out);
    return true;
}

}  // namespace pelagor
