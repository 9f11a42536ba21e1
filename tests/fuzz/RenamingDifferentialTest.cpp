#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "mapsource/WaypointNames.h"
#include "tracklog/Entries.h"

namespace {

using pelagor::NameOf;
using Field = std::array<char, 12>;

// The renaming rule as written: scan the earlier names, and on a clash put the next letter at p
// and scan again from the first. Quadratic, and plainly right.
void LiteralRename(std::vector<Field>& fields, std::size_t i) {
    int k = 0;
    std::optional<std::size_t> p;
    for (std::size_t j = 0; j < i;) {
        if (NameOf(fields[j]) != NameOf(fields[i])) {
            ++j;
            continue;
        }
        if (65 + k > 255) {
            break;
        }
        if (!p || *p == 0) {
            const std::string_view current = NameOf(fields[i]);
            if (current.find(' ') != std::string_view::npos) {
                p = current.find(' ');
            } else if (current.size() < 10) {
                p = current.size();
                fields[i][*p + 1] = '\0';
            } else {
                p = 9;
            }
        }
        fields[i][*p] = static_cast<char>(65 + k);
        ++k;
        j = 0;
    }
}

// Long lists of few names, so that one name comes back often enough to run out of letters, and
// fields whose bytes after the name are not zero: the renamer resumes a name's earlier scan, and
// it must give the same whole field as the rule, not only the same name.
TEST(RenamingDifferential, ResumedScansGiveTheFieldsOfTheLiteralRule) {
    const std::vector<std::string> names = {"",       "HOME",       "HOMEA",      "MY WPT",
                                            " X",     "ABCDEFGHIJ", "ABCDEFGHIA", "ABCDEFGHIJK",
                                            "CAMP 1", "CAMPA1",     "A",          "AB"};
    std::mt19937 random(61206);
    for (int list = 0; list < 60; ++list) {
        const std::size_t count = list % 20 == 19 ? 230 : 20 + random() % 60;
        const std::size_t distinct = 1 + random() % 4;
        std::vector<Field> fields(count);
        for (Field& field : fields) {
            const std::string& name =
                names[(random() % distinct + static_cast<std::size_t>(list)) % names.size()];
            for (char& byte : field) {
                byte = static_cast<char>('a' + random() % 26);
            }
            std::copy(name.begin(), name.end(), field.begin());
            field[name.size()] = '\0';
        }
        std::vector<Field> expected = fields;
        pelagor::RepeatedNameRenamer renamer(count);
        for (std::size_t i = 0; i < count; ++i) {
            LiteralRename(expected, i);
            renamer.Settle(fields[i]);
            ASSERT_EQ(fields[i], expected[i])
                << "list " << list << " entry " << i << " (" << NameOf(expected[i]) << ")";
        }
    }
}

}  // namespace
