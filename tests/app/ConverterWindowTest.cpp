// The real window driven offscreen: what is specific to the Qt view (the logic is elsewhere).

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "CliGpx.h"
#include "app/ConverterApp.h"
#include "app/ConverterDialog.h"
#include "app/ConverterWindow.h"
#include "app/DialogFont.h"
#include "app/DialogTemplate.h"
#include "app/FileDialog.h"
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

QByteArray GpxOf(const QString& file) {
    const auto bytes = pelagor::app::testing::GpxOf(QFile::encodeName(file).toStdString());
    return {reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())};
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Stored(const QString& key) {
    return OpenUserSettings()->value(QStringLiteral("Pelagor/Dialog/") + key).toString();
}

// One run of the application's dialog, with its own window and settings store.
struct Session {
    Session() : settings(OpenUserSettings()), profile(*settings, QStringLiteral("Pelagor")) {
        toolkit.Attach(dialog);
    }
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

    // Sized in the template's units, with a face that has the Chinese captions' glyphs: a
    // machine without a Traditional Chinese face fails here.
    void layoutAndGlyphs() {
        ConverterWindow window;
        const DialogBaseUnits units = window.BaseUnits();
        QCOMPARE(window.size(), ToPixels(units, kDialogWidth, kDialogHeight));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        // Latin-letter units: a CJK face's full-width average would double them.
        QVERIFY2(units.x >= 4 && units.x <= 9 && units.y >= 10 && units.y <= 18,
                 qPrintable(QString::number(units.x) + "x" + QString::number(units.y)));
        QString captions = window.windowTitle();
        for (const TemplateControl& control : kDialogControls) {
            captions +=
                QString::fromUtf8(control.caption.data(), qsizetype(control.caption.size()));
        }
        // A face without the characters would draw boxes.
        for (char32_t c : captions.toUcs4()) {
            QVERIFY2(window.fontMetrics().inFontUcs4(c), qPrintable(captions));
        }
        QVERIFY(window.Field(ControlId::ReferencePath)->isReadOnly());
        for (QPushButton* button : window.findChildren<QPushButton*>()) {
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
    }

    // Typed key by key and listed through the button, Big5 names shown as Chinese.
    void typePathAndList() {
        Session session;
        for (const QChar c : m_source) {
            QTest::sendKeyEvent(QTest::Click, session.window.Field(ControlId::SourcePath),
                                Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(session.window.WaypointList()->count(), 0);
        session.Click(ControlId::ListWaypoints);
        QCOMPARE(session.window.WaypointList()->item(2)->text(), QStringLiteral("山頂 3952"));
        QCOMPARE(Stored(QStringLiteral("WTRFile")), m_source);
    }

    // As a file manager drops them: only the local track log and MapSource file reach the dialog.
    void dropFilesOnTheWindow() {
        Session session;
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(m_folder.filePath(QStringLiteral("notes.txt"))),
                      QUrl::fromLocalFile(m_reference), QUrl(QStringLiteral("https://x/a.wtr"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&session.window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&session.window, &drop);
        QCOMPARE(session.window.Field(ControlId::ReferencePath)->text(), m_reference);
        QCOMPARE(Stored(QStringLiteral("TemplateMPSFile")), m_reference);
    }

    // Restored at start, converted through the button: the window closes as accepted and the
    // output path lands in the settings file where earlier versions kept it.
    void convertEndsTheDialogWithTheFileWritten() {
        OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/WTRFile"), m_source);
        OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/TemplateMPSFile"), m_reference);
        int result = -1;
        {
            Session session;
            session.toolkit.SetFileDialogRunner([&](QWidget*, FileDialogMode mode, const auto&) {
                return mode == FileDialogMode::Save ? std::optional(QtFileChoice{m_output})
                                                    : std::nullopt;
            });
            QTimer start;  // fires once the dialog runs, and again only if it still does
            QObject::connect(&start, &QTimer::timeout, &session.window, [&] {
                session.Click(ControlId::Convert);
                if (session.window.isVisible()) {
                    session.window.reject();  // the conversion failed; do not hang
                }
            });
            start.start(0);
            result = session.toolkit.DoModal(session.dialog);
        }
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(QFile::exists(m_output));
        QVERIFY(QFile::exists(m_config->filePath(QStringLiteral("Orvane/Tessolt.conf"))));
        QCOMPARE(Stored(QStringLiteral("MPSFile")), m_output);
    }

    // A conversion that fails says why over the window, which stays open: here the save dialog
    // offers the reference itself, which is never written over.
    void failedConvertSaysWhyAndStaysOpen() {
        OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/WTRFile"), m_source);
        OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/TemplateMPSFile"), m_reference);
        Session session;
        session.toolkit.SetFileDialogRunner([&](QWidget*, FileDialogMode, const auto&) {
            return std::optional(QtFileChoice{m_reference});
        });
        QStringList messages;
        session.toolkit.SetMessageRunner([&](QWidget* owner, const QString& text) {
            QCOMPARE(owner, &session.window);
            messages << text;
        });
        session.dialog.OnInitDialog();
        session.Click(ControlId::Convert);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("輸出檔會取代輸入檔")) &&
                     messages[0].contains(QStringLiteral("the output would replace the input")),
                 qPrintable(messages[0]));
        QCOMPARE(session.window.result(), 0);
        const auto expected = testkit::MpsFile(testkit::SampleReference());
        QCOMPARE(Contents(m_reference), QByteArray(reinterpret_cast<const char*>(expected.data()),
                                                   qsizetype(expected.size())));
    }

    // Saved as GPX through Qt's own save dialog, as a user picks the type and types the name:
    // each file is what `pelagor-cli gpx` writes, with or without a reference.
    void convertWritesGpx() {
        const QString archive = m_folder.filePath(QStringLiteral("archive.mps"));
        WriteFile(archive, testkit::MpsFile(testkit::SampleReference()));
        for (const auto& [source, reference, type, typed, written] :
             {std::tuple{m_source, true, 0, "a.gpx", "a.gpx"},  // the MapSource type, a GPX name
              {m_source, true, 1, "b", "b.gpx"},                // the GPX type, no extension
              {m_source, false, 0, "c", "c.gpx"},   // no reference: GPX is the only type
              {archive, true, 0, "d", "d.gpx"}}) {  // a MapSource source: likewise
            OpenUserSettings()->setValue(QStringLiteral("Pelagor/Dialog/TemplateMPSFile"),
                                         reference ? m_reference : QString());
            Session session;
            QStringList offered;
            session.toolkit.SetFileDialogRunner(
                // Copies: a lambda of clang 14 cannot name a structured binding.
                [&, pick = type, path = m_folder.filePath(QString::fromUtf8(typed))](
                    QWidget* owner, FileDialogMode mode, const FileDialogRequest& request) {
                    ConverterFileDialog dialog(owner, mode, request);
                    offered = dialog.nameFilters();
                    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                    types->setCurrentIndex(pick);
                    emit types->activated(pick);  // as a pick in the list sends it
                    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                    name->setText(path);
                    dialog.accept();
                    return dialog.Chosen();
                });
            // As `pelagor FILE` starts.
            session.dialog.OnInitDialog(source.toStdString());
            QCOMPARE(session.window.WaypointList()->count(), 3);
            session.Click(ControlId::Convert);
            QCOMPARE(offered.size(), reference && source == m_source ? 2 : 1);
            QCOMPARE(session.window.result(), int(QDialog::Accepted));
            const QString output = m_folder.filePath(QString::fromUtf8(written));
            QCOMPARE(Stored(QStringLiteral("MPSFile")), output);
            QCOMPARE(Contents(output), GpxOf(source));
        }
    }

    // A file name that is not UTF-8 (Big5, as a Linux file manager passes it) opens as given.
    void startSourceKeepsItsBytes() {
        QByteArray name = QFile::encodeName(m_folder.path()) + "/\xA5\x78\xA5\x5F.wtr";
        const auto bytes = testkit::WtrFile(kWaypoints, {{"DAY", {{1, 2, 3, 4.0F}}}});
        std::ofstream(std::filesystem::path(name.toStdString()), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        char program[] = "pelagor";
        char* argv[] = {program, name.data()};
        const std::string start = StartSource(2, argv);
        QCOMPARE(start, name.toStdString());
        Session session;
        session.dialog.OnInitDialog(start);
        QCOMPARE(session.window.WaypointList()->count(), 3);
        // QTemporaryDir cannot remove a name that is not UTF-8.
        std::filesystem::remove(std::filesystem::path(name.toStdString()));
    }

    // Qt's own file dialog as the converter sets it up: a missing folder refused, a missing file
    // accepted, the default extension added, no overwrite question.
    void fileDialogTakesTypedNames() {
        for (const auto& [save, typed, chosen] :
             {std::tuple{false, "gone/new.wtr", ""},  // empty: refused
              {true, "out", "out.mps"},
              {true, "reference.mps", "reference.mps"}}) {  // over a file, unasked
            FileDialogRequest request{save ? kMapSourceFilter : kSourceFilter, kFileDialogFlags,
                                      m_folder.path().toStdString(),
                                      save ? kMapSourceExtension : ""};
            ConverterFileDialog dialog(nullptr, save ? FileDialogMode::Save : FileDialogMode::Open,
                                       request);
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(m_folder.filePath(QString::fromUtf8(typed)));
            dialog.accept();
            QCOMPARE(dialog.ChosenPath(),
                     *chosen == '\0'
                         ? std::nullopt
                         : std::optional(QDir::toNativeSeparators(m_folder.filePath(chosen))));
        }
    }

private:  // NOLINT(readability-redundant-access-specifiers): the above are slots
    QTemporaryDir m_folder;
    std::unique_ptr<QTemporaryDir> m_config;
    QString m_source = m_folder.filePath(QStringLiteral("台北 trip.wtr"));
    QString m_reference = m_folder.filePath(QStringLiteral("reference.mps"));
    QString m_output = m_folder.filePath(QStringLiteral("轉出.mps"));
};

QTEST_MAIN(ConverterWindowTest)
#include "ConverterWindowTest.moc"
