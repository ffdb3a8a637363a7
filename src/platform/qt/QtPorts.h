#pragma once

#include "platform/Clock.h"
#include "platform/InstanceGuard.h"
#include "platform/UserStore.h"
#include "platform/WorkstationInfo.h"

#include <QLockFile>
#include <QSettings>
#include <memory>

// Qt implementations of the ports that need only QtCore.
namespace tavro {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Section values under Software/Tavro: the registry key HKEY_CURRENT_USER\Software\Tavro on
// Windows, an ini file in the user's configuration folder elsewhere (or `iniPath` when given).
class SettingsUserStore final : public UserStore {
public:
    SettingsUserStore();
    explicit SettingsUserStore(const QString &iniPath);
    // `path` in `format`: a registry key ("HKEY_CURRENT_USER\\Software\\...") in QSettings::NativeFormat.
    SettingsUserStore(const QString &path, QSettings::Format format);
    int readInt(const QString &section, const QString &name, int def = 0) const override;
    void writeInt(const QString &section, const QString &name, int value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

// Lock file named after the mutex ("chTavro5") in the user's runtime folder.
class LockFileInstanceGuard final : public InstanceGuard {
public:
    explicit LockFileInstanceGuard(const QString &name = QStringLiteral("chTavro5"));
    ~LockFileInstanceGuard() override;
    bool tryAcquire() override;
    void release() override;

private:
    std::unique_ptr<QLockFile> m_lock;
};

#ifdef Q_OS_WIN
// The named mutex NAME ("chTavro5") of the session: tryAcquire() creates it, and is false when it exists
// already (another instance holds it).
class MutexInstanceGuard final : public InstanceGuard {
public:
    explicit MutexInstanceGuard(const QString &name = QStringLiteral("chTavro5"));
    ~MutexInstanceGuard() override;
    MutexInstanceGuard(const MutexInstanceGuard &) = delete;
    MutexInstanceGuard &operator=(const MutexInstanceGuard &) = delete;
    bool tryAcquire() override;
    void release() override;

private:
    QString m_name;
    void *m_handle = nullptr;
};
using SystemInstanceGuard = MutexInstanceGuard;
#else
using SystemInstanceGuard = LockFileInstanceGuard;
#endif

// The user's logon name and the computer's NetBIOS name (GetUserNameW / GetComputerNameW on Windows).
class SystemWorkstationInfo final : public WorkstationInfo {
public:
    QString userName() const override;     // at most 30 characters
    QString computerName() const override; // at most 255 characters
};

// Whether `path` names a place on a network share by its UNC name (\\server\share\..., also in the
// \\?\UNC\ form), rather than through a drive letter. On Windows the path is made absolute first, so a
// relative path under a UNC working folder counts as well.
bool isUncPath(const QString &path);

// Standard input, output and error pass bytes unchanged (Windows' C runtime would turn "\n" into "\r\n").
void useBinaryStandardStreams();

} // namespace tavro
