#pragma once

// Loading a file for a command: as the dialog loads a source (WTR, then EVO) or as it loads the
// reference (MapSource), with the listing lines the readers append and a one-line reason when
// the file did not load.

#include <filesystem>
#include <memory>
#include <string>

#include "tracklog/LineSink.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::cli {

enum class DocumentRole { Source, Reference };

struct LoadedDocument {
    std::unique_ptr<TrackLogDocument> document;  // absent only when there was no memory for it
    bool loaded = false;
    bool unreadable = false;  // the file could not be read at all
    std::string failure;      // why it did not load; empty when it did
    LineCollector waypointLines;
    LineCollector trackLines;
};

// Loads `path` into `result`, which must be fresh. Never throws.
void LoadDocument(const std::filesystem::path& path, DocumentRole role,
                  LoadedDocument& result) noexcept;

}  // namespace pelagor::cli
