// The real window driven offscreen: the template's controls and keys, typing a path and
// listing it, browsing with the file dialog stubbed, converting, and the settings file that
// the next start reads.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/ConverterDialog.h"
#include "app/ConverterWindow.h"
#include "app/DialogFont.h"
#include "app/DialogTemplate.h"
#include "app/PathText.h"
#include "app/QtDialogToolkit.h"
#include "app/SettingsProfile.h"
#include "builder/MpsFiles.h"
#include "builder/TrackLogFiles.h"
#include "mapsource/MapSourceDocument.h"

using namespace pelagor::app;  // NOLINT: a test of this one namespace
namespace testkit = pelagor::testkit;

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

// Types `text` key by key, as a user would; any character, not only Latin-1.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// "台北" and "山頂" in Big5, the code page the receivers write names in.
const std::string kTaipeiBig5{'\xA5', '\x78', '\xA5', '\x5F'};
const std::string kPeakBig5{'\xA4', '\x73', '\xB3', '\xBB'};

const std::vector<testkit::SampleWaypoint> kWaypoints{
    {kTaipeiBig5, 303000000, 1450000000, 12.0F, 18},
    {"HOME", 303100000, 1450100000, 123.4F, 18},
    {kPeakBig5, 303200000, 1450200000, 3952.0F, 18},
};
const testkit::SampleTrack kTrack{"DAY", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}}};

