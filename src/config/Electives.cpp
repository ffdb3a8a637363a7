#include "config/Electives.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"

#include <QDir>
#include <QFileInfo>

namespace tavro {

namespace {

QString gradePrefix(int grade) {
    return QString::number(grade) + QStringLiteral("年選択");
}

const QString kSentaku = QStringLiteral("選択");

} // namespace

namespace electives {

QStringList readLines(const QString &dataFolder, int nendo) {
    QStringList lines;
    readTextLines(paths::sentakuFile(dataFolder, nendo), lines);
    return lines;
}

QStringList readLinesWithFallback(const QString &dataFolder, int nendo) {
    if (paths::fileExists(paths::sentakuFile(dataFolder, nendo)))
        return readLines(dataFolder, nendo);
    return readLines(dataFolder, nendo - 1);
}

bool writeLines(const QString &dataFolder, int nendo, const QStringList &lines, QString *error) {
    paths::ensureYearFolder(dataFolder, nendo);
    return writeTextLines(paths::sentakuFile(dataFolder, nendo), lines, error);
}

QString nameOf(const QString &line) {
    return cp932::midBytes(line, 3);
}

int gradeOf(const QString &line) {
    if (line.isEmpty())
        return 0;
    const int g = line.at(0).digitValue();
    return g >= 1 && g <= 6 && line.at(0).unicode() < 0x80 ? g : 0;
}

QStringList pageLines(const QStringList &lines, int grade) {
    QStringList page;
    const QString prefix = gradePrefix(grade);
    for (const QString &line : lines)
        if (cp932::byteLength(line) >= 6 && line.startsWith(prefix))
            page.append(line);
    return page;
}

QString completeLine(int grade, const QString &typed) {
    if (typed.isEmpty())
        return QString();
    if (typed.startsWith(gradePrefix(grade)))
        return typed;
    if (typed.startsWith(kSentaku))
        return QString::number(grade) + QStringLiteral("年") + typed;
    if (!typed.contains(kSentaku))
        return gradePrefix(grade) + typed;
    return QString();
}

QStringList completePages(const QList<QStringList> &pages) {
    QStringList lines;
    for (int g = 1; g <= 6 && g <= pages.size(); ++g)
        for (const QString &typed : pages[g - 1]) {
            const QString line = completeLine(g, typed);
            if (!line.isEmpty())
                lines.append(line);
        }
    return lines;
}

bool checkName(const QString &name, QString *reason) {
    QString why;
    if (paths::isSafeName(name, &why))
        return true;
    if (reason)
        *reason = QStringLiteral("選択教科名「%1」はファイル名に使えません。\n%2").arg(name, why);
    return false;
}

QString skippedNamesMessage(const QStringList &names) {
    return QStringLiteral("ファイル名に使えない選択教科名は読み込みませんでした。\r\n") +
           names.join(QStringLiteral("、"));
}

} // namespace electives

namespace memberlist {

bool read(const QString &dataFolder, int nendo, int grade, const QString &elective, QStringList &lines,
          QString *error) {
    lines.clear();
    if (!electives::checkName(elective, error))
        return false;
    const QString path = paths::resolveExisting(paths::memberListFile(dataFolder, nendo, grade, elective));
    if (!QFileInfo::exists(path))
        return true;
    if (!readTextLines(path, lines)) {
        if (error)
            *error = QStringLiteral("選択教科の生徒ファイルを読み込めませんでした。\n%1")
                         .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool write(const QString &dataFolder, int nendo, int grade, const QString &elective, const QStringList &lines,
           QString *error) {
    if (!electives::checkName(elective, error))
        return false;
    paths::ensureYearFolder(dataFolder, nendo);
    return writeTextLines(paths::memberListFile(dataFolder, nendo, grade, elective), lines, error);
}

QList<int> members(const QStringList &lines) {
    QList<int> codes;
    for (const QString &line : lines) {
        const QString text = line.trimmed();
        if (text.size() != 3 && text.size() != 4)
            continue;
        bool digits = true;
        for (QChar c : text)
            digits = digits && c >= u'0' && c <= u'9';
        if (!digits)
            continue;
        const int m = text.toInt() % 1000;
        const int cls = m / 100;
        const int position = m % 100;
        if (cls >= 1 && position >= 1 && position <= 60)
            codes.append(cls * 100 + position);
    }
    return codes;
}

} // namespace memberlist

} // namespace tavro
