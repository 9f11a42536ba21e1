#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/Command.h"

namespace pelagor {
class MapSourceDocument;
}  // namespace pelagor

namespace pelagor::cli {

struct LoadedDocument;

// `convert SOURCE... [--reference REF.mps] (-o OUT.mps | --output-dir DIR) [--no-clobber]`:
// what the dialog's Convert does, for one source or a whole batch. The reference is loaded once:
// a conversion leaves it as it was loaded. Without --reference the reference the program carries
// serves.
class ConvertCommand final : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Execute(Streams streams) override;

private:
    struct Job {
        std::string source;
        std::filesystem::path output;
        std::string failure;  // set when the job is refused before it runs
        bool unreadable = false;
    };

    int CheckArguments(Streams streams, std::vector<Job>& jobs) const;
    // Loads the reference into `reference` and says on `streams` when it cannot serve.
    [[nodiscard]] int CheckReference(Streams streams, LoadedDocument& reference) const;
    void LoadReference(LoadedDocument& reference) const;
    // The reference as messages name it.
    [[nodiscard]] std::string ReferenceName() const;
    void Run(Job& job, MapSourceDocument& reference, Streams streams) const;

    std::vector<std::string> m_sources;
    std::string m_reference;
    std::string m_output;
    std::string m_outputDir;
    bool m_noClobber = false;
};

}  // namespace pelagor::cli
