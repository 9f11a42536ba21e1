// The real window driven offscreen: what is specific to the Qt view (widgets, keys, drops, the
// file-dialog runner, the settings file). The dialog's logic is ConverterDialogTest's.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "app/ConverterDialog.h"
#include "app/ConverterWindow.h"
#include "app/DialogFont.h"
#include "app/DialogTemplate.h"
#include "app/QtDialogToolkit.h"
#include "app/SettingsProfile.h"
#include "builder/MpsFiles.h"
#include "builder/TrackLogFiles.h"

using namespace pelagor::app;  // NOLINT: a test of this one namespace
namespace testkit = pelagor::testkit;

namespace {

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

// "台北" and "山頂" in Big5, the code page the receivers write names in.
const std::vector<testkit::SampleWaypoint> kWaypoints{
    {{'\xA5', '\x78', '\xA5', '\x5F'}, 303000000, 1450000000, 12.0F, 18},
    {"HOME", 303100000, 1450100000, 123.4F, 18},
    {{'\xA4', '\x73', '\xB3', '\xBB'}, 303200000, 1450200000, 3952.0F, 18},
};

QString Stored(const QString& key) {
    return OpenUserSettings()->value(QStringLiteral("Pelagor/Dialog/") + key).toString();
}

// One run of the application's dialog, with its own window and settings store.
struct Session {
    Session() : settings(OpenUserSettings()), profile(*settings, QStringLiteral("Pelagor")) {
        toolkit.Attach(dialog);
    }
    [[nodiscard]] QString Count(ControlId id) const { return window.Count(id)->text(); }
    void Click(ControlId id) const { QTest::mouseClick(window.Button(id), Qt::LeftButton); }

    std::unique_ptr<QSettings> settings;
    SettingsProfile profile;
    ConverterWindow window;
    QtDialogToolkit toolkit{window, profile};
    ConverterDialog dialog{toolkit};
};

}  // namespace

class ConverterWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallDialogFontSubstitution();
        QVERIFY(m_folder.isValid());
        WriteFile(m_source, testkit::WtrFile(kWaypoints, {{"DAY", {{1, 2, 3, 4.0F}}}}));
        WriteFile(m_reference, testkit::MpsFile(testkit::SampleReference()));
    }

    void init() {
        // Each test starts as a user who never ran the program.
        m_config = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config->path());
    }

    void templateControls() {
        Session session;
        ConverterWindow& window = session.window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Pelagor 轉檔程式 1.1"));
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        // The client area is the template's 262 x 139 units, not a pixel more.
        const DialogBaseUnits units = window.BaseUnits();
        QCOMPARE(window.size(), ToPixels(units, kDialogWidth, kDialogHeight));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        // Latin-letter units: a CJK face's full-width average would double them.
        QVERIFY2(units.x >= 4 && units.x <= 9, qPrintable(QString::number(units.x)));
        QVERIFY2(units.y >= 10 && units.y <= 18, qPrintable(QString::number(units.y)));
        for (const TemplateControl& control : kDialogControls) {
            if (control.id == ControlId::Label) {
                continue;
            }
            auto* widget =
                window.findChild<QWidget*>(QString::number(static_cast<int>(control.id)));
            QVERIFY(widget != nullptr);
            QCOMPARE(widget->geometry(),
                     ToPixels(units, control.x, control.y, control.width, control.height));
        }
        QCOMPARE(window.findChildren<QLabel*>(QStringLiteral("-1")).size(), 3);
        QVERIFY(!window.Field(ControlId::SourcePath)->isReadOnly());
        QVERIFY(window.Field(ControlId::ReferencePath)->isReadOnly());
        for (QPushButton* button : window.findChildren<QPushButton*>()) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
        QCOMPARE(window.Button(ControlId::Convert)->text(), QStringLiteral("轉成MPS檔..."));
    }

    void keysEndTheDialog_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter in the source field")
            << int(Qt::Key_Return) << 1003 << int(QDialog::Accepted);
        QTest::newRow("keypad Enter in the list")
            << int(Qt::Key_Enter) << 1008 << int(QDialog::Accepted);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 1003 << int(QDialog::Rejected);
    }

    void keysEndTheDialog() {
        QFETCH(int, key);
        QFETCH(int, focus);
        QFETCH(int, result);
        Session session;
        QTimer::singleShot(0, &session.window, [&] {
            auto* target = session.window.findChild<QWidget*>(QString::number(focus));
            target->setFocus();
            QTest::keyClick(target, static_cast<Qt::Key>(key));
        });
        QCOMPARE(session.toolkit.DoModal(session.dialog), result);
        // Ending the dialog writes nothing.
        QVERIFY(!QFile::exists(OpenUserSettings()->fileName()));
    }

    void typePathAndList() {
        Session session;
        QLineEdit* field = session.window.Field(ControlId::SourcePath);
        for (const QChar c : m_source) {  // key by key, as a user types
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(session.window.WaypointList()->count(), 0);
        session.Click(ControlId::ListWaypoints);
        QListWidget* list = session.window.WaypointList();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("台北  12"));
        QCOMPARE(list->item(2)->text(), QStringLiteral("山頂 3952"));
        QCOMPARE(session.Count(ControlId::SourceWaypointCount), QStringLiteral("3"));
        QCOMPARE(session.Count(ControlId::SourceTrackCount), QStringLiteral("1"));
        QCOMPARE(Stored(QStringLiteral("WTRFile")), m_source);
    }

    void browseWithTheDialogStubbed() {
        Session session;
        session.toolkit.SetFileDialogRunner(
            [&](QWidget* owner, FileDialogMode mode, const FileDialogRequest& request) {
                [&] { QCOMPARE(owner, &session.window); }();
                [&] { QCOMPARE(mode, FileDialogMode::Open); }();
                return std::optional<QString>(
                    request.filter.find("*.mps") != std::string::npos ? m_reference : m_source);
            });
        // Field by field: swapped buttons would fill both in the end.
        session.Click(ControlId::BrowseSource);
        QCOMPARE(session.window.Field(ControlId::SourcePath)->text(), m_source);
        session.Click(ControlId::BrowseReference);
        QCOMPARE(session.window.Field(ControlId::ReferencePath)->text(), m_reference);
    }

    // As a file manager drops them: the local track log and MapSource file reach the dialog.
    void dropFilesOnTheWindow() {
        Session session;
        const QString other = m_folder.filePath(QStringLiteral("notes.txt"));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(other), QUrl::fromLocalFile(m_source),
                      QUrl::fromLocalFile(m_reference), QUrl(QStringLiteral("https://x/a.wtr"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&session.window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&session.window, &drop);
        QCOMPARE(session.window.Field(ControlId::SourcePath)->text(), m_source);
        QCOMPARE(Stored(QStringLiteral("TemplateMPSFile")), m_reference);
    }

    // Restored at start, converted through the button: the window closes as accepted and the
    // output path lands in the settings file.
    void convertEndsTheDialogWithTheFileWritten() {
        OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/WTRFile"), m_source);
        OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/TemplateMPSFile"), m_reference);
        int result = -1;
        {
            Session session;
            session.toolkit.SetFileDialogRunner([&](QWidget*, FileDialogMode mode, const auto&) {
                return mode == FileDialogMode::Save ? std::optional<QString>(m_output)
                                                    : std::nullopt;
            });
            QTimer::singleShot(0, &session.window, [&] {
                session.Click(ControlId::Convert);
                if (session.window.isVisible()) {
                    session.window.reject();  // the conversion failed; do not hang
                }
            });
            result = session.toolkit.DoModal(session.dialog);
        }
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(QFile::exists(m_output));
        // Where earlier versions kept the settings: a renamed store would lose them.
        QFile store(m_config->filePath(QStringLiteral("Orvane/Tessolt.conf")));
        QVERIFY(store.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(store.readAll());
        QVERIFY2(text.contains(QStringLiteral("[Pelagor]")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Dialog\\MPSFile=")), qPrintable(text));
        QCOMPARE(Stored(QStringLiteral("MPSFile")), m_output);
    }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QTemporaryDir> m_config;
    QString m_source = m_folder.filePath(QStringLiteral("台北 trip.wtr"));
    QString m_reference = m_folder.filePath(QStringLiteral("reference.mps"));
    QString m_output = m_folder.filePath(QStringLiteral("轉出.mps"));
};

QTEST_MAIN(ConverterWindowTest)
#include "ConverterWindowTest.moc"
