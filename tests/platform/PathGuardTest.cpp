#include <gtest/gtest.h>

#include <string>

#include "builder/TempDir.h"
#include "platform/PathGuard.h"
#include "platform/PathText.h"

namespace pelagor::platform {
namespace {

#ifdef _WIN32
constexpr bool kNamesIgnoreCase = true;
#else
constexpr bool kNamesIgnoreCase = false;
#endif

// Two outputs of one run that do not exist yet are one file when the file system takes their
// names for one: on Windows names that differ only in case, in any script, or in trailing dots
// and spaces. Elsewhere names are bytes.
TEST(PathGuardTest, OutputsNotWrittenYetCollideAsTheFileSystemComparesNames) {
    const testkit::TempDir dir;
    const struct {
        const char8_t* first;
        const char8_t* second;
        bool one;  // the same file wherever names ignore case
    } cases[] = {
        {u8"trip.mps", u8"trip.mps", true},
        {u8"Trip.mps", u8"trip.mps", true},
        {u8"\u00C4pfel.mps", u8"\u00E4PFEL.mps", true},
        {u8"\u0391\u03B8\u03AE\u03BD\u03B1.mps", u8"\u03B1\u0398\u0389\u039D\u0391.MPS", true},
        {u8"trip.mps", u8"trip.mps. .", true},
        {u8"trip.mps", u8"trip.mps_", false},
        {u8"trip.mps", u8"tr\u0131p.mps", false},  // a dotless i is another letter
    };
    for (const auto& c : cases) {
        const std::filesystem::path first = dir / c.first;
        const std::filesystem::path second = dir / c.second;
        SCOPED_TRACE(PathToUtf8(second));
        PathGuard guard;
        guard.Add(first, "first");
        EXPECT_EQ(guard.NamedBy(second).has_value(),
                  c.one && (kNamesIgnoreCase || first == second));
    }
}

}  // namespace
}  // namespace pelagor::platform
