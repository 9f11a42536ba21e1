#include "cli/ConvertCommand.h"

#include <CLI/CLI.hpp>
#include <sstream>

#include "cli/LoadedDocument.h"
#include "cli/OutputNames.h"
#include "cli/Progress.h"
#include "mapsource/MapSourceDocument.h"
#include "platform/PathGuard.h"
#include "platform/PathIdentity.h"
#include "platform/PathText.h"

namespace pelagor::cli {
namespace {

constexpr std::string_view kOutputExtension = ".mps";

// Why a reference cannot serve, or empty when it can. A conversion needs a template record, and
// the dialog converts only against a reference that loaded and holds at least one waypoint.
std::string ReferenceProblem(const LoadedDocument& reference) {
    if (!reference.document) {
        return "out of memory";
    }
    if (!reference.loaded) {
        return reference.unreadable ? reference.failure
                                    : "reference does not load: " + reference.failure;
    }
    if (!CanTakePartInConversion(reference.document.get())) {
        return "reference has no waypoints";
    }
    return {};
}

}  // namespace

CLI::App* ConvertCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "convert", "Convert WTR or EVO files to MapSource files, as the dialog's Convert does.");
    command
        ->add_option("SOURCE", m_sources,
                     "track logs to convert (each read as WTR, or as EVO when it is not WTR)")
        ->required();
    command->add_option("--reference", m_reference,
                        "MapSource file whose header, record templates and map segments the "
                        "output takes. Without it the output is "
                        "built on the reference the program carries: the header MapSource 4.06 "
                        "writes, a plain user-waypoint template and no map segments");
    CLI::Option* output =
        command->add_option("-o,--output", m_output, "output file, for a single SOURCE");
    CLI::Option* folder = command->add_option(
        "--output-dir", m_outputDir,
        "existing folder for the outputs, each named after its SOURCE with the last extension "
        "replaced by .mps (trip.2024-05.v2.wtr gives trip.2024-05.v2.mps)");
    output->excludes(folder);
    command->add_flag("--no-clobber", m_noClobber,
                      "never replace an existing output (by default an existing file is "
                      "replaced, only once the new one is complete on disk)");
    command->footer(
        "A source needs at least one waypoint, and the reference must load and hold at least "
        "one waypoint. An output that would replace an input (the same file through any path, "
        "link, hard link or bind mount) is refused before anything is read or written; an "
        "existing output that is not a regular file (a device, a pipe) is refused and kept. A "
        "source that fails leaves no file; the others are converted all the same, and a summary "
        "on stderr names the failed ones. A progress line is drawn on stderr when it is a "
        "terminal.\n"
        "A MapSource file given as a SOURCE is refused: MapSource files are exported with "
        "pelagor-cli gpx.\n"
        "Exit status: 0 when every source was converted; 1 when some were not; 2 for usage "
        "errors, a reference that cannot be read, and a single SOURCE that cannot be read or is "
        "a MapSource file.");
    return command;
}

int ConvertCommand::CheckArguments(Streams streams, std::vector<Job>& jobs) const {
    if (m_output.empty() == m_outputDir.empty()) {
        streams.err << "pelagor-cli convert: give -o OUT.mps for one source or --output-dir DIR\n";
        return kExitUsage;
    }
    if (!m_output.empty() && m_sources.size() != 1) {
        streams.err << "pelagor-cli convert: -o takes a single source; use --output-dir DIR for "
                    << m_sources.size() << " sources\n";
        return kExitUsage;
    }
    if (!m_outputDir.empty() && !platform::IsFolder(platform::PathFromUtf8(m_outputDir))) {
        streams.err << platform::PrintableName(m_outputDir) << ": no such folder\n";
        return kExitUsage;
    }
    platform::PathGuard inputs;
    for (const std::string& source : m_sources) {
        inputs.Add(platform::PathFromUtf8(source), source);
    }
    if (!m_reference.empty()) {
        inputs.Add(platform::PathFromUtf8(m_reference), m_reference);
    }
    platform::PathGuard outputs;
    for (const std::string& source : m_sources) {
        Job job;
        job.source = source;
        job.output = m_output.empty()
                         ? platform::PathFromUtf8(m_outputDir) /
                               OutputNameFor(platform::PathFromUtf8(source), kOutputExtension)
                         : platform::PathFromUtf8(m_output);
        if (const auto input = inputs.NamedBy(job.output)) {
            streams.err << platform::PrintableName(platform::PathToUtf8(job.output))
                        << ": the output would replace the input "
                        << platform::PrintableName(*input) << "; nothing converted\n";
            return kExitUsage;
        }
        // Two sources that make the same output name (trip.wtr and trip.evo): the first one
        // keeps it; the later one is refused rather than replacing a file this run wrote.
        if (const auto earlier = outputs.NamedBy(job.output)) {
            job.failure = "the output " +
                          platform::PrintableName(platform::PathToUtf8(job.output)) +
                          " is already that of " + platform::PrintableName(*earlier);
        } else {
            outputs.Add(job.output, source);
        }
        jobs.push_back(std::move(job));
    }
    return kExitSuccess;
}

