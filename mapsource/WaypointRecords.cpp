#include "mapsource/WaypointRecords.h"

#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

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

bool ParseWaypointView(std::span<const std::uint8_t> body, MpsVersion version,
                       WaypointRecordView& view, std::string_view* rule) {
    if (version != MpsVersion::Unknown) {
        if (const auto structured = ParseStructure(body, version)) {
            view = *structured;
            return true;
        }
    }
    const auto fixed = ParseFixed(body, rule);
    if (!fixed) {
        return false;
    }
    view = *fixed;
    return true;
}

bool WaypointRecordList::ParseView(std::span<const std::uint8_t> body, WaypointRecordView& view,
                                   std::string_view* rule) const {
    return ParseWaypointView(body, m_version, view, rule);
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

bool WaypointRecordList::PlanRebuild(std::span<const WaypointEntry> entries,
                                     std::unique_ptr<WaypointBuild[]>& builds) const {
    if (!entries.empty() && Views().empty()) {
        return false;  // no template record to start from
    }
    builds = NewArray<WaypointBuild>(entries.size());
    if (!builds) {
        return false;
    }
    // The first reference record of each name; a later record of the same name never wins.
    std::unordered_map<std::string_view, std::size_t> templates;
    templates.reserve(Views().size());
    for (std::size_t index = 0; index < Views().size(); ++index) {
        templates.emplace(Views()[index].name, index);
    }
    RepeatedNameRenamer renamer(entries.size());
    for (std::size_t index = 0; index < entries.size(); ++index) {
        WaypointBuild& build = builds[index];
        // The template is chosen by the name before renaming.
        const auto found = templates.find(NameOf(entries[index].name));
        build.ownTemplate = found != templates.end();
        build.from = build.ownTemplate ? found->second : 0;
        build.name = entries[index].name;
        renamer.Settle(build.name);
    }
    return true;
}

namespace {

// The texts of a template that a built record leaves empty, in the order of the body: a template
// of another name lends everything but its description and notes, which belong to that other
// waypoint. The fixed layout keeps its middle text.
std::array<std::string_view, 2> EmptiedTexts(const WaypointRecordView& view,
                                             const WaypointBuild& build) {
    if (build.ownTemplate || view.layout == WaypointLayout::Fixed) {
        return {};
    }
    return {view.description, view.details.notes};
}

// Where the fields of a record built on `view` lie: the template's positions, moved by the new
// name's length and, past the description, by the characters it lost.
struct BuiltPositions {
    std::size_t latitude;
    std::size_t longitude;
    std::size_t altitudeValid;
    std::size_t altitude;
    std::size_t symbol;
};

BuiltPositions PositionsOf(const WaypointRecordView& view, const WaypointBuild& build) {
    const std::size_t nameLength = NameOf(build.name).size();
    const auto moved = [&](std::size_t position) {
        return position - view.name.size() + nameLength;
    };
    const std::size_t lostDescription = EmptiedTexts(view, build)[0].size();
    return {moved(view.latitude), moved(view.longitude), moved(view.altitudeValid),
            moved(view.altitude), moved(view.symbol) - lostDescription};
}

}  // namespace

void WaypointRecordList::EmitRebuilt(RecordCursor& cursor, const WaypointBuild& build,
                                     const WaypointEntry& entry) const {
    const WaypointRecordView& view = views[build.from];
    const auto from = records[build.from].Body();
    const std::string_view name = NameOf(build.name);
    const std::array<std::string_view, 2> emptied = EmptiedTexts(view, build);
    // The template's body after its name, up to the end of what a built record keeps, without
    // the characters of the emptied texts.
    const std::size_t keptStart = view.name.size() + 1;
    const std::size_t padding = build.padded ? 1 : 0;
    const std::uint64_t length = std::uint64_t{name.size()} + 1U + (view.end - keptStart) -
                                 emptied[0].size() - emptied[1].size() + padding;
    // A length past 32 bits makes an output that is refused before it is written.
    cursor.EmitU32(static_cast<std::uint32_t>(length));
    cursor.EmitU8(kType);
    const std::span<std::uint8_t> body = cursor.Reserve(length);
    if (body.empty()) {
        return;  // only counting
    }
    std::uint8_t* out = std::copy(name.begin(), name.end(), body.data());
    *out++ = 0;
    std::size_t copied = keptStart;
    for (const std::string_view text : emptied) {
        if (!text.empty()) {
            const auto start = static_cast<std::size_t>(text.data() - AsText(from).data());
            out = std::copy(from.begin() + static_cast<std::ptrdiff_t>(copied),
                            from.begin() + static_cast<std::ptrdiff_t>(start), out);
            copied = start + text.size();  // its terminator stays
        }
    }
    out = std::copy(from.begin() + static_cast<std::ptrdiff_t>(copied),
                    from.begin() + static_cast<std::ptrdiff_t>(view.end), out);
    std::fill_n(out, padding, std::uint8_t{0});

    const BuiltPositions at = PositionsOf(view, build);
    Guaranteed(StoreLe(body, at.latitude, entry.latitude));
    Guaranteed(StoreLe(body, at.longitude, entry.longitude));
    // An altitude is always written; MapSource ignores one that is not marked valid.
    Guaranteed(StoreLe(body, at.altitudeValid, std::uint8_t{1}));
    Guaranteed(StoreLe(body, at.altitude, static_cast<double>(entry.altitude)));
    // The low half of the 4-byte field; the high half stays the template's.
    Guaranteed(StoreLe(body, at.symbol, MapWaypointSymbol(entry.symbol)));
}

void WaypointRecordList::SettlePadding(std::span<WaypointBuild> builds,
                                       std::span<const WaypointEntry> entries) const {
    if (m_version == MpsVersion::Unknown) {
        return;  // the structure is never tried
    }
    std::vector<std::uint8_t> record;
    for (std::size_t index = 0; index < builds.size(); ++index) {
        WaypointBuild& build = builds[index];
        const WaypointRecordView& view = views[build.from];
        if (view.layout != WaypointLayout::Fixed) {
            continue;
        }
        build.padded = false;
        RecordCursor counting;
        EmitRebuilt(counting, build, entries[index]);
        record.resize(counting.total());
        RecordCursor writing(record);
        EmitRebuilt(writing, build, entries[index]);
        const auto body = std::span(record).subspan(kFrameSize);
        const auto structured = ParseStructure(body, m_version);
        const BuiltPositions at = PositionsOf(view, build);
        // One byte after the second block, which the fixed layout never reads, ends the
        // structure's claim: it must end exactly at the body's end.
        build.padded = structured && std::tie(structured->latitude, structured->symbol) !=
                                         std::tie(at.latitude, at.symbol);
    }
}

}  // namespace pelagor
