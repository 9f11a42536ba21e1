#include "app/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace pelagor::app {

namespace {

// value * numerator / denominator, rounded half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(rounded);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(const DialogBaseUnits& units, int x, int y, int width, int height) {
    const int left = MulDiv(x, units.x, 4);
    const int top = MulDiv(y, units.y, 8);
    const int right = MulDiv(x + width, units.x, 4);
    const int bottom = MulDiv(y + height, units.y, 8);
    return {left, top, right - left, bottom - top};
}

QSize ToPixels(const DialogBaseUnits& units, int width, int height) {
    return ToPixels(units, 0, 0, width, height).size();
}

}  // namespace pelagor::app