void ConvertCommand::LoadReference(LoadedDocument& reference) const {
    if (m_reference.empty()) {
        LoadBuiltInReference(reference);
    } else {
        LoadDocument(platform::PathFromUtf8(m_reference), DocumentRole::Reference, reference);
    }
}

std::string ConvertCommand::ReferenceName() const {
    return m_reference.empty() ? "the built-in reference" : platform::PrintableName(m_reference);
}

int ConvertCommand::CheckReference(Streams streams, LoadedDocument& reference) const {
    LoadReference(reference);
    const std::string problem = ReferenceProblem(reference);
    if (problem.empty()) {
        return kExitSuccess;
    }
    streams.err << ReferenceName() << ": " << problem << '\n';
    return reference.unreadable ? kExitUsage : kExitFailure;
}

void ConvertCommand::Run(Job& job, MapSourceDocument& reference, Streams streams) const {
    if (m_noClobber && platform::Exists(job.output)) {
        job.failure = platform::PrintableName(platform::PathToUtf8(job.output)) +
                      " exists and --no-clobber keeps it";
        return;
    }
    LoadedDocument source;
    LoadDocument(platform::PathFromUtf8(job.source), DocumentRole::Source, source);
    if (source.mapSourceFile) {
        job.failure = source.failure;
        job.unreadable = true;  // refused as a file this command cannot take
        return;
    }
    if (!source.document) {
        job.failure = "out of memory";
        return;
    }
    if (source.unreadable) {
        job.failure = source.failure;
        job.unreadable = true;
        return;
    }
    if (!CanTakePartInConversion(source.document.get())) {
        job.failure = source.loaded ? "has no waypoints; nothing to convert"
                                    : "not a WTR or EVO file (" + source.failure + ")";
        return;
    }
    if (!source.loaded) {
        // The dialog converts such a source too: what it read before the fault is kept.
        streams.err << platform::PrintableName(job.source) << ": warning: " << source.failure
                    << "; converting the " << Counted(source.document->waypointCount, "waypoint")
                    << " and " << Counted(source.document->trackCount, "track")
                    << " read before it\n";
    }
    const platform::ReplaceMode mode =
        m_noClobber ? platform::ReplaceMode::NoClobber : platform::ReplaceMode::Replace;
    if (reference.WriteMerged(*source.document, job.output, mode) == 0) {
        job.failure = reference.WriteFailureReason();
        return;
    }
    streams.out << platform::PrintableName(job.source) << " -> "
                << platform::PrintableName(platform::PathToUtf8(job.output)) << " ("
                << Counted(source.document->waypointCount, "waypoint") << ", "
                << Counted(source.document->trackCount, "track") << ")\n";
}

int ConvertCommand::Execute(Streams streams) {
    std::vector<Job> jobs;
    jobs.reserve(m_sources.size());
    if (const int status = CheckArguments(streams, jobs); status != kExitSuccess) {
        return status;
    }
    LoadedDocument reference;
    if (const int status = CheckReference(streams, reference); status != kExitSuccess) {
        return status;
    }
    auto& merged = static_cast<MapSourceDocument&>(*reference.document);
    std::size_t converted = 0;
    {
        Progress progress(streams.err, streams.errIsTerminal, jobs.size());
        for (std::size_t index = 0; index < jobs.size(); ++index) {
            Job& job = jobs[index];
            progress.Show(index, platform::PrintableName(job.source));
            std::ostringstream out;
            std::ostringstream err;
            if (job.failure.empty()) {
                Run(job, merged, Streams{out, err, false});
            }
            progress.Clear();
            streams.err << err.str();
            streams.out << out.str() << std::flush;
            if (job.failure.empty()) {
                ++converted;
            } else {
                streams.err << platform::PrintableName(job.source) << ": " << job.failure << '\n';
            }
        }
    }
    const bool single = jobs.size() == 1;
    if (!single) {
        streams.err << "converted " << converted << " of " << jobs.size() << " sources";
        if (converted < jobs.size()) {
            streams.err << "; failed:";
            for (const Job& job : jobs) {
                if (!job.failure.empty()) {
                    streams.err << "\n  " << platform::PrintableName(job.source) << ": "
                                << job.failure;
                }
            }
        }
        streams.err << '\n';
    }
    if (converted == jobs.size()) {
        return kExitSuccess;
    }
    return single && jobs.front().unreadable ? kExitUsage : kExitFailure;
}

}  // namespace pelagor::cli
