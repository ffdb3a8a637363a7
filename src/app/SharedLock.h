#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tavro {

class Clock;
class Prompter;
class WorkstationInfo;

// The advisory lock that keeps two workstations off the same grade and subject (and test): a small
// text file in `DataFolder` + "~temp", and beside it a log of who took it. The file is created
// exclusively, so of two workstations that try at the same moment only one wins.
class SharedLock {
public:
    SharedLock(Prompter &prompter, const Clock &clock, const WorkstationInfo &workstation);

    // `DataFolder` + "~temp".
    static QString folder(const QString &dataFolder);
    // `DataFolder` + "~temp/" + year + test code (test windows only) + grade + subject + ".~lc".
    static QString lockName(const QString &dataFolder, int nendo, const QString &testCode,
                            const QString &gakunen, const QString &kyouka);
    // The log beside the lock: its extension replaced by ".log".
    static QString logPath(const QString &lockName);
    // The three lines of the lock file, code page 932, CR LF.
    static QByteArray lockText();
    // "2024/06/10 9:30:00 山田太郎 tanaka@PC-SHOKUIN01"
    static QString logLine(const QDateTime &when, const QString &teacherName, const QString &userName,
                           const QString &computerName);

    // True when the caller may open its window; it must then call releaseLock() when the window has
    // closed. Asks through the Prompter when the lock is in use (はい: wait, いいえ: take over the lock
    // that was seen) and when the folder cannot be written (OK: retry, Cancel: give up). Every
    // decision but waiting appends a line to the log; a failed append is reported and does not take
    // a granted lock back.
    bool acquireLock(const QString &lockName, const QString &teacherName);
    // Deletes the lock file when it exists (no check of ownership). False when it stays; `reason` then
    // gets the Japanese reason.
    static bool releaseLock(const QString &lockName, QString *reason = nullptr);
    // The Japanese reason of the last failure to create or remove the lock file in acquireLock(), with
    // the file's name; empty when there was none.
    QString lastError() const { return m_lastError; }

    static QString inUseMessage();
    static QString diskMessage();

private:
    bool appendLog(const QString &lockName, const QString &teacherName, QString *error) const;

    Prompter &m_prompter;
    const Clock &m_clock;
    const WorkstationInfo &m_workstation;
    QString m_lastError;
};

} // namespace tavro
