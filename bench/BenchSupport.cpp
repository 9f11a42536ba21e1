#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <system_error>

#include "platform/FileIo.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::bench {

TempFolder::TempFolder(const std::string& stem) {
    std::random_device entropy;
    m_path = std::filesystem::temp_directory_path() /
             (stem + "-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempFolder::Write(const std::string& name,
                                        std::span<const std::uint8_t> bytes) const {
    std::filesystem::path file = m_path / name;
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()),  // NOLINT: bytes to a stream
                 static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
        std::cerr << "cannot write " << file.string() << '\n';
        std::exit(1);  // NOLINT(concurrency-mt-unsafe): before any benchmark runs
    }
    return file;
}

void TimingReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        // With --benchmark_report_aggregates_only only the aggregates arrive: the median of the
        // repetitions then stands for the fastest run.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if ((run.run_type != Run::RT_Iteration && !median) || run.error_occurred ||
            run.iterations == 0) {
            continue;
        }
        const auto iterations = static_cast<double>(run.iterations);
        const std::string name = run.run_name.function_name;
        const auto keepBest = [&name](std::map<std::string, double>& best, double seconds) {
            const auto known = best.find(name);
            best[name] = known == best.end() ? seconds : std::min(known->second, seconds);
        };
        keepBest(m_best, run.real_accumulated_time / iterations);
        keepBest(m_bestCpu, run.cpu_accumulated_time / iterations);
    }
    ConsoleReporter::ReportRuns(runs);
}

namespace {

std::optional<double> Find(const std::map<std::string, double>& best, const std::string& name) {
    const auto known = best.find(name);
    if (known == best.end()) {
        return std::nullopt;
    }
    return known->second;
}

}  // namespace

std::optional<double> TimingReporter::BestSeconds(const std::string& name) const {
    return Find(m_best, name);
}

std::optional<double> TimingReporter::BestCpuSeconds(const std::string& name) const {
    return Find(m_bestCpu, name);
}

bool ReportRatio(const TimingReporter& reporter, const std::string& what, const std::string& load,
                 const std::string& floor, double limit) {
    const auto loadSeconds = reporter.BestSeconds(load);
    const auto floorSeconds = reporter.BestSeconds(floor);
    if (!loadSeconds || !floorSeconds) {
        return true;  // filtered out of this run
    }
    const double ratio = *loadSeconds / *floorSeconds;
    std::printf("%s: %.1f ms, floor %.1f ms, ratio %.2f (target <= %.0f): %s\n", what.c_str(),
                *loadSeconds * 1e3, *floorSeconds * 1e3, ratio, limit,
                ratio <= limit ? "met" : "MISSED");
    const auto loadCpu = reporter.BestCpuSeconds(load);
    const auto floorCpu = reporter.BestCpuSeconds(floor);
    if (loadCpu && floorCpu) {
        std::printf("  processor time: %.1f ms, floor %.1f ms, ratio %.2f\n", *loadCpu * 1e3,
                    *floorCpu * 1e3, *loadCpu / *floorCpu);
    }
    return ratio <= limit;
}

namespace {

// One "<field>:   <number> kB" line of /proc/self/status.
std::optional<std::uint64_t> StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field + ":")) {
            std::istringstream value(line.substr(field.size() + 1));
            std::uint64_t kilobytes = 0;
            if (value >> kilobytes) {
                return kilobytes * 1024U;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> ResidentMemory::CurrentBytes() {
    return StatusKilobytes("VmRSS");
}

std::optional<std::uint64_t> ResidentMemory::PeakBytes() {
    return StatusKilobytes("VmHWM");
}

bool ResidentMemory::ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    return static_cast<bool>(clear);
}

bool ReportPeak(const std::string& what, std::uint64_t grownBytes, const std::string& boundText,
                std::uint64_t bound) {
    std::printf("peak memory, %s: %.1f MB; %s = %.1f MB: %s\n", what.c_str(),
                static_cast<double>(grownBytes) / kMegabyte, boundText.c_str(),
                static_cast<double>(bound) / kMegabyte, grownBytes <= bound ? "met" : "MISSED");
    return grownBytes <= bound;
}

bool RunSelf(const char* self, const std::vector<std::string>& arguments) {
    // Each word quoted; they are our own paths, which hold no quote. Appended piece by piece, as
    // GCC 12 at -O3 warns of an overlapping copy in "'" + text.
    std::string command("'");
    command.append(self).append("'");
    for (const std::string& argument : arguments) {
        command.append(" '").append(argument).append("'");
    }
    std::fflush(stdout);
    return std::system(command.c_str()) == 0;  // NOLINT(cert-env33-c): runs this very program
}

void IoFloor(benchmark::State& state, const std::filesystem::path& input,
             const std::filesystem::path& output, std::uint64_t outputBytes,
             std::uint64_t processedBytes) {
    const std::vector<std::uint8_t> bytes(outputBytes, 0x5A);
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> data;
        std::uint32_t size = 0;
        if (TrackLogDocument::ReadWholeFile(input, data, size) == 0 ||
            !platform::ReplaceFileContents(output, bytes, platform::ReplaceMode::Replace,
                                           nullptr)) {
            state.SkipWithError("the floor's read or write failed");
            break;
        }
        benchmark::DoNotOptimize(data.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(processedBytes));
}

}  // namespace pelagor::bench
