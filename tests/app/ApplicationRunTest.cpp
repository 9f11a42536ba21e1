// The application as a person uses it, offscreen and whole: it starts from the settings of an
// earlier run and loads both files, the convert button opens Qt's own save dialog, a name typed
// without extension is accepted, the file is written, the window closes and the application
// returns, cleanly.

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/ConverterApp.h"
#include "app/ConverterWindow.h"
#include "app/PathText.h"
#include "app/SettingsProfile.h"
#include "builder/MpsFiles.h"
#include "builder/TrackLogFiles.h"
#include "mapsource/MapSourceDocument.h"

namespace {

using pelagor::app::ControlId;
using pelagor::app::ConverterWindow;

QString g_folder;
int g_listed = -1;
bool g_savedThroughTheDialog = false;

template <typename Widget>
Widget* VisibleTopLevel() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<Widget*>(widget); found != nullptr && found->isVisible()) {
            return found;
        }
    }
    return nullptr;
}

// Types the output's name into the save dialog once it shows, and presses Enter there.
void AnswerSaveDialog() {
    auto* dialog = VisibleTopLevel<QFileDialog>();
    if (dialog == nullptr) {
        QTimer::singleShot(20, AnswerSaveDialog);
        return;
    }
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    dialog->setDirectory(g_folder);
    name->setText(QStringLiteral("轉出"));
    g_savedThroughTheDialog = true;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(name, &press);
    QApplication::sendEvent(name, &release);
}

void UseTheWindow() {
    ConverterWindow* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QStringLiteral("102") && widget->isVisible()) {
            window = static_cast<ConverterWindow*>(widget);
        }
    }
    if (window == nullptr) {
        QTimer::singleShot(20, UseTheWindow);
        return;
    }
    g_listed = window->WaypointList()->count();
    QTimer::singleShot(20, AnswerSaveDialog);
    window->Button(ControlId::Convert)->click();
    // A conversion that failed leaves the window open: close it rather than hang.
    if (window->isVisible()) {
        window->reject();
    }
}

void Drive() {
    QTimer::singleShot(0, UseTheWindow);
}
Q_COREAPP_STARTUP_FUNCTION(Drive)

bool WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

int Fail(const char* what) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir folder;
    QTemporaryDir config;
    g_folder = folder.path();
    const QString source = folder.filePath(QStringLiteral("trip.wtr"));
    const QString reference = folder.filePath(QStringLiteral("reference.mps"));
    const std::vector<pelagor::testkit::SampleWaypoint> waypoints{
        {"HOME", 303000000, 1450000000, 12.0F, 18}, {"PEAK", 303100000, 1450100000, 950.0F, 18}};
    const pelagor::testkit::SampleTrack track{"DAY", {{1, 2, 3, 4.0F}, {5, 6, 7, 8.0F}}};
    if (!WriteFile(source, pelagor::testkit::WtrFile(waypoints, track)) ||
        !WriteFile(reference, pelagor::testkit::MpsFile(pelagor::testkit::SampleReference()))) {
        return Fail("cannot write the input files");
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    {
        const auto settings = pelagor::app::OpenUserSettings();
        settings->setValue(QStringLiteral("Pelagor/Dialog/WTRFile"), source);
        settings->setValue(QStringLiteral("Pelagor/Dialog/TemplateMPSFile"), reference);
    }

    pelagor::app::ConverterApp app;
    if (app.Run(argc, argv) != 0) {
        return Fail("the application's exit code");
    }
    if (g_listed != 2) {
        return Fail("the restored source was not listed");
    }
    if (!g_savedThroughTheDialog) {
        return Fail("the save dialog never showed");
    }
    const QString output = folder.filePath(QStringLiteral("轉出.mps"));
    pelagor::MapSourceDocument written;
    if (written.Load(pelagor::app::PathFromUtf8(output.toUtf8().toStdString()), nullptr, nullptr) !=
            1 ||
        written.waypointCount != 2 || written.trackCount != 1) {
        return Fail("the converted file");
    }
    const auto settings = pelagor::app::OpenUserSettings();
    if (settings->value(QStringLiteral("Pelagor/Dialog/MPSFile")).toString() != output) {
        return Fail("the output path was not remembered");
    }
    std::puts("PASS: listed, converted through the save dialog, closed and remembered");
    return 0;
}
