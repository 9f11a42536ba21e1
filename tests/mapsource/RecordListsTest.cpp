// Waypoint and track records: the body forms, and the rebuild with its templates, symbols and
// renaming.

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "MpsTestSupport.h"
#include "mapsource/TrackRecords.h"
#include "mapsource/WaypointRecords.h"

namespace pelagor::testkit {
namespace {

bool ParseOne(WaypointRecordList& list, MpsVersion version, const Bytes& body,
              MpsFault* fault = nullptr) {
    list.SetVersion(version);
    const Bytes file = Framed({}, {{'W', body}});
    ReadCursor cursor(file);
    return list.ParseList(cursor, fault);
}

std::vector<WaypointEntry> Entries(const std::vector<std::string>& names) {
    std::vector<WaypointEntry> entries(names.size(), WaypointEntry{});
    for (std::size_t i = 0; i < names.size(); ++i) {
        SetName(entries[i].name, names[i]);
    }
    return entries;
}

// MapSource's structure first when the version is known, else (or when it does not fit) the
// fixed layout; refused when neither fits, with the fixed layout's reason.
TEST(WaypointParseView, StructureFirstThenTheFixedLayout) {
    using enum MpsVersion;
    const std::string_view shortBlock2 = "waypoint body shorter than its 43-byte second block";
    const MpsRealWaypoint real{"GC1A37", 430578619, -1034127312, 250.5, "The Troll", 0x00070012};
    MpsRealWaypoint v3 = real;
    v3.version = 3;
    MpsRealWaypoint partShaped = real;  // the fixed layout's blocks, at the same positions
    partShaped.country = "US";
    partShaped.city = "AB";
    Bytes noMidTerminator(1 + 46, 0);
    noMidTerminator.insert(noMidTerminator.end(), 44, 'x');
    const struct {
        const char* name;
        Bytes body;
        std::string_view rule;
        std::optional<WaypointLayout> layout{};  // empty when refused
        MpsVersion version = V4;
    } cases[] = {
        {"version 4", MpsRealWaypointBody(real), "", WaypointLayout::V4},
        {"version 3", MpsRealWaypointBody(v3), "", WaypointLayout::V3, V3},
        {"version 3 record in a version 4 file", MpsRealWaypointBody(v3), shortBlock2},
        {"unknown version", MpsRealWaypointBody(partShaped), "", WaypointLayout::Fixed, Unknown},
        {"only the fixed layout fits",
         MpsWaypointBody({"GC1A37", 430578619, -1034127312, 250.5, 18, "The Troll", 0x11}), "",
         WaypointLayout::Fixed},
        {"90 bytes", MpsWaypointBody(MpsWaypoint{.block2Size = 42}), shortBlock2},
        {"name without terminator", Bytes(120, 'N'), "waypoint name has no terminator"},
        {"middle text without terminator", noMidTerminator,
         "waypoint middle text has no terminator"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WaypointRecordList list;
        MpsFault fault;
        ASSERT_EQ(ParseOne(list, c.version, c.body, &fault), c.layout.has_value());
        EXPECT_EQ(fault.rule, c.rule);
        if (c.layout) {
            EXPECT_EQ(list.Views()[0].layout, *c.layout);
            EXPECT_EQ(list.Views()[0].description, "The Troll");
            WaypointEntry entry;
            ASSERT_TRUE(list.GetEntry(0, entry));
            EXPECT_EQ(std::make_tuple(NameOf(entry.name), entry.latitude, entry.longitude,
                                      entry.altitude, entry.symbol),
                      std::make_tuple("GC1A37", 430578619, -1034127312, 250.5F, 18));
        }
    }
}

TEST(WaypointRebuild, RenamesRepeatedNamesExactly) {
    const struct {
        std::vector<std::string> names;
        std::vector<std::string> expected;
    } cases[] = {
        {{"HOME", "HOME", "HOME"}, {"HOME", "HOMEA", "HOMEB"}},
        {{"MY WPT", "MY WPT"}, {"MY WPT", "MYAWPT"}},
        {{"ABCDEFGHIJK", "ABCDEFGHIJK"}, {"ABCDEFGHIJK", "ABCDEFGHIAK"}},
        {{"XA", "X", "X"}, {"XA", "X", "XB"}},
        {{"", "", ""}, {"", "A", "AB"}},
    };
    WaypointRecordList list;
    ASSERT_TRUE(ParseOne(list, MpsVersion::Unknown, MpsWaypointBody({.name = "REF"})));
    for (const auto& c : cases) {
        const std::vector<WaypointEntry> entries = Entries(c.names);
        std::unique_ptr<WaypointBuild[]> builds;
        ASSERT_TRUE(list.PlanRebuild(entries, builds));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(NameOf(builds[i].name), c.expected[i]);
            EXPECT_EQ(NameOf(entries[i].name), c.names[i]);  // the entries keep theirs
        }
    }
}

TEST(TrackParseView, BodyLengthMustMatchThePointCountExactly) {
    const std::string_view mismatch = "track body length does not match its point count";
    const Bytes twoPoints = MpsTrackBody({"AB", {1, 0, 0, 0, 0}, {{1, 2, 3, 4}, {5, 6, 7, 8}}});
    Bytes longer = twoPoints;
    longer.push_back(0);
    const struct {
        const char* name;
        Bytes body;
        std::string_view rule;  // empty when the body parses
    } cases[] = {
        {"two points", twoPoints, ""},
        {"one byte longer", longer, mismatch},
        {"one byte shorter", Bytes(twoPoints.begin(), twoPoints.end() - 1), mismatch},
        // 31 × 138547333 = 2^32 + 27: agrees with a 27-byte rest only modulo 2^32.
        {"product wraps to the length",
         ByteBuilder().TextZ("AB").Fill(5).U32le(138547333U).Fill(27).Take(), mismatch},
        {"shorter than its header", ByteBuilder().TextZ("AB").Fill(8).Take(),
         "track body shorter than its 9-byte track header"},
    };
    for (const auto& c : cases) {
        TrackRecordList list;
        TrackRecordView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(c.body, view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
    }
}

// A point is built on the first track record when it holds one, else on the built-in template.
TEST(TrackRebuild, BuiltInTemplateWhenTheReferenceOffersNoPoint) {
    for (const bool referenceTrack : {false, true}) {
        const Bytes file = referenceTrack
                               ? Framed({}, {{'T', MpsTrackBody({"R", {7, 7, 7, 7, 7}, {}})}})
                               : Bytes{};
        TrackRecordList list;
        ReadCursor cursor(file);
        ASSERT_TRUE(list.ParseList(cursor));
        const auto source = SourceDocument({{"W"}}, {{"ACS", {{1, 2, 3, 4.0F}}}});
        Bytes record(kFrameSize + 4 + kTrackHeaderSize + kMpsTrackPointSize);
        RecordCursor writing(record);
        TrackRecordList::BuildRecord(writing, source->tracks[0],
                                     list.TemplateFor(source->TrackSpan()));
        EXPECT_EQ(record,
                  Framed({}, {{'T', MpsTrackBody({"ACS", {1, 0, 0, 0, 0}, {{1, 2, 4.0, 3}}})}}))
            << referenceTrack;
    }
}

}  // namespace
}  // namespace pelagor::testkit
