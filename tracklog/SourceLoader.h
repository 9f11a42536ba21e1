#pragma once

// How a source file is loaded, by the dialog and the command line alike: the file is read once,
// then a WTR document reads it; when that fails, the document is destroyed and a fresh EVO
// document reads the same bytes, appending to the same list.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "tracklog/TrackLogDocument.h"

namespace pelagor {

struct SourceLoadReport {
    std::string wtrReason;  // why the WTR reader refused, when it did
    std::string evoReason;  // why the EVO reader refused, when it was tried and did
};

// Fills `slot` with the document that read the file (or the failed EVO document), destroying
// what it held before anything is read. Returns that document's Load result.
std::int32_t LoadSource(std::unique_ptr<TrackLogDocument>& slot, const std::filesystem::path& path,
                        LineSink* waypointList, LineSink* trackList,
                        SourceLoadReport* report = nullptr);

// The same on a file already read (by ReadForLoad, with a first rule that lets WTR and EVO files
// through).
std::int32_t LoadSourceRead(std::unique_ptr<TrackLogDocument>& slot, const FileForLoad& file,
                            LineSink* waypointList, LineSink* trackList,
                            SourceLoadReport* report = nullptr);

// Whether the WTR or the EVO reader may take a file that begins with `firstBytes`.
bool TrackLogMayRead(std::span<const std::uint8_t> firstBytes);

}  // namespace pelagor
