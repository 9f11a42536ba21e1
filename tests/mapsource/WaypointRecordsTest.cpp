// Waypoint records: parsing, entries, and the rebuild with its templates, symbols and renaming.

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "MpsTestSupport.h"
#include "mapsource/WaypointRecords.h"

namespace pelagor::testkit {
namespace {

using Name = std::array<char, 12>;

Name MakeName(std::string_view text) {
    Name name{};
    SetName(name, text);
    return name;
}

MpsWaypoint Wpt(std::string name, std::string midText = "", std::uint8_t fill = 0) {
    MpsWaypoint waypoint;
    waypoint.name = std::move(name);
    waypoint.midText = std::move(midText);
    waypoint.fill = fill;
    return waypoint;
}

MpsWaypoint Sized(MpsWaypoint waypoint, std::size_t block2Size, std::size_t extra = 0) {
    waypoint.block2Size = block2Size;
    waypoint.extra = extra;
    return waypoint;
}

MpsWaypoint Valued(MpsWaypoint waypoint, std::int32_t latitude, std::int32_t longitude,
                   double altitude, std::uint16_t symbol) {
    waypoint.latitude = latitude;
    waypoint.longitude = longitude;
    waypoint.altitude = altitude;
    waypoint.symbol = symbol;
    return waypoint;
}

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

std::vector<std::string> NamesOf(const std::vector<WaypointEntry>& entries) {
    std::vector<std::string> names;
    for (const WaypointEntry& entry : entries) {
        names.emplace_back(NameOf(entry.name));
    }
    return names;
}

TEST(WaypointParseView, BodyFormRules) {
    struct Case {
        const char* name;
        Bytes body;
        std::string_view rule;  // empty when the body parses
    };
    const Bytes smallest = MpsWaypointBody(Wpt(""));
    Bytes noMidTerminator(1 + 46, 0);
    noMidTerminator.insert(noMidTerminator.end(), 44, 'x');
    const std::vector<Case> cases = {
        {"91 bytes, empty texts", smallest, ""},
        {"90 bytes", MpsWaypointBody(Sized(Wpt(""), 42)),
         "waypoint body shorter than its 43-byte second block"},
        {"older 41-byte second block", MpsWaypointBody(Sized(Wpt("GC1A37"), 41)),
         "waypoint body shorter than its 43-byte second block"},
        {"name without terminator", Bytes(120, 'N'), "waypoint name has no terminator"},
        {"first block short", Bytes{'A', 0, 1, 2, 3},
         "waypoint body shorter than its 46-byte first block"},
        {"middle text without terminator", noMidTerminator,
         "waypoint middle text has no terminator"},
        {"bytes after the second block", MpsWaypointBody(Sized(Wpt("X"), 43, 7)), ""},
    };
    ASSERT_EQ(smallest.size(), 91U);
    for (const Case& c : cases) {
        WaypointRecordList list;
        WaypointRecordView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(Record('W', c.body), view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
    }
}

TEST(WaypointGetEntry, ReadsValuesAndCutsLongNamesTo11Bytes) {
    const auto list = ListOf({
        Valued(Wpt("ABCDEFGHIJKLMNO", "long", 0x55), -123456, 987654, 1234.5, 106),
        Valued(Wpt("SHORT"), 1, 2, -12.25, 8246),
    });
    WaypointEntry entry{};
    ASSERT_TRUE(list->GetEntry(0, entry));
    EXPECT_EQ(NameOf(entry.name), "ABCDEFGHIJK");
    EXPECT_EQ(entry.name[11], '\0');
    EXPECT_EQ(entry.latitude, -123456);
    EXPECT_EQ(entry.longitude, 987654);
    EXPECT_FLOAT_EQ(entry.altitude, 1234.5F);
    EXPECT_EQ(entry.symbol, 106);
    ASSERT_TRUE(list->GetEntry(1, entry));
    EXPECT_EQ(NameOf(entry.name), "SHORT");
    EXPECT_EQ(entry.symbol, 8246);  // stored codes are not mapped back
    EXPECT_FALSE(list->GetEntry(2, entry));
    EXPECT_FALSE(list->GetEntry(-1, entry));
}

TEST(WaypointRebuild, RenamesRepeatedNamesExactly) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> expected;
    };
    std::vector<std::string> many(193, "ABCDEFGHIJ");
    const std::vector<Case> cases = {
        {{"HOME", "HOME", "HOME"}, {"HOME", "HOMEA", "HOMEB"}},
        {{"MY WPT", "MY WPT"}, {"MY WPT", "MYAWPT"}},
        {{"ABCDEFGHIJ", "ABCDEFGHIJ"}, {"ABCDEFGHIJ", "ABCDEFGHIA"}},
        {{"ABCDEFGHIJK", "ABCDEFGHIJK"}, {"ABCDEFGHIJK", "ABCDEFGHIAK"}},
        {{"XA", "X", "X"}, {"XA", "X", "XB"}},
        {{"", "", ""}, {"", "A", "AB"}},
        {{" X", " X", " X"}, {" X", "AX", "AXB"}},
        {{"A B", "A B", "A B"}, {"A B", "AAB", "ABB"}},
    };
    const auto list = ListOf({Wpt("REF")});
    for (const Case& c : cases) {
        std::vector<WaypointEntry> entries = Entries(c.names);
        ASSERT_TRUE(
            list->RebuildFromEntries(static_cast<std::int32_t>(entries.size()), entries.data()));
        EXPECT_EQ(NamesOf(entries), c.expected);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(list->Views()[i].name, c.expected[i]);  // records carry the new names
        }
    }
}

