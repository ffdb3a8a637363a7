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

class SystemWorkstationInfo final : public WorkstationInfo {
public:
    QString userName() const override;     // at most 30 characters
    QString computerName() const override; // at most 255 characters
};

} // namespace tavro
