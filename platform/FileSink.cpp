#include "platform/FileSink.h"

#include <algorithm>
#include <new>

namespace pelagor::platform {

bool OutputSink::WriteText(std::string_view text) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): text as bytes
    return Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool FileSink::Write(std::span<const std::uint8_t> bytes) {
    if (m_failed) {
        return false;
    }
    if (bytes.size() <= m_buffer.size() - m_used) {
        std::copy(bytes.begin(), bytes.end(),
                  m_buffer.begin() + static_cast<std::ptrdiff_t>(m_used));
        m_used += bytes.size();
        return true;
    }
    // A piece larger than the room left goes straight out after what waits before it.
    if (!Flush()) {
        return false;
    }
    if (bytes.size() < m_buffer.size()) {
        return Write(bytes);
    }
    m_failed = !WriteThrough(bytes, m_code);
    return !m_failed;
}

bool FileSink::Flush() {
    if (!m_failed && m_used > 0) {
        m_failed = !WriteThrough({m_buffer.data(), m_used}, m_code);
        m_used = 0;
    }
    return !m_failed;
}

FileError Produce(FileSink& sink, const std::function<bool(OutputSink&)>& write) {
    bool finished = false;
    FileErrorKind thrown = FileErrorKind::None;
    try {
        finished = write(sink);
    } catch (const std::bad_alloc&) {
        thrown = FileErrorKind::OutOfMemory;
    } catch (...) {
        thrown = FileErrorKind::Abandoned;
    }
    // A failed write is the reason even where the writer gave up because of it.
    if (sink.m_failed) {
        return {FileErrorKind::WriteFailed, sink.m_code};
    }
    if (thrown != FileErrorKind::None) {
        return {thrown, 0};
    }
    if (!finished) {
        return {FileErrorKind::Abandoned, 0};
    }
    if (!sink.Flush()) {
        return {FileErrorKind::WriteFailed, sink.m_code};
    }
    return {};
}

bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         ReplaceMode mode, FileError* error, TemporaryFile temporary) noexcept {
    try {
        return ReplaceFileWith(
            path, [bytes](OutputSink& sink) { return sink.Write(bytes); }, mode, error, temporary);
    } catch (...) {  // the writer's own storage
        if (error != nullptr) {
            *error = FileError{FileErrorKind::OutOfMemory, 0};
        }
        return false;
    }
}

}  // namespace pelagor::platform
