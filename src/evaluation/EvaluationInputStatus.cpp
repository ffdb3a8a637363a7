#include "evaluation/EvaluationInputStatus.h"

#include "common/DataPaths.h"
#include "common/FolderIndex.h"
#include "config/Electives.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "testscores/TestAggregation.h"

#include <QFileInfo>
#include <QSet>

namespace tavro {

namespace {

using inputstatus::kHalf;

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

namespace inputstatus {

InputStatusTable evaluations(const QString &dataFolder, int nendo, int grade, int kind,
                             const QStringList &subjects, bool classType) {
    const int classCount = classCountOf(dataFolder, nendo, grade);
    InputStatusTable table = blankTable(subjects, classCount, classType);

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
