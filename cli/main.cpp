#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/Command.h"
#include "platform/Console.h"
#include "platform/StandardOutput.h"
#include "platform/SystemError.h"

int main(int argc, char** argv) {
    const pelagor::platform::Utf8Console console;
    pelagor::platform::WritesToClosedPipesFail();
    pelagor::platform::StandardOutputBuffer outBuffer;
    std::ostream out(&outBuffer);
    const std::vector<std::string> arguments = pelagor::platform::CommandLineUtf8(argc, argv);
    std::vector<const char*> pointers;
    pointers.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    const int status =
        pelagor::cli::RunCli(static_cast<int>(pointers.size()), pointers.data(), out, std::cerr,
                             pelagor::platform::StandardErrorIsTerminal());
    // Output cut short by a full disk or a closed pipe is a failure, never a success.
    if (const auto failure = outBuffer.Finish()) {
        std::cerr << "pelagor-cli: cannot write standard output: "
                  << pelagor::platform::SystemErrorText(*failure) << '\n';
        return status == pelagor::cli::kExitSuccess ? pelagor::cli::kExitFailure : status;
    }
    return status;
}
