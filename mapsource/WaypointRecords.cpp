#include "mapsource/WaypointRecords.h"

#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>

#include "bytes/LittleEndian.h"
#include "mapsource/WaypointNames.h"

namespace pelagor {
namespace {

// Fixed fields between the texts of MapSource's structure, in bytes.
constexpr std::size_t kClassSize = 4;
constexpr std::size_t kAfterCountry4 = 18 + 4;  // subclass and 4 unknown bytes
constexpr std::size_t kAfterCountry3 = 17;
constexpr std::size_t kPositionAndAltitude = 4 + 4 + 1 + 8;
constexpr std::size_t kProximity = 1 + 8;  // proximity valid and proximity
constexpr std::size_t kDisplaySize = 4;
constexpr std::size_t kBeforeSymbol = kProximity + kDisplaySize + 4;  // and the colour
constexpr std::size_t kSymbolSize = 4;
constexpr std::size_t kDepth = 1 + 1 + 8;  // an unknown byte, depth valid and depth
constexpr std::size_t kTail4 = 6;          // before the notes
constexpr std::size_t kTail3 = 2;          // 3.x has no notes

// The fixed layout's blocks and offsets.
constexpr std::size_t kBlock1Size = 46;
constexpr std::size_t kBlock2Size = 43;
constexpr std::size_t kFixedLatitude = 29;
constexpr std::size_t kFixedSymbol = 17;

// The positions of latitude, longitude, altitude valid and altitude, which follow one another in
// both layouts, from where the latitude lies.
void SetPosition(WaypointRecordView& view, std::size_t latitude) {
    view.latitude = latitude;
    view.longitude = latitude + 4;
    view.altitudeValid = latitude + 8;
    view.altitude = latitude + 9;
}

// The record read by MapSource's structure; empty unless every text and field lies inside the
// body and the last one ends at the body's end.
std::optional<WaypointRecordView> ParseStructure(std::span<const std::uint8_t> body,
                                                 MpsVersion version) {
    const bool v3 = version == MpsVersion::V3;
    ReadCursor cursor(body);
    WaypointRecordView view;
    WaypointDetails& details = view.details;
    view.layout = v3 ? WaypointLayout::V3 : WaypointLayout::V4;
    const auto name = ReadText(cursor);
    details.waypointClass = cursor.position();
    if (!name || !cursor.Skip(kClassSize)) {
        return std::nullopt;
    }
    const auto country = ReadText(cursor);
    if (!country || !cursor.Skip(v3 ? kAfterCountry3 : kAfterCountry4)) {
        return std::nullopt;
    }
    SetPosition(view, cursor.position());
    if (!cursor.Skip(kPositionAndAltitude)) {
        return std::nullopt;
    }
    const auto description = ReadText(cursor);
    details.proximityValid = cursor.position();
    details.display = details.proximityValid + kProximity;
    details.colour = details.display + kDisplaySize;
    if (!description || !cursor.Skip(kBeforeSymbol)) {
        return std::nullopt;
    }
    view.symbol = cursor.position();
    if (!cursor.Skip(kSymbolSize)) {
        return std::nullopt;
    }
    const auto city = ReadText(cursor);
    const auto state = city ? ReadText(cursor) : std::nullopt;
    const auto facility = state ? ReadText(cursor) : std::nullopt;
    details.depthValid = cursor.position() + 1;  // after an unknown byte
    if (!facility || !cursor.Skip(kDepth)) {
        return std::nullopt;
    }
    std::optional<std::string_view> notes = std::string_view();
    if (v3 ? !cursor.Skip(kTail3) : !(cursor.Skip(kTail4) && (notes = ReadText(cursor)))) {
        return std::nullopt;
    }
    if (!cursor.AtEnd()) {
        return std::nullopt;
    }
    view.name = *name;
    view.description = *description;
    details.country = *country;
    details.city = *city;
    details.state = *state;
    details.facility = *facility;
    details.notes = *notes;
    view.end = cursor.position();
    return view;
}

// The record read by the fixed layout; empty, with the rule it breaks, unless it fits.
std::optional<WaypointRecordView> ParseFixed(std::span<const std::uint8_t> body,
                                             std::string_view* rule) {
    ReadCursor cursor(body);
    const auto name = ReadText(cursor);
    if (!name) {
        Refuse(rule, "waypoint name has no terminator");
        return std::nullopt;
    }
    const std::size_t block1 = cursor.position();
    if (!cursor.Skip(kBlock1Size)) {
        Refuse(rule, "waypoint body shorter than its 46-byte first block");
        return std::nullopt;
    }
    const auto midText = ReadText(cursor);
    if (!midText) {
        Refuse(rule, "waypoint middle text has no terminator");
        return std::nullopt;
    }
    const std::size_t block2 = cursor.position();
    if (!cursor.Skip(kBlock2Size)) {
        Refuse(rule, "waypoint body shorter than its 43-byte second block");
        return std::nullopt;
    }
    WaypointRecordView view;
    view.name = *name;
    view.description = *midText;
    SetPosition(view, block1 + kFixedLatitude);
    view.symbol = block2 + kFixedSymbol;
    view.end = cursor.position();
    return view;
}

// A body read by the layout it is known to have: a rebuilt record keeps its template's.
WaypointRecordView ParseAs(WaypointLayout layout, std::span<const std::uint8_t> body) {
    if (layout == WaypointLayout::Fixed) {
        return Guaranteed(ParseFixed(body, nullptr));
    }
    return Guaranteed(
        ParseStructure(body, layout == WaypointLayout::V3 ? MpsVersion::V3 : MpsVersion::V4));
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
    if (m_version != MpsVersion::Unknown) {
        if (const auto structured = ParseStructure(record.Body(), m_version)) {
            view = *structured;
            return true;
        }
    }
    const auto fixed = ParseFixed(record.Body(), rule);
    if (!fixed) {
        return false;
    }
    view = *fixed;
    return true;
}

bool WaypointRecordList::GetEntry(std::int32_t index, WaypointEntry& entry) const {
    if (index < 0 || index >= recordCount || !views) {
        return false;
    }
    const auto at = static_cast<std::size_t>(index);
    const WaypointRecordView& view = views[at];
    const auto body = records[at].Body();
    SetName(entry.name, view.name);
    entry.latitude = Guaranteed(LoadLe<std::int32_t>(body, view.latitude));
    entry.longitude = Guaranteed(LoadLe<std::int32_t>(body, view.longitude));
    entry.altitude = static_cast<float>(Guaranteed(LoadLe<double>(body, view.altitude)));
    entry.symbol = Guaranteed(LoadLe<std::uint16_t>(body, view.symbol));
    return true;
}

namespace {

// A new record from `from`, its template: the template's body up to the view's end with the
// name replaced, the entry's values written at the template's positions. `built` gets the new
// record's view.
bool BuildRecord(const MpsRecord& from, const WaypointRecordView& view, std::string_view name,
                 const WaypointEntry& entry, std::size_t padding, MpsRecord& record,
                 WaypointRecordView& built) {
    const std::size_t keptStart = view.name.size() + 1;
    const auto kept = from.Body().subspan(keptStart, view.end - keptStart);
    if (!AllocateRecord(record, WaypointRecordList::kType,
                        std::uint64_t{name.size()} + 1U + kept.size() + padding)) {
        return false;
    }
    const std::span<std::uint8_t> body(record.body.get(), record.length);
    std::uint8_t* out = std::copy(name.begin(), name.end(), body.data());
    *out++ = 0;
    out = std::copy(kept.begin(), kept.end(), out);
    std::fill_n(out, padding, std::uint8_t{0});

    // The new record has its template's layout with another name: read by that layout, never
    // guessed afresh.
    built = ParseAs(view.layout, body);
    Guaranteed(StoreLe(body, built.latitude, entry.latitude));
    Guaranteed(StoreLe(body, built.longitude, entry.longitude));
    // An altitude is always written; MapSource ignores one that is not marked valid.
    Guaranteed(StoreLe(body, built.altitudeValid, std::uint8_t{1}));
    Guaranteed(StoreLe(body, built.altitude, static_cast<double>(entry.altitude)));
    // The low half of the 4-byte field; the high half stays the template's.
    Guaranteed(StoreLe(body, built.symbol, MapWaypointSymbol(entry.symbol)));
    return true;
}

}  // namespace

bool WaypointRecordList::ReadsElsewhere(const MpsRecord& record,
                                        const WaypointRecordView& view) const {
    if (view.layout != WaypointLayout::Fixed || m_version == MpsVersion::Unknown) {
        return false;
    }
    const auto structured = ParseStructure(record.Body(), m_version);
    return structured && std::tie(structured->latitude, structured->symbol) !=
                             std::tie(view.latitude, view.symbol);
}

bool WaypointRecordList::RebuildFromEntries(std::int32_t count, WaypointEntry* entries) {
    if (count < 0 || (count > 0 && (entries == nullptr || Views().empty()))) {
        return false;  // no template record to start from
    }
    const auto length = static_cast<std::size_t>(count);
    auto newRecords = NewArray<MpsRecord>(length);
    auto newViews = NewArray<WaypointRecordView>(length);
    if (length != 0 && (!newRecords || !newViews)) {
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
        const std::size_t from = found == templates.end() ? 0 : found->second;
        renamer.Settle(entry.name);
        const WaypointRecordView& view = Views()[from];
        if (!BuildRecord(records[from], view, NameOf(entry.name), entry, 0, newRecords[index],
                         newViews[index])) {
            return false;
        }
        if (ReadsElsewhere(newRecords[index], newViews[index])) {
            // One byte after the second block, which the fixed layout never reads, ends the
            // structure's claim: it must end exactly at the body's end.
            ReleaseRecord(newRecords[index]);
            if (!BuildRecord(records[from], view, NameOf(entry.name), entry, 1, newRecords[index],
                             newViews[index])) {
                return false;
            }
        }
    }
    // The new records keep their templates' layouts: parsed afresh, a record built on the fixed
    // layout could fit the structure once its new values are in, and read differently.
    ReplaceRecords(std::move(newRecords), std::move(newViews), length);
    return true;
}

}  // namespace pelagor
