#pragma once

// A folder of its own for each test, removed with everything in it when the test ends, and the
// reading and writing of whole files that the tests share.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <vector>

namespace pelagor::testkit {

inline void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),  // NOLINT: bytes to a stream
              static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << path;
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The names of the files in `folder`, as UTF-8 and sorted: a temporary file left behind shows.
inline std::vector<std::string> FileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class TempDir {
public:
    TempDir() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string stem = test != nullptr ? test->name() : "pelagor";
        std::replace(stem.begin(), stem.end(), '/', '-');  // parameterised tests name "x/y"
        std::random_device entropy;
        do {
            m_path = std::filesystem::temp_directory_path() /
                     ("pelagor-" + stem + "-" + std::to_string(entropy()));
        } while (!std::filesystem::create_directory(m_path));
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return m_path / name;
    }
    [[nodiscard]] std::filesystem::path Write(const std::string& name,
                                              std::span<const std::uint8_t> bytes) const {
        WriteBytes(m_path / name, bytes);
        return m_path / name;
    }
    [[nodiscard]] std::vector<std::string> Names() const { return FileNames(m_path); }

private:
    std::filesystem::path m_path;
};

}  // namespace pelagor::testkit
