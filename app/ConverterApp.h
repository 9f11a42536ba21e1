#pragma once

// The application: sets up Qt and the settings store, runs the converter dialog modally and
// returns when it ends. It reads no arguments and no environment of its own (Qt still takes its
// own options, such as -platform).

namespace pelagor::app {

class ConverterApp {
public:
    // Returns the process's exit code: 0 however the dialog ended.
    int Run(int& argc, char** argv);
};

}  // namespace pelagor::app
