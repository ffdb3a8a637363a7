#include "common/DataPaths.h"
#include "config/Electives.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "support/CliRun.h"

using namespace tavro;

namespace {

using Run = tavro::test::CliRun;
using tavro::test::cli;

const QString kSubject = QStringLiteral("国語");
const QString kTeacher = QStringLiteral("山田太郎");

// Class 1 of grade 1 in 2024: four students, the third moved away. Items: 1 and 2 regular marks
// (full 10), 3 the aggregate "=[1]*2+[2]" (full 30). Period 1: items 1 and 3 count for viewpoint 1,
// item 2 for viewpoint 2.
struct School {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");

    School() {
        YearSettings y;
        y.classCount[0] = 1;
        y.hyouteiName[0] = QStringLiteral("前期");
        y.patterns[0].kigou = {QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                               QStringLiteral("2"), QStringLiteral("1")};
        y.patterns[0].cutPoint = {80, 65, 50, 30, 0, 0, 0, 0, 0};
        y.patterns[1].kigou = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        y.patterns[1].cutPoint = {80, 50, 0, 0, 0, 0, 0, 0, 0};
        y.hissu.hyouteiPatern[0] = 1;
        y.hissu.kantenPatern[0] = 2;
        y.borderCheck = 2;
        y.compareKanten = true;
        QVERIFY(y.save(folder, 2024));
        std::vector<RosterEntry> roster(4);
        roster[0].name = QStringLiteral("青木一郎");
        roster[1].name = QStringLiteral("石田花子");
        roster[2].name = QStringLiteral("＊上野次郎");
        roster[3].name = QStringLiteral("江藤三郎");
        QVERIFY(roster::write(paths::rosterFile(folder, 2024, 1), roster, true));
    }
    QString worksheetPath() const { return paths::worksheetFile(folder, kTeacher, 2024, 1, kSubject); }
    void writeWorksheet(int lastScore) {
        Worksheet w;
        for (int i : {1, 2}) {
            w.item(i).kind = itemkind::kRegular;
            w.item(i).fullScore = 10;
        }
        w.item(3).kind = itemkind::kAggregate;
        w.item(3).formula = QStringLiteral("=[1]*2+[2]");
        w.item(3).fullScore = 30;
        w.itemRatio(1, 1, 1) = 1;
        w.itemRatio(3, 1, 1) = 1;
        w.itemRatio(2, 1, 2) = 1;
        w.viewpointRatio(1, 1) = 1;
        w.viewpointRatio(1, 2) = 1;
        const int scores[4][2] = {{8, 6},
                                  {score::estimate(5), score::kNotSubmitted},
                                  {score::kTransferred, score::kTransferred},
                                  {10, lastScore}};
        for (int n = 1; n <= 4; ++n)
            for (int i = 0; i < 2; ++i)
                w.score(i + 1, 1, n) = scores[n - 1][i];
        QVERIFY(WorksheetFile::save(worksheetPath(), w));
    }
    QStringList args(const char *command, int period = 0) const {
        QStringList a{QString::fromLatin1(command),
                      QStringLiteral("--data"),
                      folder,
                      QStringLiteral("--year"),
                      QStringLiteral("2024"),
                      QStringLiteral("--grade"),
                      QStringLiteral("1"),
                      QStringLiteral("--subject"),
                      kSubject,
                      QStringLiteral("--teacher"),
                      kTeacher};
        if (period)
            a << QStringLiteral("--period") << QString::number(period);
        return a;
    }
    QString resultPath() const { return paths::classResultFile(folder, 2024, 1, 1, kSubject); }
};

float expectedViewpoint1() {
    float sum = 0;
    sum = float(double(sum) + 8.0 / 10.0);
    sum = float(double(sum) + 22.0 / 30.0);
    return float(double(sum) * 100.0 / 2.0);
}

} // namespace

