#pragma once

// The application: sets up Qt and the settings store, runs the converter dialog modally and
// returns when it ends. Its one argument, optional, is a source file to load at start-up (Qt
// still takes its own options, such as -platform); it reads no environment of its own.

namespace pelagor::app {

class ConverterApp {
public:
    // Returns the process's exit code: 0 however the dialog ended.
    int Run(int& argc, char** argv);
};

}  // namespace pelagor::app
