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

}  // namespace
}  // namespace pelagor::app
