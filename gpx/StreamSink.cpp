#include "gpx/StreamSink.h"

namespace pelagor::gpx {

bool StreamSink::Write(std::span<const std::uint8_t> bytes) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): bytes as a stream's characters
    m_out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    return m_out.good();
}

}  // namespace pelagor::gpx
