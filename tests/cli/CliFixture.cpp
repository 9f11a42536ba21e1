#include "cli/CliFixture.h"

#include <sstream>

#include "cli/CliApp.h"
#include "platform/PathText.h"

namespace pelagor::cli {

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
    testkit::WriteBytes(path, bytes);
    return name;
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
