#pragma once

#include "config/TeacherFile.h"

#include <QString>
#include <QStringList>
#include <array>

namespace tavro {

// The working copy of "担当学級の設定": the teachers of the teacher file as rows, the classes of the
// selected grade as columns, and a mark where a teacher is assigned to the class for the selected
// subject (for an elective, every class of the teacher's row). All grades and subjects are kept in
// one assignment list that replaces the file's "M" lines on save.
class TantoGrid {
public:
    enum class Kind { Compulsory, Elective };

    // Creates the year folder when missing and reads the class counts, the teacher file of `nendo`
    // (no fallback to an earlier year) and the elective file. Grade 1, compulsory, first subject.
    static TantoGrid open(const QString &dataFolder, int nendo, int schoolKind);
    // The same from data already in memory.
    static TantoGrid fromData(const TeacherFile &file, const QStringList &electiveLines,
                              const std::array<int, 6> &classCount, int schoolKind);

    // The compulsory subjects of the assignments by school kind.
    static QStringList compulsorySubjects(int schoolKind);

    int grade() const { return m_grade; }
    // 1..6; keeps the subject index, clamped to the new list.
    void setGrade(int grade);
    Kind kind() const { return m_kind; }
    void setKind(Kind kind);

    // The subjects of the selected kind: compulsory by school kind, or the electives of the grade
    // (the elective file's lines of the grade from their 4th byte on).
    const QStringList &subjects() const { return m_subjects; }
    // -1 when the list is empty.
    int subjectIndex() const { return m_subjectIndex; }
    void setSubjectIndex(int index);
    QString subject() const;

    // Rows: the teachers' entries (name + "(" grade "-" class ")") and their names.
    int rowCount() const { return int(m_entries.size()); }
    const QStringList &rowHeaders() const { return m_entries; }
    QString teacherOfRow(int row) const;

    // The classes of the grade; the grid shows at least one column but is hidden without classes.
    int classCount() const { return m_classCount[size_t(m_grade - 1)]; }
    int columnCount() const { return qMax(1, classCount()); }
    bool gridVisible() const { return classCount() > 0; }
    static QString columnCaption(int column); // "1組", ...

    // Whether the cell shows "○".
    bool isMarked(int row, int column) const;
    // Whether the cell can be toggled; `reason` says why not. A class is stored as one character,
    // so classes from 10 on would be read as class 1 and cannot be assigned.
    bool canToggle(int row, int column, QString *reason = nullptr) const;
    // Toggles the cell's assignment (one teacher per class and subject, one per elective and grade).
    // Returns whether the cell is marked afterwards; does nothing when canToggle() is false.
    bool toggle(int row, int column);

    const QStringList &assignmentLines() const { return m_assignments; }
    // The file with its "M" lines replaced by the assignment list.
    TeacherFile fileToSave() const;
    // Writes the teacher file of `nendo` atomically.
    bool save(const QString &dataFolder, int nendo, QString *error = nullptr) const;

private:
    void refreshSubjects();

    TeacherFile m_file;
    QStringList m_assignments;
    QStringList m_entries;
    QStringList m_teachers;
    QStringList m_electiveLines;
    std::array<int, 6> m_classCount{};
    int m_schoolKind = 1;
    int m_grade = 1;
    Kind m_kind = Kind::Compulsory;
    QStringList m_subjects;
    int m_subjectIndex = -1;
};

} // namespace tavro
