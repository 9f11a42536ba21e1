#pragma once

// UTF-8 bytes shown on a Windows console as UTF-16 text. A console takes text through
// WriteConsoleW, whose count of what it took is in UTF-16 units on every Windows; WriteFile's
// count of UTF-8 bytes for a console is in characters on older consoles, and a writer that took
// it for bytes wrote the end of the text again.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

namespace pelagor::platform {

// Stands for WriteConsoleW: writes at most `count` UTF-16 units of `text`, says in `written` how
// many it took, and returns false when it fails (the reason in GetLastError).
using ConsoleWriter =
    std::function<bool(const wchar_t* text, std::uint32_t count, std::uint32_t& written)>;

class ConsoleText {
public:
    explicit ConsoleText(ConsoleWriter write) : m_write(std::move(write)) {}

    // Writes `bytes` whole, each character once; the start of a character that the next bytes
    // complete waits for them. False when the console fails or takes nothing.
    bool Write(std::string_view bytes) noexcept;
    // Writes the start of a character that never ended, as U+FFFD.
    bool Finish() noexcept;

private:
    bool WriteUtf8(std::string_view whole) noexcept;

    ConsoleWriter m_write;
    std::array<char, 4> m_held{};
    std::size_t m_heldCount = 0;
};

}  // namespace pelagor::platform
