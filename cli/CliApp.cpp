#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <vector>

#include "cli/Command.h"
#include "cli/DumpCommand.h"

namespace pelagor::cli {

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Pelagor: reads WTR and EVO GPS track logs and converts them to MapSource files.",
                 "pelagor-cli"};
    app.set_version_flag("--version", std::string("pelagor-cli ") + PELAGOR_VERSION);
    app.require_subcommand(1);
    // On Windows CLI11 would take "/name" for an option; a path such as "/logs/trip.wtr" must
    // stay a path there too, as on every other system.
    app.allow_windows_style_options(false);

    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<DumpCommand>());

    std::vector<std::pair<CLI::App*, Command*>> registered;
    registered.reserve(commands.size());
    for (const auto& command : commands) {
        registered.emplace_back(command->Register(app), command.get());
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitSuccess;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitSuccess;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        return kExitSuccess;
    } catch (const CLI::ParseError& error) {
        err << "pelagor-cli: " << error.what() << '\n';
        err << "Run 'pelagor-cli --help' for usage.\n";
        return kExitUsage;
    }

    for (const auto& [subcommand, command] : registered) {
        if (subcommand->parsed()) {
            return command->Execute(Streams{out, err});
        }
    }
    return kExitUsage;
}

}  // namespace pelagor::cli
