#include "testscores/InputStatus.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/FolderIndex.h"
#include "config/Electives.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "testscores/TestAggregation.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QFileInfo>
#include <QSet>

namespace tavro {

namespace {

constexpr int kHalf = 30;

QStringList halfRowLabels(int classCount, bool classType) {
    QStringList labels;
    for (int c = 1; c <= classCount; ++c)
        for (const char16_t *half : {u"組M", u"組F"})
            labels << shukei::classText(c, classType) + QString::fromUtf16(half);
    return labels;
}

// Reads a file the index found; false (and the file listed) when it could not be read.
bool readFound(const QString &path, QByteArray &bytes, InputStatusTable &table) {
    if (readWholeFile(path, bytes))
        return true;
    table.damaged.append(QFileInfo(path).fileName());
    return false;
}

struct ClassResultCounter {
    int kind = 0;
    int first = 0, second = 0;
    void evaluation(int k, int n, const char *, int) {
        if (k == kind)
            ++(n <= kHalf ? first : second);
    }
    void percentage(int, int, float) {}
    void mark(int, int, int, const char *, int) {}
    void viewpointPercentage(int, int, int, float) {}
    void comment(int, int, const char *, int) {}
    void dateTime(int, double) {}
};

struct ElectiveResultCounter {
    int kind = 0;
    QSet<int> entered; // slot codes class × 100 + number
    void record(int k, int cls, int n, const SentakuRecord &r) {
        if (k == kind && !r.evaluation.trimmed().isEmpty())
            entered.insert(cls * 100 + n);
    }
    void comment(int, int, int, const char *, int) {}
    void dateTime(int, double) {}
};

} // namespace

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

int classCountOf(const QString &dataFolder, int nendo, int grade) {
    if (grade < 1 || grade > 6)
        return 0;
    return qBound(0, YearSettings::load(dataFolder, nendo).classCount[std::size_t(grade - 1)], 12);
}

InputStatusTable tests(const QString &dataFolder, int nendo, int grade, const QString &testCode,
                       bool classType) {
    InputStatusTable table;
    const QStringList &subjects = shukei::subjectNames();
    table.header = QStringList{QString()} + subjects;
    const int classCount = classCountOf(dataFolder, nendo, grade);
    const QStringList labels = halfRowLabels(classCount, classType);
    for (const QString &label : labels)
        table.rows.append(QStringList{label} + QList<QString>(subjects.size()));

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

InputStatusTable evaluations(const QString &dataFolder, int nendo, int grade, int kind,
                             const QStringList &subjects, bool classType) {
    InputStatusTable table;
    table.header = QStringList{QString()} + subjects;
    const int classCount = classCountOf(dataFolder, nendo, grade);
    for (const QString &label : halfRowLabels(classCount, classType))
        table.rows.append(QStringList{label} + QList<QString>(subjects.size()));

    paths::FolderIndex index;
    QByteArray bytes;
    for (int c = 1; c <= classCount; ++c) {
        for (int s = 0; s < subjects.size(); ++s) {
            const QString path =
                index.resolve(paths::classResultFile(dataFolder, nendo, grade, c, subjects[s]));
            if (!index.exists(path) || !readFound(path, bytes, table))
                continue;
            ClassResultCounter counter;
            counter.kind = kind;
            ReadReport report;
            format::parseClassResult(bytes, counter, report);
            if (report.tooNew) {
                table.tooNew = true;
                continue;
            }
            if (report.truncated || report.badText)
                table.damaged.append(QFileInfo(path).fileName());
            table.rows[2 * (c - 1)][s + 1] = QString::number(counter.first);
            table.rows[2 * (c - 1) + 1][s + 1] = QString::number(counter.second);
        }
    }
    return table;
}

InputStatusTable electives(const QString &dataFolder, int nendo, int grade, int kind, bool classType) {
    InputStatusTable table;
    const int classCount = classCountOf(dataFolder, nendo, grade);
    table.header = QStringList{QStringLiteral("教科"), QStringLiteral("合計")};
    for (int c = 1; c <= classCount; ++c)
        table.header << shukei::classText(c, classType) + QStringLiteral("組") << QStringLiteral("chk");

    paths::FolderIndex index;
    QByteArray bytes;
    for (const QString &line : electives::readLines(dataFolder, nendo)) {
        if (electives::gradeOf(line) != grade)
            continue;
        const QString name = electives::nameOf(line);
        if (!electives::checkName(name)) {
            table.unsafeNames.append(name);
            continue;
        }
        QStringList row{name, QString()};
        QStringList lines;
        if (!memberlist::read(dataFolder, nendo, grade, name, lines))
            table.damaged.append(QFileInfo(paths::memberListFile(dataFolder, nendo, grade, name)).fileName());
        const QList<int> members = memberlist::members(lines);

        ElectiveResultCounter counter;
        counter.kind = kind;
        bool tooNew = false;
        const QString path = index.resolve(paths::electiveResultFile(dataFolder, nendo, grade, name));
        if (index.exists(path) && readFound(path, bytes, table)) {
            ReadReport report;
            format::parseElectiveResult(bytes, counter, report);
            tooNew = report.tooNew;
            if (report.truncated || report.badText)
                table.damaged.append(QFileInfo(path).fileName());
        }
        table.tooNew = table.tooNew || tooNew;
        QSet<int> seen;
        int registered = 0, entered = 0;
        for (int c = 1; c <= classCount; ++c) {
            int inClass = 0, enteredInClass = 0;
            for (int code : members) {
                if (code / 100 != c || seen.contains(code))
                    continue;
                seen.insert(code);
                ++inClass;
                enteredInClass += counter.entered.contains(code);
            }
            registered += inClass;
            entered += enteredInClass;
            row << QString::number(inClass) << (tooNew ? QString() : QString::number(enteredInClass));
        }
        row[1] = tooNew ? QString() : QString::number(entered) + u'/' + QString::number(registered);
        table.rows.append(row);
    }
    return table;
}

} // namespace inputstatus

} // namespace tavro
