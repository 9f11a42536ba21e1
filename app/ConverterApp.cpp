#include "app/ConverterApp.h"

#include <QApplication>
#include <QFileInfo>
#include <string>

#include "app/ConverterDialog.h"
#include "app/ConverterWindow.h"
#include "app/DialogFont.h"
#include "app/QtDialogToolkit.h"
#include "app/SettingsProfile.h"

namespace pelagor::app {

namespace {

// The source named on the command line ("Open with" passes one), as the full path the settings
// keep; empty when there is none. Qt has already taken its own options out of the arguments.
std::string StartSource(const QStringList& arguments) {
    if (arguments.size() < 2 || arguments.at(1).isEmpty()) {
        return {};
    }
    return QFileInfo(arguments.at(1)).absoluteFilePath().toStdString();
}

}  // namespace

int ConverterApp::Run(int& argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QApplication::setOrganizationName(QString::fromLatin1(kSettingsOrganization));
    QApplication::setDesktopFileName(QStringLiteral("pelagor"));
    QApplication::setWindowIcon(AppIcon());
    InstallDialogFontSubstitution();

    const std::unique_ptr<QSettings> settings = OpenUserSettings();
    SettingsProfile profile(settings.get(), QString::fromLatin1(kApplicationName));
    ConverterWindow window;
    QtDialogToolkit toolkit(window, profile);
    ConverterDialog dialog(toolkit);
    // A successful conversion and a cancelled dialog end the same way.
    toolkit.DoModal(dialog, StartSource(QApplication::arguments()));
    return 0;
}

}  // namespace pelagor::app
