#pragma once

// The application: sets up Qt and the settings store, runs the converter dialog modally and
// returns when it ends. Its one argument, optional, is a source file to load at start-up (Qt
// still takes its own options, such as -platform); it reads no environment of its own.

#include <string>

namespace pelagor::app {

// The source named on the command line ("Open with" passes one), as the full path the settings
// keep; empty when there is none. The bytes are kept as given: a file name that is not UTF-8
// (Big5 on Linux) must still open.
std::string StartSource(int argc, char** argv);

class ConverterApp {
public:
    // Returns the process's exit code: 0 however the dialog ended.
    int Run(int& argc, char** argv);
};

}  // namespace pelagor::app
