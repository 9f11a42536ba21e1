#include "cli/Progress.h"

namespace pelagor::cli {
namespace {

constexpr std::string_view kClearLine = "\r\x1b[K";  // to the line start, erase to its end

}  // namespace

void Progress::Show(std::size_t done, std::string_view file) {
    if (!m_enabled) {
        return;
    }
    m_err << kClearLine << '[' << done + 1 << '/' << m_total << "] " << file << std::flush;
    m_shown = true;
}

void Progress::Clear() {
    if (m_shown) {
        m_err << kClearLine << std::flush;
        m_shown = false;
    }
}

}  // namespace pelagor::cli
