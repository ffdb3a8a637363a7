#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "common/Cp932.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationInputStatus.h"
#include "support/CliRun.h"
#include "support/TestDoubles.h"
#include "testscores/InputStatus.h"
#include "testscores/TestAggregation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

namespace {

constexpr int kYear = 2024;

struct Demo {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    Demo() {
        QVERIFY(DemoSchool::write(folder, kYear));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, kYear, clock, nullptr));
    }
    QStringList test(const QString &code = QStringLiteral("A")) const {
        return {QStringLiteral("--data"),  folder,
                QStringLiteral("--year"),  QString::number(kYear),
                QStringLiteral("--grade"), QStringLiteral("1"),
                QStringLiteral("--test"),  code};
    }
    TestAggregation aggregation(const QString &code = QStringLiteral("A")) const {
        TestAggregation::Context c;
        c.nendo = kYear;
        c.grade = 1;
        c.testCode = code;
        const YearSettings y = YearSettings::load(folder, kYear);
        c.testName = code == u"A" ? y.testName[0] : y.gakuNameName[0];
        return TestAggregation::load(folder, c);
    }
};

} // namespace

class TestShukeiCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void clipTexts();
    void statsJson();
    void statusViews();
    void usageErrors();
};

void TestShukeiCommandsTest::clipTexts() {
    Demo d;
    const TestAggregation a = d.aggregation();
    const QString texts[] = {a.gridCopy(), a.viewpointCopy(), a.meansCopy()};
    const char *whats[] = {"test-grid", "test-viewpoints", "test-means"};
    for (int i = 0; i < 3; ++i) {
        const test::CliRun run = cli(QStringList{u"clip"_qs, QString::fromLatin1(whats[i])} + d.test());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, texts[i]);
        const test::CliRun sjis = cli(QStringList{u"clip"_qs, QString::fromLatin1(whats[i])} + d.test() +
                                      QStringList{u"--sjis"_qs});
        QCOMPARE(sjis.bytes, cp932::encodeLossy(texts[i]));
    }
    QVERIFY(texts[0].startsWith(u"1\t年\t1学期中間テスト\t\r\n組\t番\t"_qs));
    QCOMPARE(cli(QStringList{u"clip"_qs, u"test-means"_qs} + d.test(u"1"_qs)).out,
             d.aggregation(u"1"_qs).meansCopy());
}

void TestShukeiCommandsTest::statsJson() {
    Demo d;
    const TestAggregation a = d.aggregation();
    const test::CliRun run = cli(QStringList{u"stats"_qs} + d.test() + QStringList{u"--json"_qs});
    QCOMPARE(run.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.bytes).object();
    QCOMPARE(o[u"grade"_qs].toInt(), 1);
    QCOMPARE(o[u"testCode"_qs].toString(), u"A"_qs);
    QCOMPARE(o[u"testName"_qs].toString(), a.context().testName);
    QCOMPARE(o[u"classCount"_qs].toInt(), a.classCount());
    QCOMPARE(o[u"fullScores"_qs][u"国語"_qs].toArray().size(), 7);
    const QJsonArray series = o[u"series"_qs].toArray();
    QCOMPARE(series.size(), 14);
    for (int i = 0; i < 14; ++i) {
        const QJsonObject s = series[i].toObject();
        const SeriesStatistics &st = a.statistics(i);
        QCOMPARE(s[u"name"_qs].toString(), shukei::seriesNames()[i]);
        QCOMPARE(s[u"count"_qs].toInt(), st.count);
        QCOMPARE(s[u"sum"_qs].toDouble(), double(st.sum));
        QCOMPARE(s[u"sumOfSquares"_qs].toDouble(), double(st.sumOfSquares));
        // Singles read back to the same single.
        QCOMPARE(float(s[u"mean"_qs].toDouble()), st.mean);
        QCOMPARE(float(s[u"sd"_qs].toDouble()), st.sd);
        const QJsonArray ranks = s[u"gradeRanks"_qs].toArray();
        QCOMPARE(ranks.size(), qsizetype(st.occurringScores().size()));
        for (const QJsonValue &p : ranks)
            QCOMPARE(p[1].toInt(), *st.gradeRankOf(p[0].toInt()));
        for (int k = 1; k < ranks.size(); ++k)
            QVERIFY(ranks[k][0].toInt() < ranks[k - 1][0].toInt());
        const QJsonArray ss = s[u"standardScores"_qs].toArray();
        QCOMPARE(ss.isEmpty(), !st.hasStandardScores());
        for (const QJsonValue &p : ss)
            QCOMPARE(p[1].toInt(), *st.standardScore(p[0].toInt()));
        const QJsonObject classRanks = s[u"classRanks"_qs].toObject();
        QCOMPARE(classRanks.size(), a.classCount());
        for (const QJsonValue &p : classRanks[u"2"_qs].toArray())
            QCOMPARE(p[1].toInt(), *st.classRankOf(2, p[0].toInt()));
        for (const QJsonValue &p : s[u"classMeans"_qs].toArray())
            QCOMPARE(float(p[1].toDouble()), *st.classMeans[std::size_t(p[0].toInt() - 1)]);
    }
    QVERIFY(series[0][u"count"_qs].toInt() > 0);
    QVERIFY(series[12][u"standardScores"_qs].toArray().isEmpty()); // no 保体 scores in the demo
}

