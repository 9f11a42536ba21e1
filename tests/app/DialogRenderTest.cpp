// Draws the window offscreen into converter-window.png in the build folder and checks that the
// Chinese captions come out as glyphs: a machine without a Traditional Chinese face fails here
// instead of shipping empty boxes.

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "app/ConverterWindow.h"
#include "app/DialogFont.h"

using namespace pelagor::app;  // NOLINT: a test of this one namespace

namespace {

// Pixels clearly darker than the background (the Ming face's strokes are thin).
int InkIn(const QImage& image, const QRect& area) {
    int ink = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 160) {
                ++ink;
            }
        }
    }
    return ink;
}

}  // namespace

class DialogRenderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallDialogFontSubstitution(); }

    void renderedCaptionsHaveInk() {
        ConverterWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage image = window.grab().toImage();
        QVERIFY(image.save(QStringLiteral(PELAGOR_RENDER_OUTPUT)));
        QCOMPARE(image.size(), window.size() * window.devicePixelRatio());
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            QString caption;
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                caption = label->text();
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                caption = button->text();
            }
            if (caption.isEmpty()) {
                continue;
            }
            // A face without the characters would draw boxes, which have ink too.
            for (char32_t c : caption.toUcs4()) {
                QVERIFY2(widget->fontMetrics().inFontUcs4(c), qPrintable(caption));
            }
            const int ink = InkIn(image, widget->geometry());
            QVERIFY2(ink > 4 * caption.size(),
                     qPrintable(caption + QStringLiteral(": ") + QString::number(ink)));
        }
    }
};

QTEST_MAIN(DialogRenderTest)
#include "DialogRenderTest.moc"