// One run of the application's dialog, with its own window and settings store.
struct Session {
    Session() : settings(OpenUserSettings()), profile(*settings, QStringLiteral("Pelagor")) {
        toolkit.Attach(dialog);
    }
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
    }

    void init() {
        // Each test starts as a user who never ran the program.
        m_config = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config->path());
        m_source = m_folder.filePath(QStringLiteral("台北 trip.wtr"));
        WriteFile(m_source, testkit::WtrFile(kWaypoints, kTrack));
        m_reference = m_folder.filePath(QStringLiteral("reference.mps"));
        WriteFile(m_reference, testkit::MpsFile(testkit::SampleReference()));
        m_output = m_folder.filePath(QStringLiteral("轉出.mps"));
        QFile::remove(m_output);
    }

    void templateControls() {
        Session session;
        ConverterWindow& window = session.window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Pelagor 轉檔程式 1.1"));
        QCOMPARE(window.objectName(), QStringLiteral("102"));
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

    void tabOrderFollowsTheTemplate() {
        Session session;
        const QList<int> expected{1003, 1005, 1007, 1008, 1013, 1004, 1006};
        // The focus chain also holds the statics and the list's own parts; tab stops are the
        // window's controls that take focus from the Tab key.
        QList<int> order;
        QWidget* widget = session.window.Field(ControlId::SourcePath);
        do {
            if (widget->parentWidget() == &session.window &&
                (widget->focusPolicy() & Qt::TabFocus)) {
                order.append(widget->objectName().toInt());
            }
            widget = widget->nextInFocusChain();
        } while (widget != session.window.Field(ControlId::SourcePath));
        QCOMPARE(order, expected);
    }

    void typePathAndList() {
        Session session;
        session.dialog.OnInitDialog();
        QLineEdit* field = session.window.Field(ControlId::SourcePath);
        Type(field, m_source);
        QCOMPARE(field->text(), m_source);
        QCOMPARE(session.window.WaypointList()->count(), 0);
        QTest::mouseClick(session.window.Button(ControlId::ListWaypoints), Qt::LeftButton);
        QListWidget* list = session.window.WaypointList();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("台北  12"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("HOME 123"));
        QCOMPARE(list->item(2)->text(), QStringLiteral("山頂 3952"));
        QCOMPARE(session.window.Count(ControlId::SourceWaypointCount)->text(), QStringLiteral("3"));
        QCOMPARE(session.window.Count(ControlId::SourceTrackCount)->text(), QStringLiteral("1"));
        QCOMPARE(session.window.Count(ControlId::ReferenceWaypointCount)->text(), QString());
        QCOMPARE(StoredValue(QStringLiteral("WTRFile")), m_source);
    }

    void browseWithTheDialogStubbed() {
        Session session;
        session.dialog.OnInitDialog();
        QList<FileDialogMode> modes;
        QStringList filters;
        session.toolkit.SetFileDialogRunner(
            [&](QWidget* owner, FileDialogMode mode, const FileDialogRequest& request) {
                [&] { QCOMPARE(owner, &session.window); }();
                modes.append(mode);
                filters.append(Q(request.filter));
                return std::optional<QString>(
                    mode == FileDialogMode::Open && filters.size() == 1 ? m_source : m_reference);
            });
        QTest::mouseClick(session.window.Button(ControlId::BrowseSource), Qt::LeftButton);
        QTest::mouseClick(session.window.Button(ControlId::BrowseReference), Qt::LeftButton);
        QCOMPARE(modes, (QList<FileDialogMode>{FileDialogMode::Open, FileDialogMode::Open}));
        QCOMPARE(filters,
                 (QStringList{QStringLiteral("Garmin WTR/EVO Files (*.wtr;*.evo)|*.wtr;*.evo||"),
                              QStringLiteral("Garmin MapSource Files (*.mps)|*.mps||")}));
        QCOMPARE(session.window.Field(ControlId::SourcePath)->text(), m_source);
        QCOMPARE(session.window.Field(ControlId::ReferencePath)->text(), m_reference);
        QCOMPARE(session.window.WaypointList()->count(), 3);
        QCOMPARE(session.window.Count(ControlId::ReferenceWaypointCount)->text(),
                 QStringLiteral("3"));
        QCOMPARE(session.window.Count(ControlId::ReferenceTrackCount)->text(), QStringLiteral("1"));
        QCOMPARE(StoredValue(QStringLiteral("TemplateMPSFile")), m_reference);
    }

    // Restored at start, converted through the button: the window closes with the file written
    // and all three paths in the settings file.
    void convertEndsTheDialogWithTheFileWritten() {
        StoreValue(QStringLiteral("WTRFile"), m_source);
        StoreValue(QStringLiteral("TemplateMPSFile"), m_reference);
        int result = -1;
        QString saveStart;
        {
            Session session;
            session.toolkit.SetFileDialogRunner(
                [&](QWidget*, FileDialogMode mode, const FileDialogRequest& request) {
                    saveStart = Q(request.startLocation);
                    return mode == FileDialogMode::Save ? std::optional<QString>(m_output)
                                                        : std::nullopt;
                });
            QTimer::singleShot(0, &session.window, [&] {
                QTest::mouseClick(session.window.Button(ControlId::Convert), Qt::LeftButton);
                if (session.window.isVisible()) {
                    session.window.reject();  // the conversion failed; do not hang
                }
            });
            result = session.toolkit.DoModal(session.dialog);
            QCOMPARE(session.dialog.m_pSource, nullptr);
            QCOMPARE(session.dialog.m_pReference, nullptr);
        }
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(saveStart, QString());
        pelagor::MapSourceDocument written;
        QCOMPARE(written.Load(PathFromUtf8(m_output.toUtf8().toStdString()), nullptr, nullptr), 1);
        QCOMPARE(written.waypointCount, 3);
        QCOMPARE(written.trackCount, 1);
        QCOMPARE(StoredValue(QStringLiteral("MPSFile")), m_output);
        // The settings file itself holds all three paths.
        QFile store(OpenUserSettings()->fileName());
        QVERIFY(store.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(store.readAll());
        QVERIFY2(text.contains(QStringLiteral("[Pelagor]")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Dialog\\WTRFile=")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Dialog\\MPSFile=")), qPrintable(text));
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
        int ended = -1;
        QTimer::singleShot(0, &session.window, [&] {
            QWidget* target = session.window.findChild<QWidget*>(QString::number(focus));
            target->setFocus();
            QTest::keyClick(target, static_cast<Qt::Key>(key));
        });
        ended = session.toolkit.DoModal(session.dialog);
        QCOMPARE(ended, result);
        // Ending the dialog writes nothing.
        QVERIFY(!QFile::exists(OpenUserSettings()->fileName()));
    }

    void enterPressesTheFocusedButton() {
        Session session;
        session.dialog.OnInitDialog();
        session.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&session.window));
        session.window.Field(ControlId::SourcePath)->setText(m_source);
        QPushButton* button = session.window.Button(ControlId::ListWaypoints);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QVERIFY(session.window.isVisible());
        QCOMPARE(session.window.WaypointList()->count(), 3);
        session.window.reject();
        session.dialog.DestroyWindow();
    }

    void boundedFieldNeverSplitsACharacter() {
        Session session;
        const QString wide = QString::fromUcs4(U"\U00020000");  // two UTF-16 units
        session.window.Field(ControlId::SourcePath)
            ->setText(QString(258, QLatin1Char('a')) + wide + wide);
        QCOMPARE(QString::fromUtf8(session.toolkit.FieldTextBounded(ControlId::SourcePath)),
                 QString(258, QLatin1Char('a')));
        session.window.Field(ControlId::SourcePath)->setText(QString(300, QLatin1Char('b')));
        QCOMPARE(session.toolkit.FieldTextBounded(ControlId::SourcePath).size(), 259U);
    }

    void unreadableSettingReadsAsEmpty() {
        {
            auto settings = OpenUserSettings();
            settings->setValue(QStringLiteral("Pelagor/Dialog/WTRFile"),
                               QStringList{m_source, m_source});
        }
        Session session;
        session.dialog.OnInitDialog();
        QCOMPARE(session.window.Field(ControlId::SourcePath)->text(), QString());
        QCOMPARE(session.window.WaypointList()->count(), 0);
    }

    void storeThatCannotBeUsedReadsAsEmptyAndFailsQuietly() {
        // The settings file's name is taken by a folder: nothing can be read or written.
        QVERIFY(QDir().mkpath(OpenUserSettings()->fileName()));
        Session session;
        session.dialog.OnInitDialog();
        QCOMPARE(session.window.Field(ControlId::SourcePath)->text(), QString());
        session.window.Field(ControlId::SourcePath)->setText(m_source);
        QTest::mouseClick(session.window.Button(ControlId::ListWaypoints), Qt::LeftButton);
        QCOMPARE(session.window.Count(ControlId::SourceWaypointCount)->text(), QStringLiteral("3"));
    }

private:
    static QString StoredValue(const QString& key) {
        return OpenUserSettings()->value(QStringLiteral("Pelagor/Dialog/") + key).toString();
    }
    static void StoreValue(const QString& key, const QString& value) {
        OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/") + key, value);
    }

    QTemporaryDir m_folder;
    std::unique_ptr<QTemporaryDir> m_config;
    QString m_source;
    QString m_reference;
    QString m_output;
};

QTEST_MAIN(ConverterWindowTest)
#include "ConverterWindowTest.moc"
