#pragma once

// One class per subcommand: it declares its arguments on the parser and runs with swappable
// output and error streams, so that tests read what it printed and the exit status it chose.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace CLI {
class App;
}

namespace pelagor::cli {

// Exit statuses shared by every command.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the work was refused or did not load
inline constexpr int kExitUsage = 2;    // bad arguments, or a file that cannot be read

// "1 track", "3 tracks", "0 waypoints".
inline std::string Counted(std::int64_t count, std::string_view noun) {
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

struct Streams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;  // whether a person watches `err`: only then is progress drawn
};

class Command {
public:
    Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    Command(Command&&) = delete;
    Command& operator=(Command&&) = delete;
    virtual ~Command() = default;

    // Adds the subcommand and its options to `app`; returns the subcommand.
    virtual CLI::App* Register(CLI::App& app) = 0;
    virtual int Execute(Streams streams) = 0;
};

}  // namespace pelagor::cli
