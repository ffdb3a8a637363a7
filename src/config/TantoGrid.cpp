#include "config/TantoGrid.h"

#include "common/DataPaths.h"
#include "config/Electives.h"
#include "config/YearSettings.h"

namespace tavro {

namespace {

// A class is written as the first character of its number.
constexpr int kMaxStoredClass = 9;

} // namespace

TantoGrid TantoGrid::open(const QString &dataFolder, int nendo, int schoolKind) {
    paths::ensureYearFolder(dataFolder, nendo);
    return fromData(TeacherFile::load(dataFolder, nendo), electives::readLines(dataFolder, nendo),
                    YearSettings::load(dataFolder, nendo).classCount, schoolKind);
}

TantoGrid TantoGrid::fromData(const TeacherFile &file, const QStringList &electiveLines,
                              const std::array<int, 6> &classCount, int schoolKind) {
    TantoGrid grid;
    grid.m_file = file;
    grid.m_assignments = file.assignmentLines();
    grid.m_entries = file.entries();
    for (const QString &entry : grid.m_entries)
        grid.m_teachers.append(TeacherFile::parseEntry(entry).name);
    grid.m_electiveLines = electiveLines;
    for (size_t g = 0; g < classCount.size(); ++g)
        grid.m_classCount[g] = qBound(0, classCount[g], 12);
    grid.m_schoolKind = schoolKind;
    grid.refreshSubjects();
    return grid;
}

QStringList TantoGrid::compulsorySubjects(int schoolKind) {
    if (schoolKind == 0)
        return {QStringLiteral("国語"), QStringLiteral("社会"),  QStringLiteral("算数"),
                QStringLiteral("理科"), QStringLiteral("生活"),  QStringLiteral("音楽"),
                QStringLiteral("図工"), QStringLiteral("体育B"), QStringLiteral("体育G"),
                QStringLiteral("家庭")};
    if (schoolKind == 1)
        return {QStringLiteral("国語"),  QStringLiteral("社会"),  QStringLiteral("数学"),
                QStringLiteral("理科"),  QStringLiteral("英語"),  QStringLiteral("音楽"),
                QStringLiteral("美術"),  QStringLiteral("保体B"), QStringLiteral("保体G"),
                QStringLiteral("技家I"), QStringLiteral("技家H")};
    return {};
}

void TantoGrid::setGrade(int grade) {
    m_grade = qBound(1, grade, 6);
    refreshSubjects();
}

void TantoGrid::setKind(Kind kind) {
    m_kind = kind;
    refreshSubjects();
}

void TantoGrid::refreshSubjects() {
    if (m_kind == Kind::Compulsory) {
        m_subjects = compulsorySubjects(m_schoolKind);
    } else {
        m_subjects.clear();
        for (const QString &line : m_electiveLines)
            if (electives::gradeOf(line) == m_grade)
                m_subjects.append(electives::nameOf(line));
    }
    if (m_subjects.isEmpty())
        m_subjectIndex = -1;
    else
        m_subjectIndex = qBound(0, m_subjectIndex, int(m_subjects.size()) - 1);
}

void TantoGrid::setSubjectIndex(int index) {
    if (index >= 0 && index < m_subjects.size())
        m_subjectIndex = index;
}

QString TantoGrid::subject() const {
    return m_subjectIndex >= 0 ? m_subjects.at(m_subjectIndex) : QString();
}

QString TantoGrid::teacherOfRow(int row) const {
    return row >= 0 && row < m_teachers.size() ? m_teachers.at(row) : QString();
}

QString TantoGrid::columnCaption(int column) {
    return QString::number(column + 1) + QStringLiteral("組");
}

bool TantoGrid::isMarked(int row, int column) const {
    const QString teacher = teacherOfRow(row);
    if (teacher.isEmpty() || m_subjectIndex < 0 || column < 0 || column >= classCount())
        return false;
    const bool elective = m_kind == Kind::Elective;
    if (!elective && column + 1 > kMaxStoredClass)
        return false;
    return assignment::isAssigned(m_assignments, subject(), teacher, m_grade, column + 1, elective);
}

bool TantoGrid::canToggle(int row, int column, QString *reason) const {
    QString why;
    if (m_subjectIndex < 0)
        why = QStringLiteral("教科が選択されていません。");
    else if (row < 0 || row >= rowCount() || column < 0 || column >= classCount())
        why = QStringLiteral("この欄には担当を設定できません。");
    else if (teacherOfRow(row).isEmpty())
        why = QStringLiteral("氏名が空欄の教員には担当を設定できません。");
    else if (m_kind == Kind::Compulsory && column + 1 > kMaxStoredClass)
        why = QStringLiteral("担当学級は9学級まで設定できます。");
    if (reason)
        *reason = why;
    return why.isEmpty();
}

bool TantoGrid::toggle(int row, int column) {
    if (!canToggle(row, column))
        return isMarked(row, column);
    return assignment::toggle(m_assignments, subject(), m_teachers, teacherOfRow(row), m_grade, column + 1,
                              m_kind == Kind::Elective);
}

TeacherFile TantoGrid::fileToSave() const {
    TeacherFile file = m_file;
    file.setAssignmentLines(m_assignments);
    return file;
}

bool TantoGrid::save(const QString &dataFolder, int nendo, QString *error) const {
    return fileToSave().save(dataFolder, nendo, error);
}

} // namespace tavro
