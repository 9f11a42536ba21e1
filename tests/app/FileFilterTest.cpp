// Filters in the converter's "description|patterns||" form become Qt name filters whose
// parentheses hold the patterns Qt matches.

#include <gtest/gtest.h>

#include <ostream>

#include "app/FileFilter.h"
#include "app/PathText.h"

namespace pelagor::app {
namespace {

struct FilterCase {
    const char* filter;
    std::vector<std::string> expected;
};

void PrintTo(const FilterCase& value, std::ostream* out) {
    *out << value.filter;
}

class NameFiltersTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NameFiltersTest, Converts) {
    EXPECT_EQ(NameFilters(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, NameFiltersTest,
    ::testing::Values(FilterCase{"Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo||",
                                 {"Garmin WTR/EVO Files (*.wtr *.evo *.WTR *.EVO)"}},
                      FilterCase{"Garmin MapSource Files (*.mps)|*.mps||",
                                 {"Garmin MapSource Files (*.mps *.MPS)"}},
                      // The description's own list gives way to the patterns that match.
                      FilterCase{"Logs (*.log)|*.txt||", {"Logs (*.txt *.TXT)"}},
                      FilterCase{"Everything|*||", {"Everything (*)"}},
                      FilterCase{"A (*.a)|*.a|B (*.b)|*.b; *.c||",
                                 {"A (*.a *.A)", "B (*.b *.c *.B *.C)"}},
                      FilterCase{"", {}}, FilterCase{"|", {}}));

TEST(PathText, RoundTripsNonAsciiNamesThroughUtf8) {
    const std::string text = "/tmp/航點/台北 trip.wtr";
    const std::filesystem::path path = PathFromUtf8(text);
    EXPECT_EQ(Utf8FromPath(path.filename()), "台北 trip.wtr");
    EXPECT_EQ(Utf8FromPath(path.parent_path().filename()), "航點");
    EXPECT_EQ(Utf8FromPath(path), text);
}

}  // namespace
}  // namespace pelagor::app
