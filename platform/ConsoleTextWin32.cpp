#include <windows.h>

#include "platform/ConsoleText.h"

#include <algorithm>
#include <string>

#include "platform/Utf16.h"

namespace pelagor::platform {
namespace {

// Pieces a console of any age takes in one call (older ones fail a write of 64 KiB).
constexpr std::size_t kPieceBytes = 8192;

bool IsContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0U) == 0x80U;
}

// The bytes of the UTF-8 sequence `lead` begins; 1 for a byte that begins none.
std::size_t SequenceLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    if (byte >= 0xF5U) {
        return 1;
    }
    if (byte >= 0xF0U) {
        return 4;
    }
    if (byte >= 0xE0U) {
        return 3;
    }
    return byte >= 0xC2U ? 2 : 1;
}

// The length of `bytes` without the start of a character that their end cuts short.
std::size_t WholeLength(std::string_view bytes) {
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
        const char byte = bytes[bytes.size() - back];
        if (!IsContinuation(byte)) {
            return SequenceLength(byte) > back ? bytes.size() - back : bytes.size();
        }
    }
    return bytes.size();
}

}  // namespace

bool ConsoleText::WriteUtf8(std::string_view whole) noexcept {
    std::wstring text;
    try {
        text = Utf8ToUtf16(whole);
    } catch (...) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    std::wstring_view left = text;
    while (!left.empty()) {
        std::uint32_t written = 0;
        if (!m_write(left.data(), static_cast<std::uint32_t>(left.size()), written) ||
            written == 0) {
            return false;
        }
        // Counted in the units given, never in the bytes they came from.
        left.remove_prefix(std::min<std::size_t>(written, left.size()));
    }
    return true;
}

bool ConsoleText::Write(std::string_view bytes) noexcept {
    if (m_heldCount > 0) {
        const std::size_t needed = SequenceLength(m_held[0]);
        while (m_heldCount < needed && !bytes.empty() && IsContinuation(bytes.front())) {
            m_held[m_heldCount++] = bytes.front();
            bytes.remove_prefix(1);
        }
        if (m_heldCount < needed && bytes.empty()) {
            return true;
        }
        // Complete, or cut short by a byte that does not continue it (shown as U+FFFD).
        if (!WriteUtf8({m_held.data(), std::exchange(m_heldCount, 0)})) {
            return false;
        }
    }
    while (!bytes.empty()) {
        const std::size_t whole = WholeLength(bytes.substr(0, kPieceBytes));
        if (whole == 0) {
            break;  // the start of a character, at the very end
        }
        if (!WriteUtf8(bytes.substr(0, whole))) {
            return false;
        }
        bytes.remove_prefix(whole);
    }
    std::copy(bytes.begin(), bytes.end(), m_held.begin());
    m_heldCount = bytes.size();
    return true;
}

bool ConsoleText::Finish() noexcept {
    return m_heldCount == 0 || WriteUtf8({m_held.data(), std::exchange(m_heldCount, 0)});
}

}  // namespace pelagor::platform
