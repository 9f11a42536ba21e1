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

    void typedNameIsChosen() {
        const struct {
            bool save;
            const char* typed;
            const char* chosen;  // empty: refused
        } cases[] = {
            {false, "new.wtr", "new.wtr"},   // a missing file
            {false, "gone/new.wtr", ""},     // a missing folder
            {true, "out", "out.mps"},        // no extension
            {true, "out.bin", "out.bin"},    // its own extension
            {true, "trip.wtr", "trip.wtr"},  // over a file, unasked
        };
        for (const auto& c : cases) {
            FileDialogRequest request;
            request.filter = c.save ? kMapSourceFilter : kSourceFilter;
            request.flags = kFileDialogFlags;
            request.startLocation = m_folder.path().toStdString();
            request.defaultExtension = c.save ? kMapSourceExtension : "";
            ConverterFileDialog dialog(
                nullptr, c.save ? FileDialogMode::Save : FileDialogMode::Open, request);
            QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
            // Typed as a user would, then the dialog's button.
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit != nullptr);
            edit->setText(m_folder.filePath(QString::fromUtf8(c.typed)));
            dialog.accept();
            const QString chosen = QString::fromUtf8(c.chosen);
            QCOMPARE(dialog.ChosenPath(),
                     chosen.isEmpty()
                         ? std::nullopt
                         : std::optional(QDir::toNativeSeparators(m_folder.filePath(chosen))));
            QCOMPARE(dialog.result(),
                     int(chosen.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        }
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
