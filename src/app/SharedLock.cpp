#include "app/SharedLock.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileErrors.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/WorkstationInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavro {

namespace {

const QString kCaption = QStringLiteral("Tavro");

// What identifies the lock file the user was asked about.
struct Seen {
    bool exists = false;
    QDateTime modified;
    qint64 size = -1;

    static Seen of(const QString &path) {
        const QFileInfo info(path);
        Seen s;
        s.exists = info.exists();
        if (s.exists) {
            s.modified = info.lastModified();
            s.size = info.size();
        }
        return s;
    }
    bool operator==(const Seen &other) const = default;
};

enum class Create { Created, Exists, Failed };

Create createExclusively(const QString &path, const QByteArray &text, QString &reason) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path) && !QFileInfo(path).isDir())
            return Create::Exists;
        reason = fileerror::reason(file);
        return Create::Failed;
    }
    // The reason is taken before close(), which clears a write error.
    bool written = file.write(text) == text.size() && file.flush();
    if (!written)
        reason = fileerror::reason(file);
    file.close();
    if (written && file.error() != QFileDevice::NoError) {
        written = false;
        reason = fileerror::reason(file);
    }
    if (written)
        return Create::Created;
    QFile::remove(path);
    return Create::Failed;
}

QString withName(const QString &path, const QString &reason) {
    return QDir::toNativeSeparators(path) + u'\n' + reason;
}

} // namespace

SharedLock::SharedLock(Prompter &prompter, const Clock &clock, const WorkstationInfo &workstation)
    : m_prompter(prompter), m_clock(clock), m_workstation(workstation) {}

QString SharedLock::folder(const QString &dataFolder) {
    return paths::withTrailingSeparator(dataFolder) + QStringLiteral("~temp");
}

QString SharedLock::lockName(const QString &dataFolder, int nendo, const QString &testCode,
                             const QString &gakunen, const QString &kyouka) {
    return folder(dataFolder) + u'/' + QString::number(nendo) + testCode + gakunen + kyouka +
           QStringLiteral(".~lc");
}

QString SharedLock::logPath(const QString &lockName) {
    const QFileInfo info(lockName);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return lockName.left(lockName.size() - name.size()) + (dot > 0 ? name.left(dot) : name) +
           QStringLiteral(".log");
}

QByteArray SharedLock::lockText() {
    return cp932::encodeLossy(QStringLiteral("このファイルは、編集中にのみ存在するファイルです。\r\n"
                                             "もし、異常終了等で残っている場合は、削除してかまいません。\r\n"
                                             "そうでない場合は、管理者に問い合わせてください。\r\n"));
}

QString SharedLock::logLine(const QDateTime &when, const QString &teacherName, const QString &userName,
                            const QString &computerName) {
    return when.toString(QStringLiteral("yyyy/MM/dd H:mm:ss")) + u' ' + teacherName + u' ' + userName + u'@' +
           computerName;
}

QString SharedLock::inUseMessage() {
    return QStringLiteral("この学年・教科のデータは、他のコンピュータで使用中です。\r\n"
                          "［はい］を選択して、他のコンピュータでの処理が終わるのを待ってください。\r\n\r\n"
                          "もしも異常終了でこのメッセージが表示された場合は、［いいえ］を選択してください。");
}

QString SharedLock::diskMessage() {
    return QStringLiteral("ディスクが入っていますか?\r\n正しくディスクを入れてください。");
}

bool SharedLock::acquireLock(const QString &lockName, const QString &teacherName) {
    const QString path = paths::resolveExisting(lockName);
    bool granted = false;
    m_lastError.clear();
    for (;;) {
        const QByteArray text = lockText();
        const Seen seen = Seen::of(path);
        bool failed = false;
        if (seen.exists) {
            if (m_prompter.ask(kCaption, inUseMessage(), Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                               Prompter::Icon::Warning) == Prompter::Answer::Yes)
                return false; // waiting decides nothing: no log line
            // Take over only the lock that was seen; one renewed meanwhile is asked about again.
            const Seen now = Seen::of(path);
            if (now.exists && !(now == seen))
                continue;
            QString reason;
            if (now.exists && !releaseLock(path, &reason)) {
                failed = true;
                m_lastError = withName(path, reason);
            }
        }
        if (!failed) {
            // The lock folder again: a retry after it could not be made must not fail the same way.
            paths::ensureFolder(QFileInfo(path).absolutePath());
            QString reason;
            const Create created = createExclusively(path, text, reason);
            if (created == Create::Created) {
                granted = true;
                break;
            }
            if (created == Create::Exists)
                continue; // another workstation was quicker: it is in use now
            m_lastError = withName(path, reason);
        }
        if (m_prompter.ask(kCaption, diskMessage() + QStringLiteral("\r\n\r\n") + m_lastError,
                           Prompter::Buttons::OkCancel, Prompter::Answer::Ok,
                           Prompter::Icon::Warning) != Prompter::Answer::Ok)
            break;
    }
    QString error;
    if (!appendLog(path, teacherName, &error) && granted)
        m_prompter.message(kCaption, error, Prompter::Icon::Warning);
    return granted;
}

bool SharedLock::releaseLock(const QString &lockName, QString *reason) {
    const QString path = paths::resolveExisting(lockName);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    if (file.remove())
        return true;
    if (reason)
        *reason = fileerror::reason(file);
    return false;
}

bool SharedLock::appendLog(const QString &lockName, const QString &teacherName, QString *error) const {
    const QString path = paths::resolveExisting(logPath(lockName));
    const QByteArray line = cp932::encodeLossy(logLine(m_clock.now(), teacherName, m_workstation.userName(),
                                                       m_workstation.computerName())) +
                            "\r\n";
    QFile file(path);
    QString reason;
    if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(line) == line.size() &&
        file.flush()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    // close() clears a write error: the reason is taken first.
    reason = fileerror::reason(file);
    file.close();
    if (file.error() != QFileDevice::NoError)
        reason = fileerror::reason(file);
    if (error)
        *error = QStringLiteral("使用記録のファイルに書き込めませんでした。\r\n%1\r\n%2")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace tavro
