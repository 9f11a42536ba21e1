#pragma once

#include <string>

#include "cli/Command.h"
#include "cli/LoadedDocument.h"

namespace pelagor::cli {

// `show FILE [--reference]`: a listing for people: the reader, whether the file loaded, the
// dialog's waypoint lines, and each track's line with its first and last clock reading and its
// extent in degrees.
class ShowCommand final : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Execute(Streams streams) override;

private:
    DocumentOptions m_options;
};

}  // namespace pelagor::cli
