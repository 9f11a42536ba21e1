// Writes the sample files of examples/ and the large logs of the benchmarks.
//
//   pelagor-samples DIR                          sample.wtr, sample.evo and reference.mps into DIR
//   pelagor-samples --builtin-reference FILE     the reference pelagor-cli carries
//   pelagor-samples --large-wtr FILE WAYPOINTS POINTS
//   pelagor-samples --large-evo FILE WAYPOINTS TRACKS POINTS_PER_TRACK

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "builder/MpsFiles.h"
#include "builder/Samples.h"

namespace {

bool Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),  // NOLINT: bytes to a stream
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::cerr << "pelagor-samples: cannot write " << path.string() << '\n';
        return false;
    }
    std::cout << path.string() << '\n';
    return true;
}

std::uint32_t Number(const char* text) {
    return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
}

}  // namespace

int main(int argc, char** argv) {
    using namespace pelagor::testkit;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 4 && args[0] == "--large-wtr") {
        return Write(args[1], WtrBytes(LargeWtrLog(Number(argv[3]), Number(argv[4])))) ? 0 : 1;
    }
    if (args.size() == 5 && args[0] == "--large-evo") {
        return Write(args[1],
                     EvoBytes(LargeEvoLog(Number(argv[3]), Number(argv[4]), Number(argv[5]))))
                   ? 0
                   : 1;
    }
    if (args.size() == 2 && args[0] == "--builtin-reference") {
        return Write(args[1], MpsFile(BuiltInReference())) ? 0 : 1;
    }
    if (args.size() == 1 && !args[0].starts_with("-")) {
        const std::filesystem::path folder = args[0];
        const bool ok = Write(folder / "sample.wtr", WtrBytes(SampleWtrLog())) &&
                        Write(folder / "sample.evo", EvoBytes(SampleEvoLog())) &&
                        Write(folder / "reference.mps", MpsFile(SampleReference()));
        return ok ? 0 : 1;
    }
    std::cerr << "usage: pelagor-samples DIR | --builtin-reference FILE |"
                 " --large-wtr FILE WAYPOINTS POINTS |"
                 " --large-evo FILE WAYPOINTS TRACKS POINTS_PER_TRACK\n";
    return 2;
}
