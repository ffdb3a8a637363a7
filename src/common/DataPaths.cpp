#include "common/DataPaths.h"

#include "common/ControlCharacters.h"
#include "common/Cp932.h"

#include <QDir>
#include <QFileInfo>

namespace tavro::paths {

namespace {

bool endsWithSeparator(const QString &path) {
#ifdef Q_OS_WIN
    if (path.endsWith(u'\\'))
        return true;
#endif
    return path.endsWith(u'/');
}

// CON, PRN, AUX, NUL, COM1..COM9 and LPT1..LPT9, in any letter case.
bool isDeviceName(const QString &stem) {
    const QString upper = stem.toUpper();
    if (upper == u"CON" || upper == u"PRN" || upper == u"AUX" || upper == u"NUL")
        return true;
    return upper.size() == 4 && (upper.startsWith(u"COM") || upper.startsWith(u"LPT")) &&
           upper[3] >= QLatin1Char('1') && upper[3] <= QLatin1Char('9');
}

} // namespace

QString withTrailingSeparator(const QString &folder) {
    if (folder.isEmpty() || endsWithSeparator(folder))
        return folder;
    return folder + u'/';
}

QString yearFolder(const QString &dataFolder, int nendo) {
    return withTrailingSeparator(dataFolder) + QString::number(nendo);
}

QString yearFile(const QString &dataFolder, int nendo, const QString &stem, const QString &extension) {
    return yearFolder(dataFolder, nendo) + u'/' + stem + QString::number(nendo) + extension;
}

QString yearSettingsFile(const QString &dataFolder, int nendo) {
    return yearFile(dataFolder, nendo, QStringLiteral("Tavro"), QStringLiteral(".ini"));
}

QString teacherFile(const QString &dataFolder, int nendo) {
    return yearFile(dataFolder, nendo, QStringLiteral("teacher"), QStringLiteral(".def"));
}

QString sentakuFile(const QString &dataFolder, int nendo) {
    return yearFile(dataFolder, nendo, QStringLiteral("sentaku"), QStringLiteral(".def"));
}

QString kantenFile(const QString &dataFolder, int nendo) {
    return yearFile(dataFolder, nendo, QStringLiteral("Kanten"), QStringLiteral(".def"));
}

QString rosterFile(const QString &dataFolder, int nendo, int grade) {
    return yearFolder(dataFolder, nendo) + u'/' + QString::number(nendo) + QStringLiteral("NA") +
           QString::number(grade) + QStringLiteral(".tvp");
}

QString memberListFile(const QString &dataFolder, int nendo, int grade, const QString &elective) {
    return yearFolder(dataFolder, nendo) + QStringLiteral("/%1S%2%3.lst").arg(nendo).arg(grade).arg(elective);
}

QString mainSettingsFile(const QString &dataFolder) {
    return withTrailingSeparator(dataFolder) + QStringLiteral("Tavro_Main.ini");
}

bool ensureFolder(const QString &folder) {
    if (folder.isEmpty())
        return false;
    if (!QFileInfo(folder).isDir())
        QDir().mkdir(folder); // one level only; a missing parent makes it fail, which is ignored
    return QFileInfo(folder).isDir();
}

QString ensureYearFolder(const QString &dataFolder, int nendo) {
    const QString folder = yearFolder(dataFolder, nendo);
    ensureFolder(folder);
    return folder;
}

QString resolveExisting(const QString &path) {
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QString parentPath = info.path();
    if (name.isEmpty() || parentPath == path)
        return path;
    // The folder may differ in case as well ("test" for "Test").
    const QString parent = resolveExisting(parentPath);
    const QDir dir(parent);
    if (!dir.exists())
        return path;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return parent == parentPath ? path : dir.filePath(name);
}

bool fileExists(const QString &path) {
    return QFileInfo::exists(resolveExisting(path));
}

bool isSafeName(const QString &name, QString *reason) {
    auto refuse = [reason](const QString &text) {
        if (reason)
            *reason = text;
        return false;
    };
    if (name.trimmed().isEmpty())
        return refuse(QStringLiteral("名前が入力されていません。"));
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            return refuse(QStringLiteral("名前に使えない文字が含まれています: 制御文字 (%1)")
                              .arg(chars::codePointLabel(c)));
        if (QStringView(u"/\\<>:\"|?*").contains(c))
            return refuse(QStringLiteral("名前に使えない文字が含まれています: 「%1」\n"
                                         "/ \\ < > : \" | ? * は使えません。")
                              .arg(c));
    }
    if (name == u"." || name.contains(u".."))
        return refuse(QStringLiteral("名前に「.」だけや「..」は使えません。"));
    // Windows drops a trailing dot or space from a file or folder name, and keeps the names of
    // its devices (alone or before an extension) from naming a file at all.
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return refuse(QStringLiteral("名前の最後に「.」や空白は使えません。"));
    if (isDeviceName(name.section(QLatin1Char('.'), 0, 0).trimmed()))
        return refuse(QStringLiteral("「%1」はWindowsの装置名のため、名前に使えません。").arg(name));
    const QString bad = cp932::firstUnencodable(name);
    if (!bad.isEmpty())
        return refuse(QStringLiteral("名前に使えない文字が含まれています: 「%1」\n"
                                     "Shift-JISで扱えない文字(絵文字など)は使えません。")
                          .arg(bad));
    return true;
}

} // namespace tavro::paths
