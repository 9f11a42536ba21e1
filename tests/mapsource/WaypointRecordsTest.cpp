// Waypoint records: the body form, and the rebuild with its templates, symbols and renaming.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <tuple>

#include "MpsTestSupport.h"
#include "mapsource/WaypointRecords.h"

namespace pelagor::testkit {
namespace {

using Name = std::array<char, 12>;

std::unique_ptr<WaypointRecordList> ListOf(const std::vector<MpsWaypoint>& waypoints) {
    ByteBuilder file;
    for (const MpsWaypoint& waypoint : waypoints) {
        MpsFrame(file, 'W', MpsWaypointBody(waypoint));
    }
    auto list = std::make_unique<WaypointRecordList>();
    ReadCursor cursor(file.bytes());
    EXPECT_TRUE(list->ParseList(cursor));
    return list;
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
    const MpsWaypoint fixed{"GC1A37", 430578619, -1034127312, 250.5, 18, "The Troll", 0x11};
    Bytes longer = MpsRealWaypointBody(partShaped);
    longer.push_back(0);
    Bytes shorter = MpsRealWaypointBody(partShaped);
    shorter.pop_back();
    Bytes unterminated = MpsRealWaypointBody(real);
    unterminated.back() = 'x';  // the notes run past the body
    Bytes noMidTerminator(1 + 46, 0);
    noMidTerminator.insert(noMidTerminator.end(), 44, 'x');
    const struct {
        const char* name;
        MpsVersion version;
        Bytes body;
        std::optional<WaypointLayout> layout;  // empty when refused
        std::string_view rule;
    } cases[] = {
        {"version 4", V4, MpsRealWaypointBody(real), WaypointLayout::V4, ""},
        {"version 5, laid out as 4", V5, MpsRealWaypointBody(real), WaypointLayout::V4, ""},
        {"version 3", V3, MpsRealWaypointBody(v3), WaypointLayout::V3, ""},
        {"version 3 record in a version 4 file", V4, MpsRealWaypointBody(v3), {}, shortBlock2},
        {"unknown version", Unknown, MpsRealWaypointBody(partShaped), WaypointLayout::Fixed, ""},
        {"only the fixed layout fits", V4, MpsWaypointBody(fixed), WaypointLayout::Fixed, ""},
        {"structure one byte long", V4, longer, WaypointLayout::Fixed, ""},
        {"structure one byte short", V4, shorter, {}, shortBlock2},
        {"texts run past the body", V4, unterminated, {}, shortBlock2},
        {"91 bytes, empty texts", V4, MpsWaypointBody(MpsWaypoint{}), WaypointLayout::Fixed, ""},
        {"90 bytes", V4, MpsWaypointBody(MpsWaypoint{.block2Size = 42}), {}, shortBlock2},
        {"name without terminator", V4, Bytes(120, 'N'), {}, "waypoint name has no terminator"},
        {"first block short",
         V4,
         Bytes{'A', 0, 1, 2, 3},
         {},
         "waypoint body shorter than its 46-byte first block"},
        {"middle text without terminator",
         V4,
         noMidTerminator,
         {},
         "waypoint middle text has no terminator"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WaypointRecordList list;
        list.SetVersion(c.version);
        ByteBuilder file;
        MpsFrame(file, 'W', c.body);
        ReadCursor cursor(file.bytes());
        MpsFault fault;
        ASSERT_EQ(list.ParseList(cursor, &fault), c.layout.has_value());
        EXPECT_EQ(fault.rule, c.rule);
        if (c.layout && c.body.size() > 91) {
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

// A record rebuilt on a template read by the structure is the template with the name replaced
// and the values written at its positions; the symbol's high half and every other byte stay.
TEST(WaypointRebuild, StructureTemplateKeepsItsWholeBody) {
    for (const int version : {3, 4}) {
        MpsRealWaypoint from{"REF", 1, 2, 3.0, "description", 0x00070030, version, 0};
        from.country = "TW";
        from.city = "Taipei";
        from.notes = "notes";
        WaypointRecordList list;
        list.SetVersion(version == 3 ? MpsVersion::V3 : MpsVersion::V4);
        const Bytes file = Framed({}, {{'W', MpsRealWaypointBody(from)}});
        ReadCursor cursor(file);
        ASSERT_TRUE(list.ParseList(cursor));
        std::vector<WaypointEntry> entries = Entries({"A LONG NAME", ""});
        entries[0].latitude = -5;
        entries[0].longitude = 6;
        entries[0].altitude = 7.5F;
        entries[0].symbol = 8246;
        ASSERT_TRUE(list.RebuildFromEntries(2, entries.data()));
        MpsRealWaypoint expected = from;
        expected.name = "A LONG NAME";
        std::tie(expected.latitude, expected.longitude, expected.altitude) = std::tuple(-5, 6, 7.5);
        expected.symbol = 0x0007006A;  // 106 in the low half
        expected.altitudeValid = 1;
        const auto body = list.records[0].Body();
        EXPECT_EQ(Bytes(body.begin(), body.end()), MpsRealWaypointBody(expected)) << version;
        EXPECT_EQ(list.records[1].length, MpsRealWaypointBody(from).size() - 3) << version;
        EXPECT_EQ(list.Views()[0].description, "description");
    }
}

TEST(WaypointRebuild, RenamesRepeatedNamesExactly) {
    const struct {
        std::vector<std::string> names;
        std::vector<std::string> expected;
    } cases[] = {
        {{"HOME", "HOME", "HOME"}, {"HOME", "HOMEA", "HOMEB"}},
        {{"MY WPT", "MY WPT"}, {"MY WPT", "MYAWPT"}},
        {{"ABCDEFGHIJ", "ABCDEFGHIJ"}, {"ABCDEFGHIJ", "ABCDEFGHIA"}},
        {{"ABCDEFGHIJK", "ABCDEFGHIJK"}, {"ABCDEFGHIJK", "ABCDEFGHIAK"}},
        {{"XA", "X", "X"}, {"XA", "X", "XB"}},
        {{"", "", ""}, {"", "A", "AB"}},
        {{" X", " X", " X"}, {" X", "AX", "AXB"}},
    };
    const auto list = ListOf({{.name = "REF", .midText = ""}});
    for (const auto& c : cases) {
        std::vector<WaypointEntry> entries = Entries(c.names);
        ASSERT_TRUE(
            list->RebuildFromEntries(static_cast<std::int32_t>(entries.size()), entries.data()));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(NameOf(entries[i].name), c.expected[i]);
            EXPECT_EQ(list->Views()[i].name, c.expected[i]);  // records carry the new names
        }
    }
}

// The renaming rule and the template choice as written: linear scans, restarted after every
// clash. The rebuild must give the same whole name fields (bytes after the name included: the
// renamer resumes earlier scans) and the same templates with its hash lookups.
void LiteralRename(std::vector<Name>& names, std::size_t i) {
    int k = 0;
    std::optional<std::size_t> p;
    for (std::size_t j = 0; j < i;) {
        if (NameOf(names[j]) != NameOf(names[i])) {
            ++j;
            continue;
        }
        if (65 + k > 255) {
            break;
        }
        if (!p || *p == 0) {
            const std::string_view current = NameOf(names[i]);
            if (current.find(' ') != std::string_view::npos) {
                p = current.find(' ');
            } else if (current.size() < 10) {
                p = current.size();
                names[i][*p + 1] = '\0';
            } else {
                p = 9;
            }
        }
        names[i][*p] = static_cast<char>(65 + k);
        ++k;
        j = 0;
    }
}

TEST(WaypointRebuild, HashedRenamingAndTemplatesEqualTheLiteralRule) {
    std::mt19937 random(20261206);
    const std::vector<std::string> pieces = {
        "",           "A",           "B",           "AB",  "A B",       " ",
        "  ",         "HOME",        "HOMEA",       "X Y", "ABCDEFGHI", "ABCDEFGHIJ",
        "ABCDEFGHIA", "ABCDEFGHIJK", "ABCDEFGHIAK", " A",  "CAMP 1",    "CAMPA1"};
    const auto pick = [&](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
    };
    for (int lists = 0; lists < 4000; ++lists) {
        std::vector<MpsWaypoint> reference(1 + pick(5));
        for (std::size_t v = 0; v < reference.size(); ++v) {
            reference[v] = {.name = pieces[pick(pieces.size())], .midText = std::to_string(v)};
        }
        const auto list = ListOf(reference);

        // Mostly short lists with many repeats; now and then one long enough to run out of letters.
        const bool outOfLetters = lists % 1000 == 999;
        const std::size_t count = outOfLetters ? 200 + pick(40) : pick(40);
        const std::size_t distinct = outOfLetters ? 1 + pick(3) : 1 + pick(6);
        std::vector<std::string> names;
        for (std::size_t i = 0; i < count; ++i) {
            names.push_back(
                pieces[(pick(distinct) + static_cast<std::size_t>(lists)) % pieces.size()]);
            if (pick(8) == 0) {
                names.back() = std::string(1 + pick(11), static_cast<char>('A' + pick(3)));
            }
        }
        std::vector<WaypointEntry> entries = Entries(names);
        std::vector<Name> expected;
        for (WaypointEntry& entry : entries) {
            for (std::size_t b = NameOf(entry.name).size() + 1; b < 11; ++b) {  // stale bytes
                entry.name[b] = static_cast<char>('a' + pick(26));
            }
            expected.push_back(entry.name);
        }
        ASSERT_TRUE(list->RebuildFromEntries(static_cast<std::int32_t>(count), entries.data()));
        for (std::size_t i = 0; i < count; ++i) {
            LiteralRename(expected, i);
            ASSERT_EQ(entries[i].name, expected[i]) << "list " << lists << " entry " << i;
            const auto byName = std::find_if(reference.begin(), reference.end(),
                                             [&](const auto& w) { return w.name == names[i]; });
            const auto v = byName == reference.end() ? 0 : byName - reference.begin();
            ASSERT_EQ(list->Views()[i].description, std::to_string(v))
                << "list " << lists << " entry " << i;
        }
    }
}

}  // namespace
}  // namespace pelagor::testkit
