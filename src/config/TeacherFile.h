#pragma once

#include <QString>
#include <QStringList>

namespace tavro {

// The teacher file ("teacher" + year + ".def"): "N" lines name the teachers with their own grade and
// class (N山田太郎(1-2)), "M" lines assign a teacher to a subject and class or to an elective:
//   "MT" TAB subject TAB name TAB grade "-" class-character
//   "MT" TAB elective TAB name TAB grade
// Other lines are kept as they are. The whole file stays in memory for the save.
class TeacherFile {
public:
    // The file of `nendo`; a missing or unreadable file gives an empty object.
    static TeacherFile load(const QString &dataFolder, int nendo);
    // The file of `nendo`, or of `nendo` - 1 when that one does not exist.
    static TeacherFile loadWithFallback(const QString &dataFolder, int nendo);
    static TeacherFile fromLines(const QStringList &lines);

    // The year whose file was read; 0 when none was found.
    int sourceYear() const { return m_sourceYear; }
    const QStringList &lines() const { return m_lines; }

    // The teacher list as the settings window shows it: name + "(" + grade + "-" + class + ")".
    QStringList entries() const;
    // The teachers of the login list: each "N" line's name (empty names are left out).
    QStringList teacherNames() const;
    // The "M" lines, in file order, with their "M".
    QStringList assignmentLines() const;

    // The settings window's save: the "N" lines are replaced by "N" + entry, in list order, at the
    // top; every other line keeps its order behind them.
    void setEntries(const QStringList &entries);
    // The assignment window's save: all "M" lines are removed and `assignmentLines` (each starting
    // with "M") are appended behind the other lines.
    void setAssignmentLines(const QStringList &assignmentLines);

    // Creates the year folder when missing and writes the file of `nendo` atomically.
    bool save(const QString &dataFolder, int nendo, QString *error = nullptr) const;

    // Entry of an "N" line: the line without its "N", cut after the first ")" when text follows it.
    static QString entryOfLine(const QString &nLine);
    // Name of an "N" line: from the 2nd character up to the character before the first "(".
    static QString nameOfLine(const QString &nLine);

    // The parts of an entry as the settings window reads them back: the name before "(", the grade
    // after "(" (1..6, 1 when unreadable) and the class between "-" and the last character (0..12,
    // 0 when unreadable).
    struct EntryParts {
        QString name;
        int grade = 1;
        int cls = 0;
    };
    static EntryParts parseEntry(const QString &entry);
    static QString makeEntry(const QString &name, int grade, int cls);

private:
    QStringList m_lines;
    int m_sourceYear = 0;
};

// Assignment lines and the test that the login and the assignment window share: a line matches
// (subject, teacher, grade[, class]) when it contains TAB + subject + TAB + teacher + TAB + grade
// (+ "-" + class character).
namespace assignment {

QString key(const QString &subject, const QString &teacher, const QString &grade,
            const QString &classChar = QString());
bool matches(const QString &line, const QString &subject, const QString &teacher, const QString &grade,
             const QString &classChar = QString());

// "MT" lines. The class is written as one character: the first character of its number.
QString compulsoryLine(const QString &subject, const QString &teacher, int grade, int cls);
QString electiveLine(const QString &elective, const QString &teacher, int grade);
QString classChar(int cls);

// Whether `teacher` is assigned: with a class for compulsory subjects, without one for electives.
bool isAssigned(const QStringList &lines, const QString &subject, const QString &teacher, int grade, int cls,
                bool elective);

// The toggle of one cell of the assignment grid: every line of (subject, any of `gridTeachers`,
// grade, class) - or (elective, any teacher, grade) - is removed, and unless `teacher` held the cell,
// the line for `teacher` is added. So a class has at most one teacher per subject and an elective
// one teacher per grade. Returns whether `teacher` is assigned afterwards.
bool toggle(QStringList &lines, const QString &subject, const QStringList &gridTeachers,
            const QString &teacher, int grade, int cls, bool elective);

// The classes in charge: for every line that matches (kyouka, teacher, gakunen), the class character
// after the grade's "-". "技家" falls back to "技家I" and then "技家H" when it has no line of its own.
// A class already listed is not listed again; an elective line (no "-") matches without adding a
// class. `matched` tells whether any line matched.
QString chargeClasses(const QStringList &lines, const QString &kyouka, const QString &teacher,
                      const QString &gakunen, bool *matched = nullptr);

} // namespace assignment

} // namespace tavro
