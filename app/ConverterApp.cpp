#include "app/ConverterApp.h"

#include <QApplication>

#include "app/ConverterDialog.h"
#include "app/ConverterWindow.h"
#include "app/DialogFont.h"
#include "app/QtDialogToolkit.h"
#include "app/SettingsProfile.h"

namespace pelagor::app {

int ConverterApp::Run(int& argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QApplication::setOrganizationName(QString::fromLatin1(kSettingsOrganization));
    QApplication::setDesktopFileName(QStringLiteral("pelagor"));
    QApplication::setWindowIcon(AppIcon());
    InstallDialogFontSubstitution();

    const std::unique_ptr<QSettings> settings = OpenUserSettings();
    SettingsProfile profile(*settings, QString::fromLatin1(kApplicationName));
    ConverterWindow window;
    QtDialogToolkit toolkit(window, profile);
    ConverterDialog dialog(toolkit);
    // A successful conversion and a cancelled dialog end the same way.
    toolkit.DoModal(dialog);
    return 0;
}

}  // namespace pelagor::app
