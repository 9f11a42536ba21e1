#pragma once

// The sink of a replacement in progress, shared by both platforms' file code: each platform
// supplies only the system's write.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/FileIo.h"

namespace pelagor::platform {

class FileSink : public OutputSink {
public:
    bool Write(std::span<const std::uint8_t> bytes) final;

protected:
    FileSink() = default;
    ~FileSink() override = default;
    // The system's write of all of `bytes`; false with the system's error code in `code`.
    virtual bool WriteThrough(std::span<const std::uint8_t> bytes, int& code) = 0;

private:
    friend FileError Produce(FileSink& sink, const std::function<bool(OutputSink&)>& write);
    bool Flush();

    // Large enough that a writer of short lines costs few system calls.
    std::array<std::uint8_t, std::size_t{64} << 10U> m_buffer{};
    std::size_t m_used = 0;
    bool m_failed = false;
    int m_code = 0;
};

// Runs `write` into `sink`, then writes out what waits in its buffer. No error when every byte
// reached the file; otherwise the reason, as ReplaceFileWith reports it.
FileError Produce(FileSink& sink, const std::function<bool(OutputSink&)>& write);

}  // namespace pelagor::platform
