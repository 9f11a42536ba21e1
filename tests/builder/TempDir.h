#pragma once

// A folder of its own for each test, removed with everything in it when the test ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>

namespace pelagor::testkit {

class TempDir {
public:
    TempDir() {
        std::random_device entropy;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string stem = test != nullptr ? test->name() : "pelagor";
        std::replace(stem.begin(), stem.end(), '/', '-');  // parameterised tests name "x/y"
        for (int attempt = 0; attempt < 16; ++attempt) {
            m_path = std::filesystem::temp_directory_path() /
                     ("pelagor-" + stem + "-" + std::to_string(entropy()));
            if (std::filesystem::create_directory(m_path)) {
                return;
            }
        }
        ADD_FAILURE() << "cannot make a temporary folder";
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

    // Writes `bytes` as the file `name` in the folder and returns its path.
    std::filesystem::path Write(const std::string& name,
                                std::span<const std::uint8_t> bytes) const {
        const std::filesystem::path file = m_path / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),  // NOLINT: bytes to a stream
                  static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << file;
        return file;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace pelagor::testkit