void TestShukeiCommandsTest::statusViews() {
    Demo d;
    const QStringList base{u"--data"_qs,           d.folder,      u"--year"_qs,
                           QString::number(kYear), u"--grade"_qs, u"1"_qs};
    auto rows = [](const test::CliRun &run) {
        QList<QStringList> list;
        for (const QJsonValue &row : QJsonDocument::fromJson(run.bytes).array())
            list.append(row.toVariant().toStringList());
        return list;
    };
    const test::CliRun tests =
        cli(QStringList{u"status"_qs, u"tests"_qs} + base + QStringList{u"--test"_qs, u"B"_qs, u"--json"_qs});
    QCOMPARE(tests.status, 0);
    QCOMPARE(rows(tests), inputstatus::tests(d.folder, kYear, 1, u"B"_qs, true).cells());
    const test::CliRun evaluations = cli(QStringList{u"status"_qs, u"evaluations"_qs} + base +
                                         QStringList{u"--period"_qs, u"1"_qs, u"--json"_qs});
    const QList<QStringList> evaluationRows = rows(evaluations);
    QCOMPARE(evaluationRows, inputstatus::evaluations(
                                 d.folder, kYear, 1, 1,
                                 QStringList{u"国語"_qs, u"社会"_qs, u"数学"_qs, u"理科"_qs, u"英語"_qs,
                                             u"音楽"_qs, u"美術"_qs, u"保体B"_qs, u"保体G"_qs, u"技家"_qs},
                                 true)
                                 .cells());
    QVERIFY(!evaluationRows[1][1].isEmpty()); // the demo's calculated 国語
    const test::CliRun electives = cli(QStringList{u"status"_qs, u"electives"_qs} + base +
                                       QStringList{u"--period"_qs, u"1"_qs, u"--json"_qs});
    QCOMPARE(rows(electives), inputstatus::electives(d.folder, kYear, 1, 1, true).cells());
}

void TestShukeiCommandsTest::usageErrors() {
    Demo d;
    QCOMPARE(cli(QStringList{u"clip"_qs, u"test-grid"_qs} + d.test(u"Z"_qs)).status, 1);
    QCOMPARE(cli({u"status"_qs, u"tests"_qs, u"--data"_qs, d.folder, u"--grade"_qs, u"1"_qs}).status, 2);
    QCOMPARE(cli({u"status"_qs, u"evaluations"_qs, u"--data"_qs, d.folder, u"--grade"_qs, u"1"_qs,
                  u"--period"_qs, u"6"_qs})
                 .status,
             2);
    QCOMPARE(cli({u"stats"_qs, u"--data"_qs, d.folder, u"--grade"_qs, u"7"_qs, u"--test"_qs, u"A"_qs}).status,
             2);
}

QTEST_GUILESS_MAIN(TestShukeiCommandsTest)
#include "TestShukeiCommandsTest.moc"
