#include "app/SettingsProfile.h"
#include "app/QtText.h"

#include <QFileInfo>
#include <QStringList>
#include <QVariant>
#include <iostream>

#include "platform/PathText.h"

namespace pelagor::app {

namespace {

#ifndef Q_OS_WIN
constexpr qint64 kMaxSettingsFileSize = qint64{1024} * 1024;

// The files QSettings would open for the store: the product's, and the organisation's that it
// falls back to. Their folder is learnt from a store of a name nobody uses, since it is the
// user's configuration folder or wherever QSettings::setPath moved it.
QStringList StoreFiles() {
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope,
                          QStringLiteral("pelagor-settings-folder-probe"));
    const QString folder = QFileInfo(probe.fileName()).path();
    const QString organization = QString::fromLatin1(kSettingsOrganization);
    return {folder + QLatin1Char('/') + organization + QLatin1Char('/') +
                QString::fromLatin1(kSettingsProduct) + QStringLiteral(".conf"),
            folder + QLatin1Char('/') + organization + QStringLiteral(".conf")};
}
#endif

}  // namespace

std::unique_ptr<QSettings> OpenUserSettings(std::ostream& warnings) {
#ifndef Q_OS_WIN
    // The registry needs no such care. A missing file is the first run: QSettings makes it.
    for (const QString& file : StoreFiles()) {
        const QFileInfo info(file);
        const char* problem = nullptr;
        if (info.exists() && !info.isFile()) {
            problem = "is not a regular file";
        } else if (info.exists() && info.size() > kMaxSettingsFileSize) {
            // Three paths never take a megabyte: QSettings would read it whole at every start.
            problem = "is larger than 1 MiB";
        }
        if (problem != nullptr) {
            warnings << "pelagor: warning: the settings file "
                     << platform::PrintableName(ToUtf8(file)) << " " << problem
                     << "; starting with the defaults and saving no settings\n";
            return nullptr;
        }
    }
#endif
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromLatin1(kSettingsOrganization),
                                       QString::fromLatin1(kSettingsProduct));
}

std::unique_ptr<QSettings> OpenUserSettings() {
    return OpenUserSettings(std::cerr);
}

QString SettingsProfile::KeyOf(std::string_view section, std::string_view key) const {
    return m_application + QLatin1Char('/') + Utf8(section) + QLatin1Char('/') + Utf8(key);
}

std::string SettingsProfile::GetProfileString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue) {
    if (m_settings == nullptr) {
        return std::string(defaultValue);
    }
    const QVariant value = m_settings->value(KeyOf(section, key));
    // A missing or unreadable store gives no value at all. Only a string is a path: anything
    // else a hand-edited store holds reads as missing too. (The store's status is not asked:
    // after a failed write it stays an error, and the entries still read as they are.)
    if (value.typeId() != QMetaType::QString) {
        return std::string(defaultValue);
    }
    return ToUtf8(value.toString());
}

void SettingsProfile::WriteProfileString(std::string_view section, std::string_view key,
                                         std::string_view value) {
    if (m_settings == nullptr) {
        return;
    }
    m_settings->setValue(KeyOf(section, key), Utf8(value));
    m_settings->sync();
}

}  // namespace pelagor::app
