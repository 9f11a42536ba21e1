#pragma once

#include <string>
#include <vector>

#include "cli/Command.h"

namespace pelagor::cli {

// `gpx FILE... [-o OUT.gpx] [--reference] [--encoding CP]`: the files' waypoints and tracks as
// one GPX 1.1 document, on stdout or in OUT.gpx.
class GpxCommand final : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Execute(Streams streams) override;

private:
    std::vector<std::string> m_files;
    std::string m_output;
    std::string m_encoding;
    bool m_reference = false;
};

}  // namespace pelagor::cli
