#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "builder/TrackLogFiles.h"
#include "cli/CliApp.h"
#include "platform/PathText.h"

// Arguments reach the commands as UTF-8 on every system; a file name in Chinese must name the
// same file as it does in a file manager, and come back unchanged in messages.

namespace pelagor::cli {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunWith(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "pelagor-cli");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

class UnicodeArguments : public testing::Test {
protected:
    void SetUp() override {
        // Unique: test programs of several builds may run at once.
        m_folder =
            fs::temp_directory_path() / ("pelagor-cli-" + std::to_string(std::random_device()()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    // Writes a one-waypoint WTR log under `utf8Name` and returns its full path as UTF-8.
    std::string PutLog(std::string_view utf8Name) {
        const fs::path path = m_folder / platform::PathFromUtf8(utf8Name);
        const std::vector<std::uint8_t> bytes =
            testkit::WtrFile({testkit::SampleWaypoint{"WP1", 1, 2, 5.0F}}, std::nullopt);
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return platform::PathToUtf8(path);
    }

    fs::path m_folder;
};

struct NameCase {
    const char* what;
    std::string name;
};

class DumpByName : public UnicodeArguments, public testing::WithParamInterface<NameCase> {};

TEST_P(DumpByName, ReadsTheFileTheNameSpells) {
    const std::string file = PutLog(GetParam().name);
    const CliRun run = RunWith({"dump", file});
    EXPECT_EQ(run.status, 0) << GetParam().what << ": " << run.err;
    EXPECT_NE(run.out.find("\"waypointCount\": 1"), std::string::npos) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Names, DumpByName,
    testing::Values(NameCase{"ASCII", "trip.wtr"},
                    NameCase{"Traditional Chinese", "\xE8\x88\xAA\xE8\xB7\xA1.wtr"},
                    NameCase{"Chinese with a space", "\xE5\x8F\xB0\xE5\x8C\x97 1.wtr"},
                    NameCase{"outside the Basic Multilingual Plane", "\xF0\xA0\x80\x80.wtr"},
                    NameCase{"Latin accents", "\xC3\xA9t\xC3\xA9.wtr"}));

TEST_F(UnicodeArguments, AMissingChineseFileIsNamedInTheMessageAsGiven) {
    const std::string missing =
        platform::PathToUtf8(m_folder / platform::PathFromUtf8("\xE7\x84\xA1.wtr"));
    const CliRun run = RunWith({"dump", missing});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind(missing + ": ", 0), 0U) << run.err;
}

// A leading slash is a path on every system, never a Windows-style option.
TEST_F(UnicodeArguments, ASlashPathIsAFileNotAnOption) {
    const CliRun run = RunWith({"dump", "/no-such-folder/trip.wtr"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("/no-such-folder/trip.wtr: ", 0), 0U) << run.err;
}

}  // namespace
}  // namespace pelagor::cli
