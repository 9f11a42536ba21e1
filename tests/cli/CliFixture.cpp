#include "cli/CliFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "cli/CliApp.h"
#include "platform/PathText.h"

namespace pelagor::cli {

void CliTest::SetUp() {
    std::random_device entropy;
    m_dir = std::filesystem::temp_directory_path() /
            ("pelagor-cli-test-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(m_dir);
    m_previous = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
}

void CliTest::TearDown() {
    std::filesystem::current_path(m_previous);
    std::error_code ec;
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_dir, ec);
}

CliRun CliTest::Run(const std::vector<std::string>& args, bool errIsTerminal) {
    std::vector<const char*> argv{"pelagor-cli"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err, errIsTerminal);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string CliTest::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = m_dir / platform::PathFromUtf8(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return name;
}

std::vector<std::uint8_t> CliTest::Read(const std::string& name) const {
    std::ifstream file(m_dir / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool CliTest::Exists(const std::string& name) const {
    return std::filesystem::exists(m_dir / name);
}

std::vector<std::string> CliTest::Files(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir / folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace pelagor::cli
