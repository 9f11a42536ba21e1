#pragma once

#include <string>

#include "cli/Command.h"
#include "cli/LoadedDocument.h"

namespace pelagor::cli {

// `dump FILE [--reference]`: loads FILE as the dialog loads a source (or, with --reference, as it
// loads the reference) and prints the document as JSON.
class DumpCommand final : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Execute(Streams streams) override;

private:
    DocumentOptions m_options;
};

}  // namespace pelagor::cli
