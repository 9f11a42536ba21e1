#pragma once

// Runs pelagor-cli in-process inside a scratch folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "builder/TempDir.h"

namespace pelagor::cli {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(m_dir); }
    void TearDown() override { std::filesystem::current_path(m_previous); }

    // Runs pelagor-cli with `args` (the program name is added) from inside the scratch folder.
    CliRun Run(const std::vector<std::string>& args, bool errIsTerminal = false);

    // Writes a file (UTF-8 name, folders made) in the scratch folder; returns the name.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes);
    [[nodiscard]] std::vector<std::uint8_t> Read(const std::string& name) const {
        return testkit::ReadBytes(m_dir / name);
    }
    [[nodiscard]] bool Exists(const std::string& name) const {
        return std::filesystem::exists(m_dir / name);
    }
    // The names of the scratch folder's files below `folder`, sorted.
    [[nodiscard]] std::vector<std::string> Files(const std::string& folder = ".") const {
        return testkit::FileNames(m_dir / folder);
    }

    testkit::TempDir m_temp;
    std::filesystem::path m_dir = m_temp.path();

private:
    std::filesystem::path m_previous = std::filesystem::current_path();
};

// Lines of `text` (without their line feeds).
std::vector<std::string> Lines(const std::string& text);

}  // namespace pelagor::cli
