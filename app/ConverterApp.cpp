#include "app/ConverterApp.h"

#include <QApplication>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/ConverterDialog.h"
#include "app/ConverterWindow.h"
#include "app/DialogFont.h"
#include "app/QtDialogToolkit.h"
#include "app/SettingsProfile.h"

namespace pelagor::app {

std::string StartSource(int argc, char** argv) {
    if (argc < 2 || argv[1] == nullptr || *argv[1] == '\0') {
        return {};
    }
    std::error_code ec;
    const std::filesystem::path given(argv[1]);
    const std::filesystem::path full = std::filesystem::absolute(given, ec);
    return (ec ? given : full).string();
}

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
    // A successful conversion and a cancelled dialog end the same way. Qt has already taken its
    // own options out of `argv`.
    toolkit.DoModal(dialog, StartSource(argc, argv));
    return 0;
}

}  // namespace pelagor::app
