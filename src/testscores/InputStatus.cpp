#include "testscores/InputStatus.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/FolderIndex.h"
#include "config/Electives.h"
#include "config/YearSettings.h"
#include "testscores/TestAggregation.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QFileInfo>

namespace tavro {

QList<QStringList> InputStatusTable::cells() const {
    QList<QStringList> all{header};
    all += rows;
    return all;
}

QString InputStatusTable::damagedMessage() const {
    if (damaged.isEmpty())
        return {};
    return QStringLiteral("次のファイルを正しく読み込めませんでした。読み込めた分だけを表示します。\r\n") +
           damaged.join(QStringLiteral("\r\n"));
}

QString InputStatusTable::unsafeNamesMessage() const {
    return unsafeNames.isEmpty() ? QString() : electives::skippedNamesMessage(unsafeNames);
}

namespace inputstatus {

QStringList halfRowLabels(int classCount, bool classType) {
    QStringList labels;
    for (int c = 1; c <= classCount; ++c)
        for (const char16_t *half : {u"組M", u"組F"})
            labels << shukei::classText(c, classType) + QString::fromUtf16(half);
    return labels;
}

bool readFound(const QString &path, QByteArray &bytes, InputStatusTable &table) {
    if (readWholeFile(path, bytes))
        return true;
    table.damaged.append(QFileInfo(path).fileName());
    return false;
}

InputStatusTable blankTable(const QStringList &subjects, int classCount, bool classType) {
    InputStatusTable table;
    table.header = QStringList{QString()} + subjects;
    for (const QString &label : halfRowLabels(classCount, classType))
        table.rows.append(QStringList{label} + QList<QString>(subjects.size()));
    return table;
}

int classCountOf(const QString &dataFolder, int nendo, int grade) {
    if (grade < 1 || grade > 6)
        return 0;
    return qBound(0, YearSettings::load(dataFolder, nendo).classCount[std::size_t(grade - 1)], 12);
}

InputStatusTable tests(const QString &dataFolder, int nendo, int grade, const QString &testCode,
                       bool classType) {
    const QStringList &subjects = shukei::subjectNames();
    const int classCount = classCountOf(dataFolder, nendo, grade);
    InputStatusTable table = blankTable(subjects, classCount, classType);

    paths::FolderIndex index;
    QByteArray bytes;
    for (int c = 1; c <= classCount; ++c) {
        for (int s = 0; s < subjects.size(); ++s) {
            const QString path =
                index.resolve(paths::classScoreFile(dataFolder, nendo, testCode, grade, c, subjects[s]));
            if (!index.exists(path) || !readFound(path, bytes, table))
                continue;
            ClassScores scores;
            const ReadReport report = TestScoreFile::parseClassScores(bytes, scores);
            if (report.truncated)
                table.damaged.append(QFileInfo(path).fileName());
            int first = 0, second = 0;
            for (int n = 1; n <= 60; ++n)
                if (scores.student(n)[0] >= 0)
                    ++(n <= kHalf ? first : second);
            table.rows[2 * (c - 1)][s + 1] = QString::number(first);
            table.rows[2 * (c - 1) + 1][s + 1] = QString::number(second);
        }
    }
    return table;
}

} // namespace inputstatus

} // namespace tavro
