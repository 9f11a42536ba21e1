#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <sstream>

#include "app/SettingsProfile.h"

using namespace pelagor::app;

// A settings file that is not a regular file: a pipe would block the start before any window
// shows, and neither it nor a folder may be replaced by the settings.
class SettingsStartTest : public QObject {
    Q_OBJECT

private slots:
    void storeThatIsNotARegularFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pipe");
        QTest::newRow("pipe") << QStringLiteral("Orvane/Tessolt.conf") << true;
        QTest::newRow("pipe as the organisation's") << QStringLiteral("Orvane.conf") << true;
        QTest::newRow("folder") << QStringLiteral("Orvane/Tessolt.conf") << false;
    }

    void storeThatIsNotARegularFile() {
        QFETCH(QString, name);
        QFETCH(bool, pipe);
        const QTemporaryDir config;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("Orvane")));
        const QString path = config.filePath(name);
        QVERIFY(pipe ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                     : QDir().mkdir(path));

        std::ostringstream warnings;
        const std::unique_ptr<QSettings> settings = OpenUserSettings(warnings);
        QVERIFY(!settings);
        const std::string warning = warnings.str();
        QVERIFY(warning.find("is not a regular file") != std::string::npos);
        QCOMPARE(std::count(warning.begin(), warning.end(), '\n'), 1);
        SettingsProfile profile(settings.get(), QStringLiteral("Pelagor"));
        QCOMPARE(profile.GetProfileString("Dialog", "WTRFile", "none"), std::string("none"));
        profile.WriteProfileString("Dialog", "WTRFile", "/logs/day.wtr");
        QCOMPARE(profile.GetProfileString("Dialog", "WTRFile", ""), std::string());
        const QFileInfo after(path);
        QVERIFY(pipe ? !after.isFile() && !after.isDir() : after.isDir());
    }
};

QTEST_GUILESS_MAIN(SettingsStartTest)
#include "SettingsStartTest.moc"
