#include "cli/DumpCommand.h"

#include <CLI/CLI.hpp>

#include "cli/ArchiveJson.h"
#include "cli/DocumentJson.h"
#include "cli/LoadedDocument.h"
#include "platform/CodePage.h"
#include "platform/PathText.h"

namespace pelagor::cli {

CLI::App* DumpCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "dump",
        "Print a file as JSON: a WTR or EVO file as the dialog loads it, a MapSource file whole "
        "(\"reader\": \"archive\": every waypoint, route, track and map segment with every "
        "field read).");
    m_options.AddTo(*command,
                    R"(read FILE as a MapSource reference file instead ("reader": "mps"))");
    command->footer(
        "Exit status: 0 when the file loaded, 1 when it did not or an archive was read in part "
        "(the JSON shows what it holds, stderr why), 2 for usage errors and files that cannot be "
        "read.");
    return command;
}

int DumpCommand::Execute(Streams streams) {
    LoadedDocument loaded;
    if (const auto stop = m_options.Load(streams, loaded)) {
        return *stop;
    }
    JsonWriter json(streams.out);
    if (loaded.archive) {
        WriteArchiveJson(json, *loaded.archive, m_options.encoding);
    } else {
        WriteDocumentJson(
            json, {ReaderName(*loaded.document), loaded.loaded, loaded.document.get(),
                   &loaded.waypointLines.lines, &loaded.trackLines.lines, m_options.encoding});
    }
    if (!loaded.loaded) {
        ReportFailure(streams.err, m_options.file, loaded);
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace pelagor::cli
