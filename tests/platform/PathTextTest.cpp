#include <gtest/gtest.h>

#include <string>

#include "platform/PathText.h"

namespace pelagor::platform {
namespace {

TEST(PathTextTest, KeepsTheNameThroughAPath) {
    for (const std::string utf8 : {"\xE8\x88\xAA\xE8\xB7\xA1.wtr", "\xF0\xA0\x80\x80.mps",
                                   "d\xC3\xA9j\xC3\xA0/\xC3\xA9t\xC3\xA9.evo", ""}) {
        const std::filesystem::path path = PathFromUtf8(utf8);
        EXPECT_EQ(PathToUtf8(path), utf8);
        // Compared as a truth value: Debian's prebuilt GoogleTest cannot print a u8string.
        EXPECT_TRUE(path.u8string() == std::u8string(utf8.begin(), utf8.end())) << utf8;
    }
}

}  // namespace
}  // namespace pelagor::platform
