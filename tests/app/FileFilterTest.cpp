// "description|patterns||" filters as Qt name filters, whose parentheses hold what Qt matches.

#include <gtest/gtest.h>

#include "app/FileFilter.h"

namespace pelagor::app {
namespace {

TEST(FileFilterTest, Converts) {
    const struct {
        const char* filter;
        std::vector<std::string> expected;
    } cases[] = {
        {"Garmin MapSource Files (*.mps)|*.mps||", {"Garmin MapSource Files (*.mps *.MPS)"}},
        // The description's own list gives way to the patterns that match.
        {"Logs (*.log)|*.txt||", {"Logs (*.txt *.TXT)"}},
        {"Everything|*||", {"Everything (*)"}},
        {"A (*.a)|*.a|B (*.b)|*.b; *.c||", {"A (*.a *.A)", "B (*.b *.c *.B *.C)"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameFilters(c.filter), c.expected) << c.filter;
    }
}

TEST(FileFilterTest, ExtensionOfAType) {
    constexpr std::string_view kTwo = "A (*.mps)|*.mps|B (*.gpx)|*.gpx;*.xml||";
    EXPECT_EQ(FilterExtension(kTwo, 0), "mps");
    EXPECT_EQ(FilterExtension(kTwo, 1), "gpx");
    EXPECT_EQ(FilterExtension(kTwo, 2), "");
    EXPECT_EQ(FilterExtension("Everything|*||", 0), "");
    EXPECT_EQ(FilterExtension("Logs|*.l?g||", 0), "");
}

}  // namespace
}  // namespace pelagor::app
