#pragma once

// <windows.h> for the window's files, without the macros that would rename the toolkit's own
// GetProfileString and WriteProfileString to their Windows "W" forms in some files and not in
// others.

#include <windows.h>
// After windows.h, which they extend.
#include <commdlg.h>
#include <shellapi.h>

#undef GetProfileString
#undef WriteProfileString
