#include <gtest/gtest.h>

#include <string>

#include "platform/PathText.h"

namespace pelagor::platform {
namespace {

struct PathCase {
    const char* what;
    std::string utf8;
};

class PathText : public testing::TestWithParam<PathCase> {};

TEST_P(PathText, KeepsTheNameThroughAPath) {
    const PathCase& c = GetParam();
    const std::filesystem::path path = PathFromUtf8(c.utf8);
    EXPECT_EQ(PathToUtf8(path), c.utf8) << c.what;
    // Compared as a truth value: Debian's prebuilt GoogleTest cannot print a u8string.
    EXPECT_TRUE(path.u8string() == std::u8string(c.utf8.begin(), c.utf8.end())) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Names, PathText,
    testing::Values(PathCase{"ASCII", "trip.wtr"},
                    PathCase{"Traditional Chinese", "\xE8\x88\xAA\xE8\xB7\xA1.wtr"},
                    PathCase{"outside the Basic Multilingual Plane", "\xF0\xA0\x80\x80.mps"},
                    PathCase{"accents and a folder", "d\xC3\xA9j\xC3\xA0/\xC3\xA9t\xC3\xA9.evo"},
                    PathCase{"empty", ""}));

}  // namespace
}  // namespace pelagor::platform
