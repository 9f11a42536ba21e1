// A settings file that is not a regular file, or that is far too large: a pipe would block the
// start before any window shows, a huge file would be read whole first, and none of them may be
// replaced by the settings.

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
    void storeThatIsNotASmallRegularFile() {
        enum class Kind { Pipe, Folder, Large };
        for (const auto& [name, kind, warning] :
             {std::tuple{"Orvane/Tessolt.conf", Kind::Pipe, "is not a regular file"},
              {"Orvane.conf", Kind::Pipe, "is not a regular file"},
              {"Orvane/Tessolt.conf", Kind::Folder, "is not a regular file"},
              {"Orvane/Tessolt.conf", Kind::Large, "is larger than 1 MiB"}}) {
            const QTemporaryDir config;
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
            QVERIFY(QDir(config.path()).mkpath(QStringLiteral("Orvane")));
            const QString path = config.filePath(QString::fromUtf8(name));
            QFile large(path);
            QVERIFY(kind == Kind::Pipe ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                    : kind == Kind::Folder
                        ? QDir().mkdir(path)
                        : large.open(QIODevice::WriteOnly) && large.resize(1024 * 1024 + 1));
            large.close();
            std::ostringstream warnings;
            const std::unique_ptr<QSettings> settings = OpenUserSettings(warnings);
            QVERIFY2(!settings && warnings.str().find(warning) != std::string::npos,
                     warnings.str().c_str());
            SettingsProfile profile(settings.get(), QStringLiteral("Pelagor"));
            profile.WriteProfileString("Dialog", "WTRFile", "/logs/day.wtr");
            QCOMPARE(profile.GetProfileString("Dialog", "WTRFile", "none"), std::string("none"));
            QCOMPARE(QFileInfo(path).isFile(), kind == Kind::Large);
        }
    }
};

QTEST_GUILESS_MAIN(SettingsStartTest)
#include "SettingsStartTest.moc"
