#include "platform/StandardOutput.h"

#include <cstring>

namespace pelagor::platform {

StandardOutputBuffer::StandardOutputBuffer() {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

StandardOutputBuffer::~StandardOutputBuffer() {
    Drain();
}

bool StandardOutputBuffer::Drain() {
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    // After a failure nothing more is written: the output is cut already.
    return m_error == 0 && (pending == 0 || WriteAll(m_buffer.data(), pending));
}

StandardOutputBuffer::int_type StandardOutputBuffer::overflow(int_type character) {
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(character, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(character);
        pbump(1);
    }
    return traits_type::not_eof(character);
}

std::streamsize StandardOutputBuffer::xsputn(const char_type* text, std::streamsize count) {
    const auto room = static_cast<std::streamsize>(epptr() - pptr());
    if (count <= room) {
        std::memcpy(pptr(), text, static_cast<std::size_t>(count));
        pbump(static_cast<int>(count));
        return count;
    }
    // A large block (a whole GPX file) goes straight out after what waits before it.
    if (!Drain() || !WriteAll(text, static_cast<std::size_t>(count))) {
        return 0;
    }
    return count;
}

int StandardOutputBuffer::sync() {
    return Drain() ? 0 : -1;
}

std::optional<int> StandardOutputBuffer::Finish() noexcept {
    if (Drain() && ConfirmWritten()) {
        return std::nullopt;
    }
    return m_error;
}

}  // namespace pelagor::platform
