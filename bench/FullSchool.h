#pragma once

// A data folder with one full worksheet: grade 1 of 9 classes × 60 students, 999 items (100 of them
// aggregate, half list form, half expression form, each over ten lower items), every score set, ratios
// on every viewpoint of five named periods, and the results of period 1 calculated.
#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/Formula.h"
#include "evaluation/WorksheetFile.h"
#include "exchange/ResultCopies.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace tavro::bench {

class SilentPrompter final : public Prompter {
public:
    Answer ask(const QString &, const QString &, Buttons, Answer defaultAnswer, Icon) override {
        return defaultAnswer == Answer::No ? Answer::Yes : defaultAnswer;
    }
};

class ConstantClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 7, 19), QTime(15, 0)); }
};

struct FullSchool {
    static constexpr int kYear = 2024;
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    const QString teacher = QStringLiteral("評価太郎");
    const QString subject = QStringLiteral("国語");

    FullSchool() {
        YearSettings y;
        y.classCount = {9, 0, 0, 0, 0, 0};
        for (int k = 0; k < 5; ++k) {
            y.hyouteiName[std::size_t(k)] = QStringLiteral("%1学期").arg(k + 1);
            y.hyoutei[std::size_t(k)] = true;
        }
        y.patterns[0].kigou = {QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                               QStringLiteral("2"), QStringLiteral("1")};
        y.patterns[0].cutPoint = {80, 65, 50, 30, 0, 0, 0, 0, 0};
        y.patterns[1].kigou = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        y.patterns[1].cutPoint = {80, 50, 0, 0, 0, 0, 0, 0, 0};
        y.hissu.hyouteiPatern.fill(1);
        y.hissu.kantenPatern.fill(2);
        y.save(folder, kYear);
        std::vector<RosterEntry> roster(std::size_t(9 * kSeatsPerClass));
        for (std::size_t i = 0; i < roster.size(); ++i) {
            roster[i].name = QStringLiteral("生徒%1").arg(i + 1);
            roster[i].furigana = QStringLiteral("せいと");
        }
        roster::write(paths::rosterFile(folder, kYear, 1), roster, true);

        auto w = std::make_unique<Worksheet>();
        QRandomGenerator rng(2024);
        std::vector<int> rows;
        for (int cls = 1; cls <= 9; ++cls)
            for (int n = 1; n <= kSeatsPerClass; ++n)
                rows.push_back(slotOf(cls, n));
        for (int item = 1; item <= kMaxItems; ++item) {
            WorksheetItem &it = w->item(item);
            it.fullScore = 100;
            it.name = QStringLiteral("項目%1").arg(item);
            const bool aggregate = item >= 11 && (item - 11) % 9 == 0 && item <= 11 + 9 * 99;
            it.kind = aggregate       ? itemkind::kAggregate
                      : item % 3 == 0 ? itemkind::kPeriodicTest
                                      : itemkind::kRegular;
            if (aggregate) {
                QStringList refs;
                QString expression = QStringLiteral("=(");
                for (int r = 1; r <= 10; ++r) {
                    refs.append(QString::number(item - r));
                    expression +=
                        QStringLiteral("[%1]%2").arg(item - r).arg(r < 10 ? QStringLiteral("+") : QString());
                }
                it.formula = ((item - 11) / 9) % 2 ? refs.join(u',') : expression + QStringLiteral(")/10");
                it.fullScore = 1000;
            }
            for (int k = 1; k <= kPeriods; ++k)
                for (int v = 1; v <= kViewpoints; ++v)
                    w->itemRatio(item, k, v) = 1 + (item + v) % 3;
            for (int slot : rows)
                w->score(item, slot) = int(rng.bounded(101));
        }
        for (int k = 1; k <= kPeriods; ++k)
            for (int v = 1; v <= kViewpoints; ++v)
                w->viewpointRatio(k, v) = v;
        formula::recalculateRows(*w, rows);
        WorksheetFile::save(paths::worksheetFile(folder, teacher, kYear, 1, subject), *w);

        EvaluationSession s(context());
        SilentPrompter prompter;
        s.load(prompter);
        ConstantClock clock;
        s.calculate(1, prompter, clock);
    }

    EvaluationContext context() const {
        EvaluationContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = subject;
        c.chargeClasses = QStringLiteral("123456789");
        c.teacherName = teacher;
        return c;
    }
};

// Resident memory of this process in MiB.
inline double residentMiB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024 * 1024) : 0;
}

// A block of 540 rows × 100 scores as a spreadsheet puts it on the clipboard: row r, item c holds
// (r * rowStep + c * itemStep) % modulus.
inline QString scoreBlockText(int rowStep, int itemStep, int modulus) {
    QList<QStringList> cells;
    for (int r = 0; r < 540; ++r) {
        QStringList line;
        for (int c = 0; c < 100; ++c)
            line.append(QString::number((r * rowStep + c * itemStep) % modulus));
        cells.append(line);
    }
    return exchange::rangeText(cells);
}

} // namespace tavro::bench
