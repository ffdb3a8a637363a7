#include "platform/qt/QtPorts.h"

#include <QDir>
#include <QStandardPaths>
#include <QSysInfo>
#include <QtGlobal>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

namespace tavro {

SettingsUserStore::SettingsUserStore() {
#ifdef Q_OS_WIN
    m_settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Tavro"),
                                             QSettings::NativeFormat);
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    m_settings =
        std::make_unique<QSettings>(folder + QStringLiteral("/Tavro/Tavro.ini"), QSettings::IniFormat);
#endif
}

SettingsUserStore::SettingsUserStore(const QString &iniPath)
    : SettingsUserStore(iniPath, QSettings::IniFormat) {}

SettingsUserStore::SettingsUserStore(const QString &path, QSettings::Format format)
    : m_settings(std::make_unique<QSettings>(path, format)) {}

int SettingsUserStore::readInt(const QString &section, const QString &name, int def) const {
    const QVariant v = m_settings->value(section + QLatin1Char('/') + name);
    if (!v.isValid())
        return def;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? n : def;
}

void SettingsUserStore::writeInt(const QString &section, const QString &name, int value) {
    if (!m_settings->isWritable())
        return;
    m_settings->setValue(section + QLatin1Char('/') + name, value);
    m_settings->sync();
}

LockFileInstanceGuard::LockFileInstanceGuard(const QString &name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    m_lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + name + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0); // a lock left by a crashed instance is detected by its process id
}

LockFileInstanceGuard::~LockFileInstanceGuard() {
    release();
}

bool LockFileInstanceGuard::tryAcquire() {
    return m_lock->isLocked() || m_lock->tryLock(0);
}

void LockFileInstanceGuard::release() {
    if (m_lock->isLocked())
        m_lock->unlock();
}

#ifndef Q_OS_WIN
QString SystemWorkstationInfo::userName() const {
    QString name = qEnvironmentVariable("USERNAME");
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    // Else the login name of the account.
    if (name.isEmpty()) {
        if (const passwd *account = ::getpwuid(::geteuid()))
            name = QString::fromLocal8Bit(account->pw_name);
    }
    return name.left(30);
}

QString SystemWorkstationInfo::computerName() const {
    return QSysInfo::machineHostName().left(255);
}

bool isUncPath(const QString &path) {
    return path.startsWith(QStringLiteral("\\\\")) || path.startsWith(QStringLiteral("//"));
}

void useBinaryStandardStreams() {}
#endif

} // namespace tavro
