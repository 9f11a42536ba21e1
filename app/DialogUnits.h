#pragma once

// Dialog units to pixels, measured on the dialog's font the way Windows measures it: a
// horizontal unit is a quarter of the average width of the Latin letters, a vertical unit an
// eighth of the font's height. (A CJK font's own average width is a full-width glyph and would
// make the window twice as wide.)

#include <QFont>
#include <QRect>
#include <QSize>

namespace pelagor::app {

struct DialogBaseUnits {
    int x = 0;  // pixels per 4 horizontal dialog units
    int y = 0;  // pixels per 8 vertical dialog units
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

// Maps each edge separately and rounds as Windows does, so that neighbouring controls meet.
QRect ToPixels(const DialogBaseUnits& units, int x, int y, int width, int height);
QSize ToPixels(const DialogBaseUnits& units, int width, int height);

}  // namespace pelagor::app
