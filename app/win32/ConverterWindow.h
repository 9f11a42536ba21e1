#pragma once

// The converter's window on Windows: dialog template 102, drawn by the dialog manager, with the
// dialog's commands, dropped files, the icon while minimised and the destruction hook wired to
// the controller.

#include "app/win32/WindowsApi.h"

#include <string>

#include "app/ConverterDialog.h"
#include "app/win32/Win32DialogToolkit.h"

namespace pelagor::app {

// One run of the dialog: the toolkit, the controller over it, and the source named on the
// command line (UTF-8, empty for none).
struct ConverterSession {
    ConverterSession(const RegistryProfile& profile, AppIcons icons) : toolkit(profile, icons) {}

    Win32DialogToolkit toolkit;
    ConverterDialog dialog{toolkit};
    std::string startSource;
};

// The modal dialog, as the application runs it: returns IDOK after a conversion, IDCANCEL when
// closed, -1 when the window could not be made.
INT_PTR RunConverterWindow(HINSTANCE module, ConverterSession& session);
// The same dialog without its modal loop (tests drive it with messages); null when it cannot be
// made. The caller destroys it.
HWND CreateConverterWindow(HINSTANCE module, ConverterSession& session);

// The source named by the first argument of `commandLine` ("Open with" gives one), as a full
// path in UTF-8; empty when there is none.
std::string StartSource(const wchar_t* commandLine);

}  // namespace pelagor::app