TEST(WaypointRebuild, EntryOutOfLettersKeepsItsName) {
    // Entry i needs i letters; the 192nd repeat would need code 256 and stops with its name as
    // it stands, equal to the entry before it.
    const auto list = ListOf({Wpt("REF")});
    std::vector<WaypointEntry> entries = Entries(std::vector<std::string>(194, "ABCDEFGHIJ"));
    ASSERT_TRUE(list->RebuildFromEntries(194, entries.data()));
    EXPECT_EQ(NameOf(entries[191].name), "ABCDEFGHI\xFF");
    EXPECT_EQ(NameOf(entries[192].name), "ABCDEFGHI\xFF");
    EXPECT_EQ(NameOf(entries[193].name), "ABCDEFGHI\xFF");
    for (const WaypointEntry& entry : entries) {
        EXPECT_EQ(entry.name[11], '\0');
    }
}

TEST(WaypointRebuild, TemplateByNameBeforeRenamingElseFirstRecord) {
    const auto list = ListOf({
        Wpt("FIRST", "first text", 0x11),
        Wpt("CAMP", "camp text", 0x22),
        Wpt("CAMP", "second camp", 0x33),
    });
    std::vector<WaypointEntry> entries = Entries({"CAMP", "CAMP", "OTHER", "camp"});
    ASSERT_TRUE(list->RebuildFromEntries(4, entries.data()));
    const std::vector<std::pair<std::string_view, std::uint8_t>> expected = {
        {"camp text", 0x22}, {"camp text", 0x22}, {"first text", 0x11}, {"first text", 0x11}};
    ASSERT_EQ(list->recordCount, 4);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list->Views()[i].midText, expected[i].first) << i;
        EXPECT_EQ(list->Views()[i].block1[0], expected[i].second) << i;
        EXPECT_EQ(list->Views()[i].block2[42], expected[i].second) << i;
    }
    EXPECT_EQ(list->Views()[1].name, "CAMPA");
}

