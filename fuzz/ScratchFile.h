#pragma once

// The merge writes a file: the MapSource target's output goes to one folder of the process's own
// among the temporary files, removed when the process ends.

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace pelagor::fuzzing {

// Where scratch folders go: TMPDIR when set, else the memory-backed /dev/shm when there is one
// (every output is flushed to disk before it replaces the last, which a disk-backed folder makes
// slow).
inline std::filesystem::path ScratchRoot() {
    std::error_code ignored;
    if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ignored)) {
        return "/dev/shm";
    }
    return std::filesystem::temp_directory_path();
}

// A folder of the process's own among the temporary files, removed with everything in it at exit.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& stem) {
        std::random_device entropy;
        m_path =
            ScratchRoot() / (stem + "-" + std::to_string(entropy()) + std::to_string(entropy()));
        std::filesystem::create_directories(m_path);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace pelagor::fuzzing
