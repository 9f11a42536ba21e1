#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <memory>
#include <vector>

#include "cli/Command.h"
#include "cli/ConvertCommand.h"
#include "cli/DumpCommand.h"
#include "cli/GpxCommand.h"
#include "cli/ShowCommand.h"

namespace pelagor::cli {

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
    CLI::App app{"Pelagor: reads WTR and EVO GPS track logs and converts them to MapSource files.",
                 "pelagor-cli"};
    app.set_version_flag("--version", std::string("pelagor-cli ") + PELAGOR_VERSION);
    app.set_help_all_flag("--help-all", "Print the help of every command and exit");
    app.require_subcommand(1);
    // On Windows CLI11 would take "/name" for an option; a path such as "/logs/trip.wtr" must
    // stay a path there too, as on every other system.
    app.allow_windows_style_options(false);
    app.footer(
        "Run 'pelagor-cli COMMAND --help' for the options of a command.\n"
        "Exit status: 0 on success, 1 when a file was refused or did not load, 2 for usage "
        "errors and files that cannot be read.");

    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ConvertCommand>());
    commands.push_back(std::make_unique<ShowCommand>());
    commands.push_back(std::make_unique<GpxCommand>());
    commands.push_back(std::make_unique<DumpCommand>());

    std::vector<std::pair<CLI::App*, Command*>> registered;
    registered.reserve(commands.size());
    for (const auto& command : commands) {
        registered.emplace_back(command->Register(app), command.get());
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();  // the chosen command's help when one was named
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
            try {
                return command->Execute(Streams{out, err, errIsTerminal});
            } catch (const std::exception& error) {
                // Running out of memory ends the command with a message, never a crash.
                err << "pelagor-cli " << subcommand->get_name() << ": " << error.what() << '\n';
                return kExitFailure;
            }
        }
    }
    return kExitUsage;
}

}  // namespace pelagor::cli
