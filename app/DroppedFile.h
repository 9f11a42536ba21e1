#pragma once

// What a file dropped on the window is, told by its extension alone (in any case, as Windows
// and GPS receivers mix them): the dialog never opens a file just to see what it is.

#include <string_view>

namespace pelagor::app {

enum class DroppedFileKind { TrackLog, MapSource, Other };

DroppedFileKind KindOfDroppedFile(std::string_view path);

}  // namespace pelagor::app
