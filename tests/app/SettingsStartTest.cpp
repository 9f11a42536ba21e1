// A settings file that is not a regular file: a pipe would block the start before any window
// shows, and neither it nor a folder may be replaced by the settings.

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "app/SettingsProfile.h"

using namespace pelagor::app;  // NOLINT: a test of this one namespace

class SettingsStartTest : public QObject {
    Q_OBJECT

private slots:
    void storeThatIsNotARegularFile() {
        for (const auto& [name, pipe] : {std::pair{"Orvane/Tessolt.conf", true},
                                         {"Orvane.conf", true},
                                         {"Orvane/Tessolt.conf", false}}) {
            const QTemporaryDir config;
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
            QVERIFY(QDir(config.path()).mkpath(QStringLiteral("Orvane")));
            const QString path = config.filePath(QString::fromUtf8(name));
            QVERIFY(pipe ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                         : QDir().mkdir(path));
            std::ostringstream warnings;
            const std::unique_ptr<QSettings> settings = OpenUserSettings(warnings);
            QVERIFY(!settings && warnings.str().find("is not a regular file") != std::string::npos);
            SettingsProfile profile(settings.get(), QStringLiteral("Pelagor"));
            profile.WriteProfileString("Dialog", "WTRFile", "/logs/day.wtr");
            QCOMPARE(profile.GetProfileString("Dialog", "WTRFile", "none"), std::string("none"));
            QVERIFY(pipe ? !QFileInfo(path).isFile() : QFileInfo(path).isDir());
        }
    }
};

QTEST_GUILESS_MAIN(SettingsStartTest)
#include "SettingsStartTest.moc"
