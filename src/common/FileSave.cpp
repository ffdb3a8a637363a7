#include "common/FileSave.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tavro {

namespace {

bool fail(QString *error, const QString &path, const QString &reason) {
    if (error)
        *error = QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

// Writes `bytes` to `path` through QSaveFile (temporary file in the same folder, renamed on commit).
bool writeSaveFile(const QString &path, const QByteArray &bytes, QString &reason) {
    if (QFileInfo(path).isDir()) {
        reason = QStringLiteral("同じ名前のフォルダがあります。");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
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
    const QString target = paths::resolveExisting(path);
    QString reason;
    const bool hadOld = QFileInfo(target).isFile();
    const QString bak = backupPathFor(target);
    if (backup == Backup::None || !hadOld || bak == target) {
        if (!writeSaveFile(target, bytes, reason))
            return fail(error, target, reason);
        return true;
    }

    // One generation: the new bytes are complete on disk before the old file is touched.
    const QString temp = target + QStringLiteral(".tmp");
    if (!writeSaveFile(temp, bytes, reason)) {
        QFile::remove(temp);
        return fail(error, target, reason);
    }
    QFile::remove(bak);
    if (!QFile::rename(target, bak)) {
        // No backup possible; replace the file in one step so it is either old or new.
        QFile::remove(temp);
        if (!writeSaveFile(target, bytes, reason))
            return fail(error, target, reason);
        return true;
    }
    QFile tempFile(temp);
    if (!tempFile.rename(target)) {
        reason = tempFile.errorString();
        QFile::rename(bak, target);
        QFile::remove(temp);
        return fail(error, target, reason);
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
