#include "cli/DumpCommand.h"

#include <CLI/CLI.hpp>

#include "cli/DocumentJson.h"
#include "cli/SourceFailure.h"
#include "platform/CodePage.h"
#include "platform/PathText.h"
#include "tracklog/SourceLoader.h"

namespace pelagor::cli {

CLI::App* DumpCommand::Register(CLI::App& app) {
    m_encoding = std::string(platform::kDefaultEncoding);
    CLI::App* command = app.add_subcommand(
        "dump", "Load a WTR or EVO file as the dialog does and print it as JSON.");
    command->add_option("FILE", m_file, "track log to read (WTR, or EVO when it is not WTR)")
        ->required();
    command->add_option("--encoding", m_encoding, "code page of the names (cp950 by default)");
    return command;
}

int DumpCommand::Execute(Streams streams) {
    if (!platform::IsEncodingSupported(m_encoding)) {
        streams.err << "pelagor-cli: unknown encoding '" << m_encoding << "'\n";
        return kExitUsage;
    }
    LineCollector waypointLines;
    LineCollector trackLines;
    SourceLoadReport report;
    std::unique_ptr<TrackLogDocument> document;
    const bool loaded = LoadSource(document, platform::PathFromUtf8(m_file), &waypointLines,
                                   &trackLines, &report) != 0;
    if (!document) {
        streams.err << m_file << ": out of memory\n";
        return kExitUsage;
    }
    if (!loaded && document->FileUnreadable()) {
        streams.err << m_file << ": " << document->FailureReason() << '\n';
        return kExitUsage;
    }
    JsonWriter json(streams.out);
    WriteDocumentJson(json, {ReaderName(*document), loaded, document.get(), &waypointLines.lines,
                             &trackLines.lines, m_encoding});
    if (!loaded) {
        streams.err << m_file << ": " << DescribeSourceFailure(report) << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace pelagor::cli
