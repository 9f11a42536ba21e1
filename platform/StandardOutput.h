#pragma once

// Standard output for a program whose output is its result (a GPX file, JSON): a write that
// fails, or arrives only in part, must end the program as a failure with the system's reason.
// std::cout through the C library forgets that reason, so the bytes go through a buffer of
// their own that keeps the first error.

#include <array>
#include <cstddef>
#include <optional>
#include <streambuf>

namespace pelagor::platform {

class StandardOutputBuffer final : public std::streambuf {
public:
    StandardOutputBuffer();
    StandardOutputBuffer(const StandardOutputBuffer&) = delete;
    StandardOutputBuffer& operator=(const StandardOutputBuffer&) = delete;
    ~StandardOutputBuffer() override;

    // Writes what is still buffered and says whether every byte arrived: empty when it did, else
    // the code of the first failure, for SystemErrorText ("No space left on device").
    std::optional<int> Finish() noexcept;

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char_type* text, std::streamsize count) override;
    int sync() override;

private:
    bool Drain();
    // The system's write of all of `bytes`, each platform its own; false with m_error set.
    bool WriteAll(const char* bytes, std::size_t count) noexcept;
    // Whether the file took what was written, as far as closing a descriptor of it tells.
    bool ConfirmWritten() noexcept;

    std::array<char, 8192> m_buffer{};
    int m_error = 0;
};

}  // namespace pelagor::platform
