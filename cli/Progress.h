#pragma once

// The one-line progress of a batch on a terminal: "[3/120] trip.wtr", redrawn in place and
// cleared before anything else is printed. Off when nobody watches, so that redirected output
// holds only results and errors.

#include <cstddef>
#include <ostream>
#include <string_view>

namespace pelagor::cli {

class Progress {
public:
    Progress(std::ostream& err, bool enabled, std::size_t total)
        : m_err(err), m_enabled(enabled), m_total(total) {}
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    ~Progress() { Clear(); }

    // Shows that file number `done` + 1 of the total, `file`, is being worked on.
    void Show(std::size_t done, std::string_view file);
    // Removes the line, so that a message can take its place.
    void Clear();

private:
    std::ostream& m_err;
    bool m_enabled;
    std::size_t m_total;
    bool m_shown = false;
};

}  // namespace pelagor::cli
