#pragma once

// Dialog template 102: the converter's window, in dialog units, controls in tab order.

#include <array>
#include <string_view>

#include "app/DialogIds.h"

namespace pelagor::app {

enum class ControlKind {
    Label,         // static text, left aligned
    Edit,          // single-line edit with a border, scrolling sideways
    ReadOnlyEdit,  // the same, read-only
    Button,        // push button, never the default one
    ListBox,       // bordered, vertical scroll bar, unsorted
    Count,         // static text, centred, sunken
};

struct TemplateControl {
    ControlId id;
    ControlKind kind;
    std::string_view caption;  // UTF-8
    int x;
    int y;
    int width;
    int height;
};

inline constexpr std::string_view kDialogTitle = "Pelagor 轉檔程式 1.1";
inline constexpr int kDialogWidth = 262;
inline constexpr int kDialogHeight = 139;
// The template's font; a machine without it gets the fallback of DialogFont.h.
inline constexpr std::string_view kDialogFontFamily = "新細明體";
inline constexpr int kDialogFontPoints = 9;

inline constexpr std::array<TemplateControl, 14> kDialogControls{{
    {ControlId::Label, ControlKind::Label, "Garmin WTR/EVO檔案:", 7, 7, 124, 8},
    {ControlId::SourcePath, ControlKind::Edit, "", 7, 20, 248, 13},
    {ControlId::BrowseSource, ControlKind::Button, "選擇檔案...", 151, 7, 50, 13},
    {ControlId::ListWaypoints, ControlKind::Button, "列出航點", 205, 7, 50, 13},
    {ControlId::Label, ControlKind::Label, "航點列表:", 7, 40, 68, 8},
    {ControlId::WaypointList, ControlKind::ListBox, "", 7, 51, 88, 81},
    {ControlId::SourceWaypointCount, ControlKind::Count, "", 101, 122, 41, 9},
    {ControlId::Convert, ControlKind::Button, "轉成MPS檔...", 101, 87, 115, 26},
    {ControlId::SourceTrackCount, ControlKind::Count, "", 147, 122, 41, 9},
    {ControlId::ReferencePath, ControlKind::ReadOnlyEdit, "", 102, 54, 153, 13},
    {ControlId::BrowseReference, ControlKind::Button, "選擇檔案...", 205, 69, 50, 13},
    {ControlId::Label, ControlKind::Label, "參考用Garmin MapSource檔案:", 101, 41, 124, 8},
    {ControlId::ReferenceWaypointCount, ControlKind::Count, "", 102, 70, 41, 9},
    {ControlId::ReferenceTrackCount, ControlKind::Count, "", 148, 70, 41, 9},
}};

}  // namespace pelagor::app
