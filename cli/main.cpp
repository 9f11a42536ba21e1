#include <iostream>

#include "cli/CliApp.h"
#include "platform/Terminal.h"

int main(int argc, char** argv) {
    return pelagor::cli::RunCli(argc, argv, std::cout, std::cerr,
                                pelagor::platform::StandardErrorIsTerminal());
}
