#include "app/DroppedFile.h"

#include <algorithm>
#include <cctype>

namespace pelagor::app {
namespace {

// True when the file name ends in "." and `extension` (lower case), after at least one other
// character.
bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size() + 2 || name[name.size() - extension.size() - 1] != '.') {
        return false;
    }
    return std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                      [](char wanted, char actual) {
                          return wanted == std::tolower(static_cast<unsigned char>(actual));
                      });
}

}  // namespace

DroppedFileKind KindOfDroppedFile(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (HasExtension(name, "wtr") || HasExtension(name, "evo")) {
        return DroppedFileKind::TrackLog;
    }
    if (HasExtension(name, "mps")) {
        return DroppedFileKind::MapSource;
    }
    return DroppedFileKind::Other;
}

}  // namespace pelagor::app
