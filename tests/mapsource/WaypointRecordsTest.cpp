// Waypoint records: the body form, and the rebuild with its templates, symbols and renaming.

#include <gtest/gtest.h>

#include <optional>
#include <random>

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

TEST(WaypointParseView, BodyFormRules) {
    const std::string_view shortBlock2 = "waypoint body shorter than its 43-byte second block";
    Bytes noMidTerminator(1 + 46, 0);
    noMidTerminator.insert(noMidTerminator.end(), 44, 'x');
    const struct {
        const char* name;
        Bytes body;
        std::string_view rule;  // empty when the body parses
    } cases[] = {
        {"91 bytes, empty texts", MpsWaypointBody({}), ""},
        {"90 bytes", MpsWaypointBody({.name = "", .midText = "", .block2Size = 42}), shortBlock2},
        {"older 41-byte second block",
         MpsWaypointBody({.name = "GC1A37", .midText = "", .block2Size = 41}), shortBlock2},
        {"name without terminator", Bytes(120, 'N'), "waypoint name has no terminator"},
        {"first block short", Bytes{'A', 0, 1, 2, 3},
         "waypoint body shorter than its 46-byte first block"},
        {"middle text without terminator", noMidTerminator,
         "waypoint middle text has no terminator"},
        {"bytes after the second block", MpsWaypointBody({.name = "X", .midText = "", .extra = 7}),
         ""},
    };
    ASSERT_EQ(MpsWaypointBody({}).size(), 91U);
    for (const auto& c : cases) {
        WaypointRecordList list;
        WaypointRecordView view;
        std::string_view rule;
        EXPECT_EQ(list.ParseView(Record('W', c.body), view, &rule), c.rule.empty()) << c.name;
        EXPECT_EQ(rule, c.rule) << c.name;
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
            ASSERT_EQ(list->Views()[i].midText, std::to_string(v))
                << "list " << lists << " entry " << i;
        }
    }
}

}  // namespace
}  // namespace pelagor::testkit
