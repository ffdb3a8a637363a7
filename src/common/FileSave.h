#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tavro {

enum class Backup {
    None,
    // Keep exactly one generation: the previous file becomes the file with extension ".bak".
    OneGeneration,
};

// Writes the whole file atomically: the bytes go to a new temporary file in the same folder,
// "<name>.<process id>.<random>.tavro-tmp", synced to disk and then renamed over `path`, so a kill at
// any moment leaves the old or the new bytes. With Backup::OneGeneration the old bytes first become
// the ".bak" file (replaced in one step as well). On failure the temporary file is removed, the old
// file is left in place, `error` gets a Japanese message, and the result is false. A successful save
// removes temporary files of saves of the same file, and of its ".bak" file, older than a day.
bool saveFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr,
                        Backup backup = Backup::None);

// The ".bak" name of a file: its extension replaced by ".bak".
QString backupPathFor(const QString &path);

// Reads a whole file. False when it is missing or unreadable.
bool readWholeFile(const QString &path, QByteArray &bytes);

// Text file helpers in code page 932: lines split at CR LF, LF or CR; written with CR LF after
// every line. Writing refuses text that code page 932 cannot hold.
bool readTextLines(const QString &path, QStringList &lines);
// Splits text at CR LF, LF or CR; a final line end does not add an empty line.
QStringList splitTextLines(const QString &text);
bool writeTextLines(const QString &path, const QStringList &lines, QString *error = nullptr);

} // namespace tavro
