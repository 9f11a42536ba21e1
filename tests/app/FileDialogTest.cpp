// Qt's own file dialog as the converter sets it up: filters, start location, a missing file in an
// existing folder accepted, a missing folder refused, the default extension and no overwrite
// question.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "app/DialogIds.h"
#include "app/FileDialog.h"

using namespace pelagor::app;  // NOLINT: a test of this one namespace

namespace {

FileDialogRequest OpenRequest(const QString& start) {
    FileDialogRequest request;
    request.filter = kSourceFilter;
    request.flags = kFileDialogFlags;
    request.startLocation = start.toUtf8().toStdString();
    return request;
}

FileDialogRequest SaveRequest(const QString& start) {
    FileDialogRequest request = OpenRequest(start);
    request.filter = kMapSourceFilter;
    request.defaultExtension = kMapSourceExtension;
    return request;
}

// Types a name into the dialog's file name field, as a user would, and presses its button.
void TypeAndAccept(ConverterFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit != nullptr);
    edit->setText(name);
    dialog.accept();
}

}  // namespace

class FileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_folder = std::make_unique<QTemporaryDir>();
        QFile existing(m_folder->filePath(QStringLiteral("trip.wtr")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("x");
    }

    void qtOwnDialogWithConvertedFilters() {
        ConverterFileDialog dialog(nullptr, FileDialogMode::Open, OpenRequest(QString()));
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
        QCOMPARE(dialog.nameFilters(),
                 QStringList{QStringLiteral("Garmin WTR/EVO Files (*.wtr *.evo *.WTR *.EVO)")});
        QCOMPARE(dialog.defaultSuffix(), QString());
    }

    void startLocation_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("typedName");
        const QString folder = m_folder->path();
        QTest::newRow("existing file")
            << folder + QStringLiteral("/trip.wtr") << folder << QStringLiteral("trip.wtr");
        QTest::newRow("missing file")
            << folder + QStringLiteral("/new.wtr") << folder << QStringLiteral("new.wtr");
        QTest::newRow("folder") << folder << folder << QString();
        // Qt's own choice (the folder last visited): no name typed in.
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("missing folder")
            << folder + QStringLiteral("/gone/new.wtr") << QString() << QString();
    }

    void startLocation() {
        QFETCH(QString, start);
        QFETCH(QString, directory);
        QFETCH(QString, typedName);
        ConverterFileDialog dialog(nullptr, FileDialogMode::Open, OpenRequest(start));
        if (!directory.isEmpty()) {
            QCOMPARE(QFileInfo(dialog.directory().absolutePath()).canonicalFilePath(),
                     QFileInfo(directory).canonicalFilePath());
        }
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), typedName);
    }

    void openAcceptsAMissingFileInAnExistingFolder() {
        ConverterFileDialog dialog(nullptr, FileDialogMode::Open, OpenRequest(m_folder->path()));
        const QString missing = m_folder->filePath(QStringLiteral("new.wtr"));
        TypeAndAccept(dialog, missing);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPath(), std::optional<QString>(QDir::toNativeSeparators(missing)));
    }

    void openRefusesAMissingFolder() {
        ConverterFileDialog dialog(nullptr, FileDialogMode::Open, OpenRequest(m_folder->path()));
        TypeAndAccept(dialog, m_folder->filePath(QStringLiteral("gone/new.wtr")));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.ChosenPath(), std::nullopt);
    }

    void saveAddsTheExtensionAndReplacesWithoutAsking_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("no extension") << QStringLiteral("out") << QStringLiteral("out.mps");
        QTest::newRow("own extension") << QStringLiteral("out.bin") << QStringLiteral("out.bin");
        QTest::newRow("existing file") << QStringLiteral("trip.wtr") << QStringLiteral("trip.wtr");
    }

    void saveAddsTheExtensionAndReplacesWithoutAsking() {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        ConverterFileDialog dialog(nullptr, FileDialogMode::Save,
                                   SaveRequest(m_folder->filePath(QStringLiteral("earlier.mps"))));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dialog.nameFilters(),
                 QStringList{QStringLiteral("Garmin MapSource Files (*.mps *.MPS)")});
        TypeAndAccept(dialog, typed);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ChosenPath(),
                 std::optional<QString>(QDir::toNativeSeparators(m_folder->filePath(chosen))));
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
