#pragma once

// The identifiers of dialog 102's controls, and the settings the dialog keeps. The numbers are
// the dialog's own and serve as the controls' object names.

#include <cstdint>
#include <string_view>

namespace pelagor::app {

enum class ControlId : int {
    Label = -1,
    SourcePath = 1003,
    ReferencePath = 1004,
    BrowseSource = 1005,
    BrowseReference = 1006,
    ListWaypoints = 1007,
    WaypointList = 1008,
    SourceWaypointCount = 1010,
    ReferenceWaypointCount = 1011,
    SourceTrackCount = 1012,
    Convert = 1013,
    ReferenceTrackCount = 1014,
};

// Settings: one section, three full file paths.
inline constexpr std::string_view kProfileSection = "Dialog";
inline constexpr std::string_view kSourceKey = "WTRFile";
inline constexpr std::string_view kReferenceKey = "TemplateMPSFile";
inline constexpr std::string_view kOutputKey = "MPSFile";

// File dialogs: "description|patterns|" pairs ended by a further "|", and the flags they take.
// The sources a list can be made of: track logs, and MapSource files read whole.
inline constexpr std::string_view kSourceFilter =
    "Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo|Garmin MapSource Files (*.mps)|*.mps||";
inline constexpr std::string_view kMapSourceFilter = "Garmin MapSource Files (*.mps)|*.mps||";
inline constexpr std::string_view kMapSourceExtension = "mps";
// What a conversion can write: a MapSource file built on the reference, or GPX, which needs none.
inline constexpr std::string_view kOutputFilter =
    "Garmin MapSource Files (*.mps)|*.mps|GPX 1.1 Files (*.gpx)|*.gpx||";
inline constexpr std::string_view kGpxFilter = "GPX 1.1 Files (*.gpx)|*.gpx||";
inline constexpr std::string_view kGpxExtension = "gpx";

inline constexpr std::uint32_t kOfnOverwritePrompt = 0x2;
inline constexpr std::uint32_t kOfnHideReadOnly = 0x4;
inline constexpr std::uint32_t kOfnPathMustExist = 0x800;
inline constexpr std::uint32_t kOfnFileMustExist = 0x1000;
// Every file dialog of the converter: the folder must exist, the file need not, and an existing
// output file is replaced without a question.
inline constexpr std::uint32_t kFileDialogFlags = kOfnHideReadOnly | kOfnPathMustExist;

// A bounded read of a path field yields at most this many characters (a buffer of 260).
inline constexpr std::size_t kBoundedFieldLength = 259;

}  // namespace pelagor::app
