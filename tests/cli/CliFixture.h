#pragma once

// Runs pelagor-cli in-process inside a scratch folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "builder/TempDir.h"
#include "cli/CliApp.h"
#include "platform/PathText.h"

namespace pelagor::cli {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(dir); }
    void TearDown() override { std::filesystem::current_path(m_previous); }

    // Runs pelagor-cli with `args` (the program name is added) from inside the scratch folder.
    static CliRun Run(const std::vector<std::string>& args, bool errIsTerminal = false) {
        std::vector<const char*> argv{"pelagor-cli"};
        for (const std::string& arg : args) {
            argv.push_back(arg.c_str());
        }
        std::ostringstream out;
        std::ostringstream err;
        const int status =
            RunCli(static_cast<int>(argv.size()), argv.data(), out, err, errIsTerminal);
        return {status, out.str(), err.str()};
    }

    // Writes a file (UTF-8 name, folders made); returns the name.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::filesystem::path path = dir / platform::PathFromUtf8(name);
        std::filesystem::create_directories(path.parent_path());
        testkit::WriteBytes(path, bytes);
        return name;
    }
    [[nodiscard]] std::vector<std::uint8_t> Read(const std::string& name) const {
        return testkit::ReadBytes(dir / name);
    }
    [[nodiscard]] std::vector<std::string> Files(const std::string& folder = ".") const {
        return testkit::FileNames(dir / folder);
    }

    testkit::TempDir temp;
    std::filesystem::path dir = temp.path();

private:
    std::filesystem::path m_previous = std::filesystem::current_path();
};

// Lines of `text` (without their line feeds).
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace pelagor::cli