class EvaluationCliTest : public QObject {
    Q_OBJECT

private slots:
    void formulasCalcAndChecks() {
        School s;
        s.writeWorksheet(score::kAbsent);
        QCOMPARE(cli(s.args("formulas")).status, 0);
        Worksheet w;
        WorksheetFile::load(s.worksheetPath(), w, nullptr);
        QCOMPARE(w.score(3, 1, 1), 22);
        QCOMPARE(w.score(3, 1, 2), score::kNotSubmitted);
        QCOMPARE(w.score(3, 1, 3), score::kTransferred);
        QCOMPARE(w.score(3, 1, 4), score::estimate(20));

        // "*" stops the calculation; nothing is written.
        Run r = cli(s.args("calc", 1));
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(QStringLiteral("『要見込み点』が解消されていません。")));
        QVERIFY(!QFile::exists(s.resultPath()));

        s.writeWorksheet(10);
        QCOMPARE(cli(s.args("formulas")).status, 0);
        r = cli(s.args("calc", 1));
        QCOMPARE(r.status, 0);
        EvaluationResults results;
        ClassResultFile::loadGrade(s.folder, 2024, 1, kSubject, 1, {1}, results, nullptr);
        QCOMPARE(results.at(1, 1, 1).viewpointPercentages[0], expectedViewpoint1());
        QCOMPARE(results.at(1, 1, 1).viewpointPercentages[1], 60.0f);
        QCOMPARE(results.at(1, 1, 1).evaluation, QStringLiteral("4"));
        QCOMPARE(results.at(1, 1, 2).viewpointPercentages[0], 25.0f); // *5 counts 5, "/" counts 0
        QCOMPARE(results.at(1, 1, 2).evaluation, QStringLiteral("1"));
        QVERIFY(results.at(1, 1, 3).isEmpty());
        QCOMPARE(results.at(1, 1, 4).evaluation, QStringLiteral("5"));
        QVERIFY(results.dateTime(1) > 0);

