#pragma once

// The readers take a path, not bytes: each fuzz input is written to one file that the process
// reuses, in the temporary folder under a name of its own, and removed when the process ends.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <system_error>

namespace pelagor::fuzzing {

// Where scratch folders go: TMPDIR when set, else the memory-backed /dev/shm when there is one
// (a fuzz input that gets written is flushed to disk, which a disk-backed folder makes slow).
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

    // Writes `bytes` as the file `name` of the folder, replacing what it held; returns its path.
    std::filesystem::path Write(const std::string& name,
                                std::span<const std::uint8_t> bytes) const {
        std::filesystem::path file = m_path / name;
        std::ofstream stream(file, std::ios::binary | std::ios::trunc);
        stream.write(reinterpret_cast<const char*>(bytes.data()),  // NOLINT: bytes to a stream
                     static_cast<std::streamsize>(bytes.size()));
        stream.close();
        if (!stream) {
            // Without its input the run would test nothing: stop loudly.
            __builtin_trap();
        }
        return file;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace pelagor::fuzzing
