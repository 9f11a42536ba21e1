// Qt's own file dialog as the converter sets it up: a missing file in an existing folder
// accepted, a missing folder refused, the default extension added and no overwrite question.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "app/DialogIds.h"
#include "app/FileDialog.h"

using namespace pelagor::app;  // NOLINT: a test of this one namespace

class FileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QFile existing(m_folder.filePath(QStringLiteral("trip.wtr")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("x");
    }

    void typedNameIsChosen_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");  // empty: refused
        QTest::newRow("open missing file") << false << "new.wtr"
                                           << "new.wtr";
        QTest::newRow("open missing folder") << false << "gone/new.wtr"
                                             << "";
        QTest::newRow("save no extension") << true << "out"
                                           << "out.mps";
        QTest::newRow("save own extension") << true << "out.bin"
                                            << "out.bin";
        QTest::newRow("save over a file, unasked") << true << "trip.wtr"
                                                   << "trip.wtr";
    }

    void typedNameIsChosen() {
        QFETCH(bool, save);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        FileDialogRequest request;
        request.filter = save ? kMapSourceFilter : kSourceFilter;
        request.flags = kFileDialogFlags;
        request.startLocation = m_folder.path().toStdString();
        request.defaultExtension = save ? kMapSourceExtension : "";
        ConverterFileDialog dialog(nullptr, save ? FileDialogMode::Save : FileDialogMode::Open,
                                   request);
        QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        // Typed as a user would, then the dialog's button.
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        edit->setText(m_folder.filePath(typed));
        dialog.accept();
        if (chosen.isEmpty()) {
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(dialog.ChosenPath(), std::nullopt);
        } else {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.ChosenPath(),
                     std::optional<QString>(QDir::toNativeSeparators(m_folder.filePath(chosen))));
        }
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
