#pragma once

// The command line and the standard streams as the program sees them: arguments as UTF-8 text
// whatever the system's own form, output streams that carry UTF-8 bytes unchanged, and whether
// a person watches them.

#include <string>
#include <vector>

namespace pelagor::platform {

// The program's arguments as UTF-8, `argv[0]` included. On Windows they are taken from the
// UTF-16 command line, since `argv` there holds them in the ANSI code page, where a Chinese
// file name may not exist at all.
std::vector<std::string> CommandLineUtf8(int argc, const char* const* argv);

// Standard output and error from now on pass bytes through unchanged: no CR added before LF,
// and a console shows them as UTF-8. The object puts back the console's code page it changed.
class Utf8Console {
public:
    Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;
    // Not defaulted here: on Windows it puts the code page back.
    ~Utf8Console();  // NOLINT(performance-trivially-destructible)

private:
#ifdef _WIN32
    unsigned m_previousOutputCodePage = 0;
#endif
};

// From now on a reader that goes away (`| head -n 1`) makes a write to standard output fail with
// the system's reason, reported as a full disk is, instead of ending the program by SIGPIPE in
// the middle of a batch, without a word. Windows has no such signal.
void WritesToClosedPipesFail() noexcept;

// Whether standard error reaches a terminal: progress lines are drawn only for a person, so that
// redirected output stays plain results and errors.
bool StandardErrorIsTerminal() noexcept;

}  // namespace pelagor::platform
