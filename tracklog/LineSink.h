#pragma once

// Where readers list what they store: one line per waypoint or track, appended in order.
// The dialog's list box is one; the command line collects them. Readers keep no reference to a
// sink after their Load returns.

#include <string>
#include <string_view>
#include <vector>

namespace pelagor {

class LineSink {
public:
    LineSink() = default;
    LineSink(const LineSink&) = delete;
    LineSink& operator=(const LineSink&) = delete;
    virtual ~LineSink() = default;
    virtual void AppendLine(std::string_view line) = 0;

protected:
    LineSink(LineSink&&) = default;
    LineSink& operator=(LineSink&&) = default;
};

class LineCollector final : public LineSink {
public:
    void AppendLine(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

}  // namespace pelagor
