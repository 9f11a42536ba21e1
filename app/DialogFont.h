#pragma once

// The dialog's font: the template's Ming face at 9 points. Where it is not installed, the
// Traditional Chinese Ming face of Debian's fonts-arphic-uming stands in, mapped here so that no
// machine-wide font configuration is needed (left alone, Qt picks a Japanese-form CJK face).

#include <QFont>

namespace pelagor::app {

// Registers the fallback; once per process, before the first window.
void InstallDialogFontSubstitution();
QFont DialogFont();

}  // namespace pelagor::app
