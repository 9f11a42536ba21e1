#pragma once

// What the benchmarks share: a temporary folder for the large files they make, a reporter that
// keeps each benchmark's time so that a run can compare a load with its floor, and a probe of
// the process's resident memory for the peak-memory figures.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace pelagor::bench {

constexpr double kMegabyte = 1e6;

// A folder of the process's own in the temporary folder, removed with its files at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& stem);
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    // Writes `bytes` as the file `name` of the folder; stops the program when that fails.
    [[nodiscard]] std::filesystem::path Write(const std::string& name,
                                              std::span<const std::uint8_t> bytes) const;

private:
    std::filesystem::path m_path;
};

// The console reporter, keeping the fastest wall-clock and processor time per iteration of every
// benchmark: on a shared machine the fastest run is the one least disturbed by others.
class TimingReporter : public benchmark::ConsoleReporter {
public:
    TimingReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    [[nodiscard]] std::optional<double> BestSeconds(const std::string& name) const;
    [[nodiscard]] std::optional<double> BestCpuSeconds(const std::string& name) const;

private:
    std::map<std::string, double> m_best;
    std::map<std::string, double> m_bestCpu;
};

// Prints "<what>: <time> ms, floor <time> ms, ratio <r> (target <= <limit>)" on wall-clock
// time, and the same on processor time; returns whether the wall-clock target is met.
bool ReportRatio(const TimingReporter& reporter, const std::string& what, const std::string& load,
                 const std::string& floor, double limit);

// Resident memory of this process, read from /proc/self/status (Linux): the current resident set
// and its peak since the start or since the last ResetPeak.
struct ResidentMemory {
    static std::optional<std::uint64_t> CurrentBytes();
    static std::optional<std::uint64_t> PeakBytes();
    // Restarts the peak at the current resident set (Linux 4.0 and later); false when refused,
    // in which case the peak since the start stands.
    static bool ResetPeak();
};

// Prints the peak-memory line of one measured step and returns whether it stays within `bound`.
bool ReportPeak(const std::string& what, std::uint64_t grownBytes, const std::string& boundText,
                std::uint64_t bound);

// Runs this program again with `arguments` (the peak of a step is measured in a process of its
// own, whose resident memory holds nothing else); returns whether it exited with 0.
bool RunSelf(const char* self, const std::vector<std::string>& arguments);

// The I/O floor of a step that reads `input` whole and writes `outputBytes` bytes as `output`
// through the safe replace: the same read and write, with nothing made in between. Counts
// `processedBytes` per iteration.
void IoFloor(benchmark::State& state, const std::filesystem::path& input,
             const std::filesystem::path& output, std::uint64_t outputBytes,
             std::uint64_t processedBytes);

}  // namespace pelagor::bench