TEST(WaypointRebuild, WritesValuesAndMappedSymbolsAndDropsExtraBytes) {
    const auto list = ListOf({Sized(Wpt("T", "m", 0x7E), 43, 9)});
    const std::vector<std::pair<std::uint16_t, std::uint16_t>> symbols = {
        {8246, 106}, {161, 48}, {0, 18}, {106, 18}, {48, 18}, {65535, 18}};
    std::vector<WaypointEntry> entries = Entries({"A", "B", "C", "D", "E", "F"});
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        entries[i].symbol = symbols[i].first;
        entries[i].latitude = -1 - static_cast<std::int32_t>(i);
        entries[i].longitude = 1000 + static_cast<std::int32_t>(i);
        entries[i].altitude = 100.5F + static_cast<float>(i);
    }
    ASSERT_TRUE(list->RebuildFromEntries(6, entries.data()));
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        EXPECT_EQ(list->records[i].length, 1U + 1U + 91U) << "n + m + 91";
        WaypointEntry back{};
        ASSERT_TRUE(list->GetEntry(static_cast<std::int32_t>(i), back));
        EXPECT_EQ(back.symbol, symbols[i].second);
        EXPECT_EQ(back.latitude, entries[i].latitude);
        EXPECT_EQ(back.longitude, entries[i].longitude);
        EXPECT_EQ(back.altitude, entries[i].altitude);
        const auto body = list->records[i].Body();
        const Bytes expected = MpsWaypointBody(Valued(
            Wpt(std::string(1, static_cast<char>('A' + i)), "m", 0x7E), entries[i].latitude,
            entries[i].longitude, static_cast<double>(entries[i].altitude), symbols[i].second));
        EXPECT_EQ(Bytes(body.begin(), body.end()), expected);
    }
}

TEST(WaypointRebuild, CountZeroEmptiesAndNoTemplateFailsKeepingTheList) {
    const auto list = ListOf({Wpt("A"), Wpt("B")});
    ASSERT_TRUE(list->RebuildFromEntries(0, nullptr));
    EXPECT_EQ(list->recordCount, 0);
    EXPECT_TRUE(list->Records().empty());

    WaypointRecordList empty;
    std::vector<WaypointEntry> entries = Entries({"X"});
    EXPECT_FALSE(empty.RebuildFromEntries(1, entries.data()));
    EXPECT_EQ(empty.recordCount, 0);
}

// The renaming rule and the template choice as written: linear scans, restarted after every
// clash. The rebuild must give the same names and templates with its hash lookups.
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

std::size_t LiteralTemplate(const std::vector<std::string>& referenceNames, std::string_view name) {
    for (std::size_t v = 0; v < referenceNames.size(); ++v) {
        if (referenceNames[v] == name) {
            return v;
        }
    }
    return 0;
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
    int lists = 0;
    for (; lists < 4000; ++lists) {
        std::vector<std::string> referenceNames;
        std::vector<MpsWaypoint> reference;
        const std::size_t referenceSize = 1 + pick(5);
        for (std::size_t v = 0; v < referenceSize; ++v) {
            referenceNames.push_back(pieces[pick(pieces.size())]);
            reference.push_back(Wpt(referenceNames.back(), "T" + std::to_string(v)));
        }
        const auto list = ListOf(reference);

        // Mostly short lists with many repeats; now and then one long enough to run out of letters.
        const bool outOfLetters = lists % 2000 == 1999;
        const std::size_t count = outOfLetters ? 200 : pick(40);
        const std::size_t distinct = outOfLetters ? 1 : 1 + pick(6);
        std::vector<std::string> names;
        for (std::size_t i = 0; i < count; ++i) {
            names.push_back(pieces[pick(distinct) % pieces.size()]);
            if (pick(8) == 0) {
                names.back() = std::string(1 + pick(11), static_cast<char>('A' + pick(3)));
            }
        }
        std::vector<WaypointEntry> entries = Entries(names);
        std::vector<Name> expected;
        for (const std::string& name : names) {
            expected.push_back(MakeName(name));
        }
        for (std::size_t i = 0; i < count; ++i) {
            LiteralRename(expected, i);
        }
        ASSERT_TRUE(list->RebuildFromEntries(static_cast<std::int32_t>(count), entries.data()));
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(NameOf(entries[i].name), NameOf(expected[i]))
                << "list " << lists << " entry " << i;
            ASSERT_EQ(list->Views()[i].midText,
                      "T" + std::to_string(LiteralTemplate(referenceNames, names[i])))
                << "list " << lists << " entry " << i;
        }
    }
    EXPECT_EQ(lists, 4000);
}

}  // namespace
}  // namespace pelagor::testkit
