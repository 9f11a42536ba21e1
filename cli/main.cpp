#include <iostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "platform/Console.h"

int main(int argc, char** argv) {
    const pelagor::platform::Utf8Console console;
    const std::vector<std::string> arguments = pelagor::platform::CommandLineUtf8(argc, argv);
    std::vector<const char*> pointers;
    pointers.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    return pelagor::cli::RunCli(static_cast<int>(pointers.size()), pointers.data(), std::cout,
                                std::cerr, pelagor::platform::StandardErrorIsTerminal());
}
