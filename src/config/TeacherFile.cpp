#include "config/TeacherFile.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"

namespace tavro {

namespace {

bool isNLine(const QString &line) {
    return line.startsWith(u'N');
}

bool isMLine(const QString &line) {
    return line.startsWith(u'M');
}

} // namespace

TeacherFile TeacherFile::load(const QString &dataFolder, int nendo) {
    TeacherFile file;
    if (readTextLines(paths::teacherFile(dataFolder, nendo), file.m_lines))
        file.m_sourceYear = nendo;
    return file;
}

TeacherFile TeacherFile::loadWithFallback(const QString &dataFolder, int nendo) {
    TeacherFile file = load(dataFolder, nendo);
    if (file.m_sourceYear == 0 && !paths::fileExists(paths::teacherFile(dataFolder, nendo)))
        file = load(dataFolder, nendo - 1);
    return file;
}

TeacherFile TeacherFile::fromLines(const QStringList &lines) {
    TeacherFile file;
    file.m_lines = lines;
    return file;
}

QStringList TeacherFile::entries() const {
    QStringList list;
    for (const QString &line : m_lines)
        if (isNLine(line))
            list.append(entryOfLine(line));
    return list;
}

QStringList TeacherFile::teacherNames() const {
    QStringList list;
    for (const QString &line : m_lines) {
        if (!isNLine(line))
            continue;
        const QString name = nameOfLine(line);
        if (!name.isEmpty())
            list.append(name);
    }
    return list;
}

QStringList TeacherFile::assignmentLines() const {
    QStringList list;
    for (const QString &line : m_lines)
        if (isMLine(line))
            list.append(line);
    return list;
}

void TeacherFile::setEntries(const QStringList &entries) {
    QStringList lines;
    for (const QString &entry : entries)
        lines.append(u'N' + entry);
    for (const QString &line : m_lines)
        if (!isNLine(line))
            lines.append(line);
    m_lines = lines;
}

void TeacherFile::setAssignmentLines(const QStringList &assignmentLines) {
    QStringList lines;
    for (const QString &line : m_lines)
        if (!isMLine(line))
            lines.append(line);
    lines.append(assignmentLines);
    m_lines = lines;
}

bool TeacherFile::save(const QString &dataFolder, int nendo, QString *error) const {
    paths::ensureYearFolder(dataFolder, nendo);
    return writeTextLines(paths::teacherFile(dataFolder, nendo), m_lines, error);
}

QString TeacherFile::entryOfLine(const QString &nLine) {
    const QString rest = nLine.mid(1);
    // Text after the grade and class (a stray blank, say) is dropped; the grade and class are kept.
    // A ")" before the "(" belongs to the name.
    const qsizetype open = rest.indexOf(u'(');
    const qsizetype close = open < 0 ? -1 : rest.indexOf(u')', open);
    if (close < 0 || close == rest.size() - 1)
        return rest;
    return rest.left(close + 1);
}

QString TeacherFile::nameOfLine(const QString &nLine) {
    const qsizetype open = nLine.indexOf(u'(');
    return open < 0 ? nLine.mid(1) : nLine.mid(1, open - 1);
}

TeacherFile::EntryParts TeacherFile::parseEntry(const QString &entry) {
    EntryParts parts;
    const qsizetype open = entry.indexOf(u'(');
    if (open < 0) {
        parts.name = entry;
        return parts;
    }
    parts.name = entry.left(open);
    if (open + 1 < entry.size()) {
        const int grade = entry.at(open + 1).digitValue();
        if (grade >= 1 && grade <= 6)
            parts.grade = grade;
    }
    const qsizetype dash = entry.indexOf(u'-', open);
    if (dash >= 0 && entry.size() - 1 > dash + 1) {
        bool ok = false;
        const int cls = entry.mid(dash + 1, entry.size() - 1 - (dash + 1)).toInt(&ok);
        if (ok && cls >= 0 && cls <= 12)
            parts.cls = cls;
    }
    return parts;
}

QString TeacherFile::makeEntry(const QString &name, int grade, int cls) {
    return QStringLiteral("%1(%2-%3)").arg(name).arg(grade).arg(cls);
}

namespace assignment {

QString key(const QString &subject, const QString &teacher, const QString &grade, const QString &classChar) {
    QString k = u'\t' + subject + u'\t' + teacher + u'\t' + grade;
    if (!classChar.isEmpty())
        k += u'-' + classChar;
    return k;
}

bool matches(const QString &line, const QString &subject, const QString &teacher, const QString &grade,
             const QString &classChar) {
    return line.contains(key(subject, teacher, grade, classChar));
}

QString classChar(int cls) {
    return QString::number(cls).left(1);
}

QString compulsoryLine(const QString &subject, const QString &teacher, int grade, int cls) {
    return QStringLiteral("MT") + key(subject, teacher, QString::number(grade), classChar(cls));
}

QString electiveLine(const QString &elective, const QString &teacher, int grade) {
    return QStringLiteral("MT") + key(elective, teacher, QString::number(grade));
}

bool isAssigned(const QStringList &lines, const QString &subject, const QString &teacher, int grade, int cls,
                bool elective) {
    const QString k = key(subject, teacher, QString::number(grade), elective ? QString() : classChar(cls));
    for (const QString &line : lines)
        if (line.contains(k))
            return true;
    return false;
}

bool toggle(QStringList &lines, const QString &subject, const QStringList &gridTeachers,
            const QString &teacher, int grade, int cls, bool elective) {
    const bool wasAssigned = isAssigned(lines, subject, teacher, grade, cls, elective);
    const QString gradeText = QString::number(grade);
    lines.removeIf([&](const QString &line) {
        if (elective) {
            // Any teacher: the fields subject, teacher and grade of an elective line.
            const QStringList fields = line.split(u'\t');
            return fields.size() >= 4 && fields[1] == subject && fields[3] == gradeText;
        }
        for (const QString &t : gridTeachers)
            if (matches(line, subject, t, gradeText, classChar(cls)))
                return true;
        return false;
    });
    if (wasAssigned)
        return false;
    lines.append(elective ? electiveLine(subject, teacher, grade)
                          : compulsoryLine(subject, teacher, grade, cls));
    return true;
}

QString chargeClasses(const QStringList &lines, const QString &kyouka, const QString &teacher,
                      const QString &gakunen, bool *matched) {
    QString classes;
    bool any = false;
    auto search = [&](const QString &subject) {
        const QString k = key(subject, teacher, gakunen);
        for (const QString &line : lines) {
            const qsizetype at = line.indexOf(k);
            if (at < 0)
                continue;
            any = true;
            // The class follows the grade's "-" (a "-" inside a name does not count).
            const qsizetype dash = at + k.size();
            if (dash + 1 < line.size() && line.at(dash) == u'-' && !classes.contains(line.at(dash + 1)))
                classes += line.at(dash + 1);
        }
    };
    search(kyouka);
    if (!any && kyouka == QStringLiteral("技家")) {
        search(QStringLiteral("技家I"));
        search(QStringLiteral("技家H"));
    }
    if (matched)
        *matched = any;
    return classes;
}

} // namespace assignment

} // namespace tavro
