#pragma once

// A sink over a standard stream, for output that goes to standard output rather than a file.

#include <cstdint>
#include <ostream>
#include <span>

#include "platform/FileIo.h"

namespace pelagor::gpx {

class StreamSink final : public platform::OutputSink {
public:
    explicit StreamSink(std::ostream& out) : m_out(out) {}
    StreamSink(const StreamSink&) = delete;
    StreamSink& operator=(const StreamSink&) = delete;
    StreamSink(StreamSink&&) = delete;
    StreamSink& operator=(StreamSink&&) = delete;
    ~StreamSink() override = default;

    bool Write(std::span<const std::uint8_t> bytes) override;

private:
    std::ostream& m_out;
};

}  // namespace pelagor::gpx
