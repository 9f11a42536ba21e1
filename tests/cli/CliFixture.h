#pragma once

// Runs pelagor-cli in-process inside a scratch folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelagor::cli {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs pelagor-cli with `args` (the program name is added) from inside the scratch folder.
    CliRun Run(const std::vector<std::string>& args, bool errIsTerminal = false);

    // Writes a file in the scratch folder and returns its path relative to it.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes);
    [[nodiscard]] std::vector<std::uint8_t> Read(const std::string& name) const;
    [[nodiscard]] bool Exists(const std::string& name) const;
    // The names of the scratch folder's files below `folder`, sorted.
    [[nodiscard]] std::vector<std::string> Files(const std::string& folder = ".") const;

    std::filesystem::path m_dir;

private:
    std::filesystem::path m_previous;
};

// Lines of `text` (without their line feeds).
std::vector<std::string> Lines(const std::string& text);

}  // namespace pelagor::cli
