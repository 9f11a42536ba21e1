#pragma once

// Loading a file for a command: as the dialog loads a source (WTR, then EVO), as a source that
// may also be a MapSource archive, or as the dialog loads the reference (MapSource), with the
// listing lines the readers append and a one-line reason when the file did not load.

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/Command.h"

#include "mapsource/MapSourceArchive.h"
#include "mapsource/WaypointRecords.h"
#include "tracklog/LineSink.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::cli {

enum class DocumentRole {
    Source,           // a track log; a MapSource file is refused without being read whole
    SourceOrArchive,  // a track log, or a MapSource file read whole as an archive
    Reference,        // a MapSource file read as a conversion reference
};

struct LoadedDocument {
    // The document, or the archive of a MapSource file read as one; neither only when there was
    // no memory for it or when a source role refused a MapSource file.
    std::unique_ptr<TrackLogDocument> document;
    std::unique_ptr<MapSourceArchive> archive;
    bool mapSourceFile = false;  // a MapSource file given as a source
    bool loaded = false;         // for an archive: every record was read
    bool unreadable = false;     // the file could not be read at all
    std::string failure;         // why it did not load; empty when it did
    LineCollector waypointLines;
    LineCollector trackLines;
};

// Loads `path` into `result`, which must be fresh. Never throws.
void LoadDocument(const std::filesystem::path& path, DocumentRole role,
                  LoadedDocument& result) noexcept;

// Says on `err` why `loaded` did not load whole: one line naming `file`, or one per warning of
// an archive.
void ReportFailure(std::ostream& err, std::string_view file, const LoadedDocument& loaded);

// Loads the reference the program carries, as `convert` does when given none.
void LoadBuiltInReference(LoadedDocument& result) noexcept;

// The waypoint records of a MapSource reference, one per waypoint entry; empty for a track log.
std::span<const WaypointRecordView> ReferenceWaypointViews(const TrackLogDocument& document);

// Whether the code pages know `encoding`; when they do not, says so on `err`.
bool CheckEncoding(std::string_view encoding, std::ostream& err);

// What the commands that show one file take: FILE, --reference and --encoding.
struct DocumentOptions {
    std::string file;
    std::string encoding;
    bool reference = false;

    // Declares the three on `command`; `referenceHelp` says what --reference changes there.
    void AddTo(CLI::App& command, const std::string& referenceHelp);
    // Checks the encoding, loads the file into `result` and reports a file that cannot be read.
    // Returns the exit status to stop with, or nothing when `result` holds a document to show.
    std::optional<int> Load(Streams streams, LoadedDocument& result) const;
};

}  // namespace pelagor::cli