        // Calculated already: the default answer is No.
        r = cli(s.args("calc", 1));
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(QStringLiteral("本当に評定計算を実行しますか?\n→ いいえ")));
        r = cli(s.args("calc", 1) << QStringLiteral("--answer") << QStringLiteral("yes"));
        QCOMPARE(r.status, 0);
        QVERIFY(r.err.contains(QStringLiteral("→ はい")));
        QCOMPARE(cli(s.args("calc", 1) << QStringLiteral("--answer") << QStringLiteral("maybe")).status, 2);

        r = cli(s.args("checks", 1) << QStringLiteral("--json"));
        QCOMPARE(r.status, 0);
        const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
        QCOMPARE(rows.size(), 60);
        const QJsonObject first = rows[0].toObject();
        QCOMPARE(first.value(QStringLiteral("class")).toInt(), 1);
        QCOMPARE(first.value(QStringLiteral("number")).toInt(), 1);
        QCOMPARE(first.value(QStringLiteral("evaluation")).toString(), QStringLiteral("4"));
        const QJsonArray p = first.value(QStringLiteral("percentages")).toArray();
        QCOMPARE(float(p[0].toDouble()), expectedViewpoint1());
        QCOMPARE(p[2].toDouble(), -1.0);
        QCOMPARE(first.value(QStringLiteral("marks")).toArray()[0].toString(), QStringLiteral("B"));
        QCOMPARE(float(first.value(QStringLiteral("achievement")).toDouble()),
                 float((double(expectedViewpoint1()) + 60.0) / 2.0));
        // Conversion B, B: (3 + 3) / 2 = 3 differs from "4".
        QCOMPARE(first.value(QStringLiteral("conversion")).toString(), QStringLiteral("3"));
        QCOMPARE(first.value(QStringLiteral("companion")).toString(), QStringLiteral("3"));
        const QJsonObject second = rows[1].toObject();
        QCOMPARE(second.value(QStringLiteral("evaluation")).toString(), QStringLiteral("1"));
        QCOMPARE(second.value(QStringLiteral("border")).toString(), QString());
        QCOMPARE(rows[2].toObject().value(QStringLiteral("achievement")).toDouble(), -1.0);
    }

    // An elective: the member list gives the rows, section "Sentaku" the patterns (here K, whose
    // elective variant gives letters), and the elective result file takes the results.
    void electiveWithPatternK() {
        School s;
        YearSettings y = YearSettings::load(s.folder, 2024);
        y.sentaku.hyouteiPatern[0] = 6;
        y.sentaku.kantenPatern[0] = 2;
        y.hissu.hyouteiPatern[0] = 1;
        QVERIFY(y.save(s.folder, 2024));
        const QString elective = QStringLiteral("選択英語");
        QVERIFY(
            memberlist::write(s.folder, 2024, 1, elective, {QStringLiteral("104"), QStringLiteral("101")}));
        Worksheet w;
        w.item(1).kind = itemkind::kRegular;
        w.item(1).fullScore = 10;
        w.itemRatio(1, 1, 1) = 1;
        w.itemRatio(1, 1, 2) = 1;
        w.score(1, 1, 1) = 9;  // A A: points 6, W 2: 3 -> "A"
        w.score(1, 1, 4) = 6;  // B B: 2 -> "B"
        w.score(1, 1, 2) = 10; // not a member
        QVERIFY(WorksheetFile::save(paths::worksheetFile(s.folder, kTeacher, 2024, 1, elective), w));
        QStringList args = s.args("calc", 1) << QStringLiteral("--elective");
        args[args.indexOf(kSubject)] = elective;
        const Run r = cli(args);
        QCOMPARE(r.status, 0);
        EvaluationResults results;
        ElectiveResultFile::load(paths::electiveResultFile(s.folder, 2024, 1, elective), results, nullptr);
        QCOMPARE(results.at(1, 1, 1).evaluation, QStringLiteral("A"));
        QCOMPARE(results.at(1, 1, 4).evaluation, QStringLiteral("B"));
        QCOMPARE(results.at(1, 1, 4).marks[1], QStringLiteral("B"));
        QVERIFY(results.at(1, 1, 2).evaluation.isEmpty());
        QVERIFY(results.dateTime(1) > 0);
    }

    // The demo calculates the first period of its worksheets.
    void demoHasResults() {
        QTemporaryDir dir;
        QCOMPARE(cli({QStringLiteral("demo"), dir.path(), QStringLiteral("--year"), QStringLiteral("2024")})
                     .status,
                 0);
        EvaluationResults results;
        const auto load = ClassResultFile::loadGrade(dir.path() + QStringLiteral("/"), 2024, 1, kSubject, 3,
                                                     {1, 2, 3}, results, nullptr);
        QCOMPARE(int(load.classesRead.size()), 3);
        QVERIFY(results.dateTime(1) > 0);
        int evaluated = 0;
        for (int slot = 0; slot < kSlots; ++slot)
            evaluated += results.at(1, slot).evaluation.isEmpty() ? 0 : 1;
        QVERIFY(evaluated > 60);
    }

    void estimateAndBadUsage() {
        School s;
        s.writeWorksheet(score::kAbsent);
        const Run r = cli(s.args("estimate"));
        QCOMPARE(r.status, 0);
        Worksheet w;
        WorksheetFile::load(s.worksheetPath(), w, nullptr);
        QVERIFY(score::isEstimate(w.score(2, 1, 4)));
        QVERIFY(score::isEstimate(w.score(3, 1, 4))); // the aggregate follows
        QCOMPARE(cli(s.args("calc")).status, 2);      // no period
        QCOMPARE(cli(s.args("calc", 1) << QStringLiteral("--classes") << QStringLiteral("2")).status, 1);
        QStringList bad = s.args("formulas");
        bad[bad.indexOf(kTeacher)] = QStringLiteral("../x");
        QCOMPARE(cli(bad).status, 1);
    }
};

QTEST_GUILESS_MAIN(EvaluationCliTest)
#include "EvaluationCliTest.moc"
