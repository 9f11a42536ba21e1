#pragma once

// A folder of its own for each test, removed afterwards.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace pelagor::app::testing {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> serial{0};
        static const unsigned run = std::random_device{}();
        m_path = std::filesystem::temp_directory_path() /
                 ("pelagor-app-" + std::to_string(run) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(m_path);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return m_path / name;
    }

    std::filesystem::path Write(const std::string& name,
                                std::span<const std::uint8_t> bytes) const {
        const std::filesystem::path file = m_path / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    static std::vector<std::uint8_t> Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path m_path;
};

}  // namespace pelagor::app::testing
