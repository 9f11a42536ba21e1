// Arguments reach the commands as UTF-8 on every system; a file name in Chinese must name the
// same file as it does in a file manager, and come back unchanged in messages.

#include <gtest/gtest.h>

#include "builder/TrackLogFiles.h"
#include "cli/CliFixture.h"

namespace pelagor::cli {
namespace {

using UnicodeArguments = CliTest;

TEST_F(UnicodeArguments, DumpReadsTheFileTheNameSpells) {
    for (const std::string name : {"\xE8\x88\xAA\xE8\xB7\xA1.wtr", "\xE5\x8F\xB0\xE5\x8C\x97 1.wtr",
                                   "\xF0\xA0\x80\x80.wtr", "\xC3\xA9t\xC3\xA9.wtr"}) {
        Write(name, testkit::WtrFile({testkit::SampleWaypoint{"WP1", 1, 2, 5.0F}}, std::nullopt));
        const CliRun run = Run({"dump", name});
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_NE(run.out.find("\"waypointCount\": 1"), std::string::npos) << name;
    }
}

// A missing file is named as given; a leading slash is a path, never a Windows-style option.
TEST_F(UnicodeArguments, MissingFilesAreNamedAsGiven) {
    for (const std::string name : {"\xE7\x84\xA1.wtr", "/no-such-folder/trip.wtr"}) {
        const CliRun run = Run({"dump", name});
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.starts_with(name + ": ")) << run.err;
    }
}

}  // namespace
}  // namespace pelagor::cli
