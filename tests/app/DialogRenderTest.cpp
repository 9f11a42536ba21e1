// Draws the window offscreen into converter-window.png in the build folder and checks that the
// Chinese captions come out as glyphs: a machine without a Traditional Chinese face fails here
// instead of shipping empty boxes.

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QtTest>

#include "app/ConverterWindow.h"
#include "app/DialogFont.h"
#include "app/DialogTemplate.h"

using namespace pelagor::app;  // NOLINT: a test of this one namespace

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

QImage Glyph(const QFont& font, char32_t character) {
    QImage image(32, 32, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::fromUcs4(&character, 1));
    return image;
}

}  // namespace

class DialogRenderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallDialogFontSubstitution(); }

    void dialogFontIsATraditionalChineseMingFace() {
        const QFontInfo info(DialogFont());
        const QStringList accepted{Q(kDialogFontFamily), QStringLiteral("PMingLiU"),
                                   QStringLiteral("AR PL UMing TW")};
        QVERIFY2(accepted.contains(info.family()), qPrintable(info.family()));
    }

    void everyCaptionCharacterHasAGlyph() {
        const QFontMetrics metrics(DialogFont());
        QSet<char32_t> characters;
        for (const TemplateControl& control : kDialogControls) {
            for (char32_t c : Q(control.caption).toUcs4()) {
                characters.insert(c);
            }
        }
        for (char32_t c : Q(kDialogTitle).toUcs4()) {
            characters.insert(c);
        }
        QList<QImage> cjk;
        for (char32_t c : characters) {
            QVERIFY2(metrics.inFontUcs4(c), qPrintable(QString::fromUcs4(&c, 1)));
            if (c >= 0x4E00 && c <= 0x9FFF) {
                cjk.append(Glyph(DialogFont(), c));
            }
        }
        // Empty boxes all look alike; real glyphs differ from one another.
        QVERIFY(cjk.size() >= 10);
        for (qsizetype i = 1; i < cjk.size(); ++i) {
            QVERIFY(cjk[i] != cjk[0]);
        }
    }

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
            // The caption fits its control, as the template laid it out.
            QVERIFY2(widget->fontMetrics().horizontalAdvance(caption) <= widget->width(),
                     qPrintable(caption));
            const int ink = InkIn(image, widget->geometry());
            QVERIFY2(ink > 4 * caption.size(),
                     qPrintable(caption + QStringLiteral(": ") + QString::number(ink)));
        }
    }

    // A count shows its digits whole inside its sunken frame, as tall as the template makes it:
    // as much ink as the same digits drawn with room to spare, and none on the frame's edge.
    void countsAreNotCutOff() {
        ConverterWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString digits = QStringLiteral("8888");
        QImage whole(200, 60, QImage::Format_RGB32);
        whole.fill(window.palette().color(QPalette::Window));
        {
            QPainter painter(&whole);
            painter.setFont(window.font());
            painter.setPen(window.palette().color(QPalette::WindowText));
            painter.drawText(whole.rect(), Qt::AlignCenter, digits);
        }
        const int expected = InkIn(whole, whole.rect());
        QVERIFY(expected > 0);
        for (ControlId id : {ControlId::SourceWaypointCount, ControlId::SourceTrackCount,
                             ControlId::ReferenceWaypointCount, ControlId::ReferenceTrackCount}) {
            QLabel* count = window.Count(id);
            count->setText(digits);
            const QImage image = count->grab().toImage();
            const QRect inside = count->contentsRect();
            const int ink = InkIn(image, inside);
            QVERIFY2(
                ink * 10 >= expected * 9,
                qPrintable(QStringLiteral("%1: %2 of %3").arg(int(id)).arg(ink).arg(expected)));
            const QRect lastRow(inside.left(), inside.bottom(), inside.width(), 1);
            QCOMPARE(InkIn(image, lastRow), 0);
        }
    }
};

QTEST_MAIN(DialogRenderTest)
#include "DialogRenderTest.moc"
