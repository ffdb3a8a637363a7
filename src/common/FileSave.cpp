#include "common/FileSave.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileErrors.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavro {

namespace {

bool fail(QString *error, const QString &path, const QString &reason) {
    if (error)
        *error = QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

const QString kTempSuffix = QStringLiteral(".tavro-tmp");
constexpr qint64 kStaleSeconds = 24 * 60 * 60;

// "<name>.<process id>.<random>.tavro-tmp" beside `path`: no other process picks the same name.
QString temporaryPathFor(const QString &path) {
    return path + u'.' + QString::number(QCoreApplication::applicationPid()) + u'.' +
           QString::number(QRandomGenerator::system()->generate64(), 36) + kTempSuffix;
}

// True for a temporary file name of a save of `fileName` made by temporaryPathFor().
bool isTemporaryOf(const QString &candidate, const QString &fileName) {
    if (!candidate.startsWith(fileName + u'.') || !candidate.endsWith(kTempSuffix))
        return false;
    const QStringList parts =
        candidate.mid(fileName.size() + 1, candidate.size() - fileName.size() - 1 - kTempSuffix.size())
            .split(u'.');
    if (parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty())
        return false;
    for (QChar c : parts[0])
        if (!c.isDigit())
            return false;
    for (QChar c : parts[1])
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z')))
            return false;
    return true;
}

// Removes temporary files of saves of `path` older than a day (left by a save that was killed); for the
// ".bak" name these are the copies of the old file made before it is renamed into place.
void removeStaleTemporaries(const QString &path) {
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    const QDateTime limit = QDateTime::currentDateTimeUtc().addSecs(-kStaleSeconds);
    QDirIterator it(info.absolutePath(), {QStringLiteral("*") + kTempSuffix}, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QFileInfo found = it.fileInfo();
        if (isTemporaryOf(found.fileName(), fileName) && found.lastModified().toUTC() < limit)
            QFile::remove(found.filePath());
    }
}

int lastSystemError() {
#ifdef Q_OS_WIN
    return int(GetLastError());
#else
    return errno;
#endif
}

// Writes all of `bytes`. The reason is the system's error of the failing call: Qt reports none for a
// write that stops part-way, and closing the file clears the error it keeps.
bool writeAll(QFile &file, const QByteArray &bytes, QString &reason) {
#ifdef Q_OS_WIN
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    reason = fileerror::reason(file);
    return false;
#else
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(file.handle(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            reason = fileerror::fromSystemCode(n < 0 ? errno : ENOSPC);
            return false;
        }
    }
    return true;
#endif
}

bool syncToDisk(QFile &file) {
#ifdef Q_OS_WIN
    // QFile keeps its Windows handle to itself (handle() is no C runtime descriptor): the file's buffers are
    // flushed through a second handle.
    const HANDLE second =
        CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(file.fileName()).utf16()),
                    GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (second == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(second);
    CloseHandle(second);
    return flushed;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// Replaces `to` by `from` in one step.
bool renameOver(const QString &from, const QString &to, QString &reason) {
#ifdef Q_OS_WIN
    const QString nativeFrom = QDir::toNativeSeparators(from);
    const QString nativeTo = QDir::toNativeSeparators(to);
    const auto *source = reinterpret_cast<const wchar_t *>(nativeFrom.utf16());
    const auto *target = reinterpret_cast<const wchar_t *>(nativeTo.utf16());
    // Windows refuses to replace a read-only file; it is said so before anything is tried.
    const DWORD before = GetFileAttributesW(target);
    if (before != INVALID_FILE_ATTRIBUTES && (before & FILE_ATTRIBUTE_READONLY)) {
        reason = QStringLiteral("ファイルが読み取り専用です。");
        return false;
    }
    // A file held open by another program (a virus scanner, a colleague's spreadsheet) refuses the
    // replacement; a short hold is waited out, a long one is reported.
    DWORD code = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (MoveFileExW(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        code = GetLastError();
        if (code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION && code != ERROR_ACCESS_DENIED)
            break;
        Sleep(100);
    }
    if (code == ERROR_ACCESS_DENIED) {
        // Windows says "access denied" also for a file another program holds open: ask for the right to
        // delete the file to tell the two apart.
        const HANDLE probe =
            CreateFileW(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe != INVALID_HANDLE_VALUE)
            CloseHandle(probe);
        else if (GetLastError() == ERROR_SHARING_VIOLATION)
            code = ERROR_SHARING_VIOLATION;
    }
    reason = fileerror::fromSystemCode(int(code));
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    reason = fileerror::fromSystemCode(errno);
#endif
    return false;
}

// A second name for the bytes of `from` at `to` (a new name): a hard link, else a copy. On Windows always
// a copy: a link shares the sharing rules of the file, so while another program holds the file open the
// link could be neither renamed into place nor removed.
bool linkOrCopy(const QString &from, const QString &to, QString &reason) {
#ifdef Q_OS_WIN
    if (!QFile::copy(from, to)) {
        reason = fileerror::fromSystemCode(lastSystemError());
        return false;
    }
    // The copy keeps a read-only attribute, which would keep it from being replaced or removed.
    const QString native = QDir::toNativeSeparators(to);
    const auto *name = reinterpret_cast<const wchar_t *>(native.utf16());
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(name, attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return true;
#else
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    QFile source(from);
    if (source.copy(to))
        return true;
    reason = fileerror::reason(source);
    return false;
#endif
}

// True when both names are links to one file (a ".bak" left by a save whose last rename failed).
bool sameFile(const QString &a, const QString &b) {
#ifdef Q_OS_WIN
    Q_UNUSED(a);
    Q_UNUSED(b);
    return false;
#else
    struct stat sa {};
    struct stat sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
#endif
}

// Makes `bak` hold the bytes of `target`, replacing the old ".bak" in one step.
bool rotateBackup(const QString &target, const QString &bak, QString &reason) {
    if (sameFile(target, bak))
        return true;
    const QString bakTemp = temporaryPathFor(bak);
    if (!linkOrCopy(target, bakTemp, reason))
        return false;
    if (renameOver(bakTemp, bak, reason))
        return true;
    QFile::remove(bakTemp);
    return false;
}

// Writes `bytes` to a new temporary file beside `target`, on disk before it returns. The file is
// removed again when anything fails.
bool writeTemporary(const QString &target, const QByteArray &bytes, QString &temp, QString &reason) {
    temp = temporaryPathFor(target);
    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        reason = fileerror::reason(file);
        return false;
    }
    // The reason is taken where a step fails: closing the file clears an earlier write error.
    bool ok = writeAll(file, bytes, reason);
    if (ok && !syncToDisk(file)) {
        ok = false;
        reason = fileerror::fromSystemCode(lastSystemError());
    }
#ifndef Q_OS_WIN
    // On Windows the only permission is the read-only attribute, which refuses the replacement anyway
    // and would keep the temporary file from being removed.
    if (ok && QFileInfo(target).isFile())
        file.setPermissions(QFileInfo(target).permissions());
#endif
    file.close();
    if (ok && file.error() != QFileDevice::NoError) {
        ok = false;
        reason = fileerror::reason(file);
    }
    if (ok)
        return true;
    QFile::remove(temp);
    return false;
}

// The file a save of `path` replaces: the existing spelling of the name, and for a link the file it
// points to (also when that is missing, so the save fails there rather than beside the program).
QString saveTargetOf(const QString &path) {
    const QString target = paths::resolveExisting(path);
    const QFileInfo info(target);
    if (!info.isSymLink())
        return target;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

} // namespace

QStringList splitTextLines(const QString &text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        lines.append(text.mid(start, end - start));
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

QString backupPathFor(const QString &path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString folder = path.left(path.size() - name.size());
    return folder + stem + QStringLiteral(".bak");
}

bool saveFileAtomically(const QString &path, const QByteArray &bytes, QString *error, Backup backup) {
    const QString target = saveTargetOf(path);
    if (QFileInfo(target).isDir())
        return fail(error, target, QStringLiteral("同じ名前のフォルダがあります。"));

    // The new bytes are complete on disk before anything is renamed; every rename replaces its
    // target in one step, so `target` always holds the old or the new bytes.
    QString reason;
    QString temp;
    if (!writeTemporary(target, bytes, temp, reason))
        return fail(error, target, reason);
    const QString bak = backupPathFor(target);
    if (backup == Backup::OneGeneration && bak != target && QFileInfo(target).isFile() &&
        !rotateBackup(target, bak, reason)) {
        // Without its backup the file is not replaced: the file and the old ".bak" stay as they were.
        QFile::remove(temp);
        return fail(error, target,
                    QStringLiteral("バックアップ %1 を作れなかったので、元のファイルのままにしました。\n%2")
                        .arg(QDir::toNativeSeparators(bak), reason));
    }
    if (!renameOver(temp, target, reason)) {
        QFile::remove(temp);
        return fail(error, target, reason);
    }
    removeStaleTemporaries(target);
    if (backup == Backup::OneGeneration && bak != target)
        removeStaleTemporaries(bak);
    return true;
}

bool saveFilesAtomically(const std::vector<FileWrite> &files, QString *error, Backup backup) {
    struct Entry {
        QString target;
        QString temp;
        QString old;              // a second name for the old bytes while the files are renamed
        bool oldInBackup = false; // the old bytes are the ".bak" now
        bool renamed = false;
    };
    std::vector<Entry> entries;
    entries.reserve(files.size());
    auto discard = [&entries] {
        for (const Entry &e : entries) {
            if (!e.temp.isEmpty())
                QFile::remove(e.temp);
            if (!e.old.isEmpty())
                QFile::remove(e.old);
        }
    };

    // Every new file complete on disk, and the old bytes kept under a second name, before anything
    // is renamed.
    for (const FileWrite &file : files) {
        Entry e;
        e.target = saveTargetOf(file.path);
        QString reason;
        if (QFileInfo(e.target).isDir()) {
            discard();
            return fail(error, e.target, QStringLiteral("同じ名前のフォルダがあります。"));
        }
        if (!writeTemporary(e.target, file.bytes, e.temp, reason)) {
            discard();
            return fail(error, e.target, reason);
        }
        const QString bak = backupPathFor(e.target);
        if (backup == Backup::OneGeneration && bak != e.target && sameFile(e.target, bak)) {
            e.oldInBackup = true; // the ".bak" already holds the old bytes
        } else if (QFileInfo(e.target).isFile()) {
            e.old = temporaryPathFor(e.target);
            if (!linkOrCopy(e.target, e.old, reason)) {
                e.old.clear();
                entries.push_back(e);
                discard();
                return fail(error, e.target,
                            QStringLiteral("元のファイルを控えることができませんでした。\n") + reason);
            }
        }
        entries.push_back(e);
    }

    // The backups before any file is replaced: a ".bak" that cannot be made leaves every file as it was
    // (the ".bak" files made before it hold the bytes of their files, which are unchanged).
    if (backup == Backup::OneGeneration) {
        for (Entry &e : entries) {
            const QString bak = backupPathFor(e.target);
            if (e.old.isEmpty() || bak == e.target)
                continue;
            QString reason;
            if (!renameOver(e.old, bak, reason)) {
                discard();
                return fail(
                    error, e.target,
                    QStringLiteral("バックアップ %1 を作れなかったので、元のファイルのままにしました。\n%2")
                        .arg(QDir::toNativeSeparators(bak), reason));
            }
            e.old.clear();
            e.oldInBackup = true;
        }
    }

    // Renamed one by one; a failure puts the old bytes of the files renamed before back in place.
    for (Entry &e : entries) {
        QString reason;
        if (QFileInfo(e.target).isDir())
            reason = QStringLiteral("同じ名前のフォルダがあります。");
        else if (renameOver(e.temp, e.target, reason)) {
            e.temp.clear();
            e.renamed = true;
            continue;
        }
        QStringList notRestored;
        for (Entry &back : entries) {
            if (!back.renamed)
                continue;
            QString ignored;
            bool restored = false;
            if (!back.old.isEmpty()) {
                restored = renameOver(back.old, back.target, ignored);
            } else if (back.oldInBackup) {
                const QString copy = temporaryPathFor(back.target);
                restored = linkOrCopy(backupPathFor(back.target), copy, ignored) &&
                           renameOver(copy, back.target, ignored);
                if (!restored)
                    QFile::remove(copy);
            } else {
                restored = QFile::remove(back.target);
            }
            if (restored)
                back.old.clear();
            else
                notRestored.append(QDir::toNativeSeparators(back.target));
        }
        discard();
        if (!notRestored.isEmpty())
            reason += QStringLiteral("\n元に戻せなかったファイル: ") + notRestored.join(QStringLiteral("、"));
        return fail(error, e.target, reason);
    }

    for (const Entry &e : entries) {
        if (!e.old.isEmpty())
            QFile::remove(e.old);
        removeStaleTemporaries(e.target);
        if (backup == Backup::OneGeneration)
            removeStaleTemporaries(backupPathFor(e.target));
    }
    return true;
}

bool readWholeFile(const QString &path, QByteArray &bytes) {
    bytes.clear();
    const QString actual = paths::resolveExisting(path);
    if (!QFileInfo(actual).isFile())
        return false;
    QFile file(actual);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool readTextLines(const QString &path, QStringList &lines) {
    lines.clear();
    QByteArray bytes;
    if (!readWholeFile(path, bytes))
        return false;
    lines = splitTextLines(cp932::decode(bytes));
    return true;
}

bool writeTextLines(const QString &path, const QStringList &lines, QString *error) {
    QByteArray bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line;
        if (!cp932::encode(lines[i], line)) {
            return fail(error, path,
                        QStringLiteral("%1行目にShift-JISで保存できない文字「%2」があります。")
                            .arg(i + 1)
                            .arg(cp932::firstUnencodable(lines[i])));
        }
        bytes.append(line);
        bytes.append("\r\n");
    }
    return saveFileAtomically(path, bytes, error);
}

} // namespace tavro
