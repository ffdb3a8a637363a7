#include "testscores/TestAggregation.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::shukei;

namespace {

using Pairs = QList<QPair<int, int>>;

TestAggregation makeGrade(int classCount) {
    TestAggregation::Context context;
    context.nendo = 2024;
    context.grade = 2;
    context.testCode = QStringLiteral("A");
    context.testName = QStringLiteral("前期中間テスト");
    return TestAggregation(context, classCount);
}

// Puts the totals into subject 国語 of class 1, numbers 1.., and computes.
TestAggregation withTotals(const QList<int> &totals) {
    const int classes = int((totals.size() + 59) / 60);
    TestAggregation a = makeGrade(qMax(1, classes));
    for (int i = 0; i < totals.size(); ++i)
        a.scores[0][std::size_t(i / 60)].student(i % 60 + 1)[0] = totals[i];
    a.compute();
    return a;
}

} // namespace

class TestAggregationTest : public QObject {
    Q_OBJECT
private slots:
    void statistics_data();
    void statistics();
    void classRanksAndMeans();
    void fiveSubjectTotalAndCombinedSeries();
    void gridCells();
    void gridCopyLayout();
    void viewpointCopyLayout();
    void meansCopyAndSingles();
    void loadFromFolder();
};

void TestAggregationTest::statistics_data() {
    QTest::addColumn<QList<int>>("totals");
    QTest::addColumn<int>("count");
    QTest::addColumn<float>("mean");
    QTest::addColumn<float>("sd");
    QTest::addColumn<Pairs>("ranks");    // (score, grade rank)
    QTest::addColumn<Pairs>("standard"); // (score, SS); empty: none computed

    QTest::newRow("ties share a rank, the next skips")
        << QList<int>{90, 80, 80, 70} << 4 << 80.0f << float(std::sqrt(50.0))
        << Pairs{{90, 1}, {80, 2}, {70, 4}} << Pairs{{90, 64}, {80, 50}, {70, 36}, {0, -63}};
    QTest::newRow("mean gives 50, one deviation gives 60")
        << QList<int>{40, 60} << 2 << 50.0f << 10.0f << Pairs{{60, 1}, {40, 2}}
        << Pairs{{60, 60}, {40, 40}, {55, 55}};
    QTest::newRow("halves of standard scores go to even")
        << QList<int>{1, 9} << 2 << 5.0f << 4.0f << Pairs{{9, 1}, {1, 2}}
        << Pairs{{6, 52}, {4, 48}, {8, 58}, {2, 42}};
    QTest::newRow("one student: no standard scores")
        << QList<int>{73} << 1 << 73.0f << 0.0f << Pairs{{73, 1}} << Pairs{};
    QTest::newRow("blank, not taken and excluded are skipped")
        << QList<int>{-1, -2, -3, 50, 50} << 2 << 50.0f << 0.0f << Pairs{{50, 1}} << Pairs{};
    QList<int> nearlyEqual(151, 300);
    nearlyEqual << 301;
    QTest::newRow("variance below 0 from the single mean is 0")
        << nearlyEqual << 152 << float(45601.0 / 152) << 0.0f << Pairs{{301, 1}, {300, 2}} << Pairs{};
    QTest::newRow("totals above 500 are counted") << QList<int>{600, 400} << 2 << 500.0f << 100.0f
                                                  << Pairs{{600, 1}, {400, 2}} << Pairs{{600, 60}, {400, 40}};
}

void TestAggregationTest::statistics() {
    QFETCH(QList<int>, totals);
    QFETCH(int, count);
    QFETCH(float, mean);
    QFETCH(float, sd);
    QFETCH(Pairs, ranks);
    QFETCH(Pairs, standard);
    const TestAggregation a = withTotals(totals);
    const SeriesStatistics &st = a.statistics(subjectSeries(0));
    QCOMPARE(st.count, count);
    QCOMPARE(st.mean, mean);
    QCOMPARE(st.sd, sd);
    for (const auto &[score, rank] : ranks)
        QCOMPARE(st.gradeRankOf(score), std::optional<int>(rank));
    QCOMPARE(st.hasStandardScores(), !standard.isEmpty());
    for (const auto &[score, ss] : standard)
        QCOMPARE(st.standardScore(score), std::optional<int>(ss));
    if (standard.isEmpty())
        QCOMPARE(a.gridText(1 + totals.indexOf(ranks.first().first), 4), QString());
}

void TestAggregationTest::classRanksAndMeans() {
    TestAggregation a = makeGrade(2);
    const int class1[] = {90, 80, 80, 70};
    const int class2[] = {95, 60};
    for (int i = 0; i < 4; ++i)
        a.scores[1][0].student(i + 1)[0] = class1[i];
    for (int i = 0; i < 2; ++i)
        a.scores[1][1].student(i + 1)[0] = class2[i];
    a.scores[2][1].student(1)[0] = 0; // 数学: class 2 has a student, but a sum of 0 gets no bar
    a.compute();
    const SeriesStatistics &st = a.statistics(subjectSeries(1));
    QCOMPARE(st.gradeRankOf(95), std::optional<int>(1));
    QCOMPARE(st.gradeRankOf(80), std::optional<int>(3));
    QCOMPARE(st.gradeRankOf(60), std::optional<int>(6));
    QCOMPARE(st.classRankOf(1, 80), std::optional<int>(2));
    QCOMPARE(st.classRankOf(1, 70), std::optional<int>(4));
    QCOMPARE(st.classRankOf(2, 60), std::optional<int>(2));
    QCOMPARE(st.classRankOf(2, 80), std::nullopt);
    QCOMPARE(st.classMeans[0], std::optional<float>(80.0f));
    QCOMPARE(st.classMeans[1], std::optional<float>(77.5f));
    QCOMPARE(a.statistics(subjectSeries(2)).classMeans[1], std::nullopt);
    QCOMPARE(a.statistics(subjectSeries(2)).count, 1);
    QCOMPARE(st.occurringScores(), (std::vector<int>{95, 90, 80, 70, 60}));
}

void TestAggregationTest::fiveSubjectTotalAndCombinedSeries() {
    TestAggregation a = makeGrade(1);
    for (int s = 0; s < 5; ++s) {
        a.scores[std::size_t(s)][0].student(1)[0] = 60 + s;           // all five: total 310
        a.scores[std::size_t(s)][0].student(2)[0] = s == 4 ? -2 : 90; // 英語 not taken: no total
    }
    // Student 1: both halves, viewpoint 1 only in 保体B, viewpoint 2 in neither.
    a.scores[kHotaiB][0].student(1) = {30, 10, -1, 20, -1, -1, -1};
    a.scores[kHotaiG][0].student(1) = {25, -1, -1, 15, 10, -1, -1};
    // Student 2: 保体B 40 only; 技家I excluded, 技家H blank.
    a.scores[kHotaiB][0].student(2)[0] = 40;
    a.scores[kGikaI][0].student(2)[0] = testscore::kExcluded;
    a.compute();

    QCOMPARE(a.value(kTotalSeries, 1, 1), 310);
    QCOMPARE(a.value(kTotalSeries, 1, 2), -1);
    QCOMPARE(a.statistics(kTotalSeries).count, 1);
    const TestScoreRecord expected{55, 10, -1, 35, 10, -1, -1};
    for (int f = 0; f < kTestFields; ++f)
        QCOMPARE(a.value(kHotaiSeries, 1, 1, f), expected[std::size_t(f)]);
    QCOMPARE(a.value(kHotaiSeries, 1, 2), -1); // one half only: no combined record
    QCOMPARE(a.statistics(kHotaiSeries).count, 1);

    QCOMPARE(a.gridText(1, 13), QStringLiteral("310"));
    QCOMPARE(a.gridText(2, 13), QString());
    QCOMPARE(a.gridText(2, 14), QString());
    QCOMPARE(a.gridText(2, 23), QString());
    QCOMPARE(a.gridText(1, 23), QStringLiteral("1"));
    QCOMPARE(a.gridText(1, 19), QStringLiteral("55"));
    QCOMPARE(a.gridText(2, 19), QStringLiteral("40"));
    QCOMPARE(a.gridText(2, 21), QStringLiteral("*"));
    QCOMPARE(a.gridText(2, 22), QString());
    QCOMPARE(a.gridText(2, 11), QStringLiteral("-"));
}

void TestAggregationTest::gridCells() {
    // The 保体 SS comes from the series the score was taken from.
    TestAggregation a = makeGrade(1);
    a.scores[kHotaiB][0].student(1)[0] = 40;
    a.scores[kHotaiB][0].student(2)[0] = 60;
    a.scores[kHotaiB][0].student(3)[0] = 50;
    a.scores[kHotaiG][0].student(3)[0] = 50;
    a.scores[kHotaiB][0].student(4)[0] = 30;
    a.scores[kHotaiG][0].student(4)[0] = 40;
    a.compute();
    QCOMPARE(a.gridText(1, 19), QStringLiteral("40"));
    QCOMPARE(a.gridText(1, 20), QString::number(*a.statistics(subjectSeries(kHotaiB)).standardScore(40)));
    QCOMPARE(a.gridText(3, 20), QStringLiteral("60")); // combined 100 and 70: mean 85, sd 15
    QCOMPARE(a.gridText(4, 20), QStringLiteral("40"));
    QCOMPARE(a.gridText(0, 2), QStringLiteral("氏    名"));
    QCOMPARE(a.gridText(0, 23), QStringLiteral("年順"));
    QCOMPARE(a.gridText(60, 0), QStringLiteral(" 1"));
    QCOMPARE(a.gridText(60, 1), QStringLiteral(" 60"));
    QCOMPARE(a.gridRows(), 61);
    QVERIFY(TestAggregation::isStandardScoreColumn(22));
    QVERIFY(!TestAggregation::isStandardScoreColumn(23));
    QCOMPARE(makeGrade(0).gridRows(), 1);
}

void TestAggregationTest::gridCopyLayout() {
    TestAggregation a = makeGrade(2);
    a.names[60] = QStringLiteral("＊転出 太郎");
    a.scores[0][1].student(1)[0] = 77;
    a.compute();
    const QStringList lines = a.gridCopy().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 1 + 121 + 1); // title, header, 120 students, the empty rest after the last CR LF
    QCOMPARE(lines[0], QStringLiteral("2\t年\t前期中間テスト\t"));
    QCOMPARE(lines[1],
             QStringLiteral("組\t番\t氏    名\t国語\tSS\t社会\tSS\t数学\tSS\t理科\tSS\t英語\tSS\t合計\tSS\t"
                            "音楽\tSS\t美術\tSS\t保体\tSS\t技家\tSS\t年順\t級順\t\t\t\t"));
    QCOMPARE(lines[62], QStringLiteral(" 2\t 1\t＊転出 太郎\t77\t\t") + QString(23, u'\t'));
    QCOMPARE(lines[2].count(u'\t'), 28);
}

void TestAggregationTest::viewpointCopyLayout() {
    TestAggregation a = makeGrade(2);
    a.names[0] = QStringLiteral("青木 一郎");
    a.names[1] = QStringLiteral("＊"); // not listed
    a.names[60] = QStringLiteral("石田 花子");
    for (int s = 0; s < kSubjects; ++s)
        a.fullScores[std::size_t(s)].values = {100, 40, 30, 30, 0, 0, 0};
    for (int s = 0; s < 5; ++s)
        a.scores[std::size_t(s)][0].student(1) = {81, 35, 21, 25, -1, -1, -1};
    a.scores[kOngaku][0].student(1) = {-3, -3, -3, -3, -1, -1, -1};
    a.scores[kHotaiB][0].student(1) = {50, 20, 15, 15, -1, -1, -1};
    a.scores[kHotaiG][0].student(1) = {45, 20, -1, 25, -1, -1, -1};
    a.compute();
    const QStringList lines = a.viewpointCopy().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 2 + 4 * 2 + 1);
    const QString six = QString(5, u'\t');
    QCOMPARE(lines[0], QStringLiteral("\t国語\t") + six + QStringLiteral("社会\t") + six +
                           QStringLiteral("数学\t") + six + QStringLiteral("理科\t") + six +
                           QStringLiteral("英語\t") + six + QStringLiteral("合計\t音楽\t") + six +
                           QStringLiteral("保体\t") + six + QStringLiteral("技家\t") + six);
    const QString labels = QStringLiteral("合計\t観点①\t観点②\t観点③\t観点④\t観点⑤\t");
    QCOMPARE(lines[1], u'\t' + labels.repeated(5) + QStringLiteral("合計\t") + labels.repeated(3));
    const QString mainScores = QStringLiteral("81\t35\t21\t25\t*\t*\t");
    QCOMPARE(lines[2], QStringLiteral("前期中間テスト得点\t") + mainScores.repeated(5) +
                           QStringLiteral("405\t") +
                           QStringLiteral("*\t*\t*\t*\t*\t*\t95\t40\t15\t40\t*\t*\t*\t*\t*\t*\t*\t*\t"));
    const QString full = QStringLiteral("100\t40\t30\t30\t*\t*\t");
    QCOMPARE(lines[3], QStringLiteral("2年1組1番満点\t") + full.repeated(5) + QStringLiteral("500\t") + full +
                           QStringLiteral("200\t80\t60\t60\t*\t*\t") +
                           QStringLiteral("200\t80\t60\t60\t*\t*\t"));
    const QString reached = QStringLiteral("81\t88\t70\t83\t\t\t");
    QCOMPARE(lines[4], QStringLiteral("青木 一郎到達\t") + reached.repeated(5) + QStringLiteral("81\t") +
                           QStringLiteral("\t\t\t\t\t\t48\t50\t25\t67\t\t\t") + QString(6, u'\t'));
    const QString overall = QStringLiteral("81\t\t\t\t\t\t");
    QCOMPARE(lines[5], QStringLiteral(" 総合\t") + overall.repeated(4) +
                           QStringLiteral("81\t\t\t\t\t=\t405\t") +
                           QStringLiteral("*\t\t\t\t\t\t95\t\t\t\t\t\t*\t\t\t\t\t\t"));
    QVERIFY(lines[6].startsWith(QStringLiteral("前期中間テスト得点\t*\t")));
    QVERIFY(lines[7].startsWith(QStringLiteral("2年2組1番満点\t")));
    QVERIFY(lines[8].startsWith(QStringLiteral("石田 花子到達\t")));
}

void TestAggregationTest::meansCopyAndSingles() {
    TestAggregation a = makeGrade(1);
    a.scores[0][0].student(1)[0] = 70;
    a.scores[0][0].student(2)[0] = 71;
    a.scores[0][0].student(3)[0] = 71; // 70.666664 as a single
    a.scores[kHotaiB][0].student(1)[0] = 40;
    a.compute();
    QCOMPARE(a.meansCopy(),
             QStringLiteral("国語\t社会\t数学\t理科\t英語\t合計\t音楽\t保体B\t保体G\t技家\t\r\n"
                            "70.666664\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t"
                            "0.000000\t40.000000\t0.000000\t0.000000\t\r\n"));
    // The exact binary value is rounded, an exact tie away from zero.
    QCOMPARE(formatSingle("%3.2f", 0.125f), QStringLiteral("0.13"));
    QCOMPARE(formatSingle("%3.2f", 0.375f), QStringLiteral("0.38"));
    QCOMPARE(formatSingle("%4.1f", 72.45f), QStringLiteral("72.4")); // the single is 72.4499969...
    QCOMPARE(formatSingle("%4.1f", 72.25f), QStringLiteral("72.3"));
}

void TestAggregationTest::loadFromFolder() {
    QTemporaryDir dir;
    const QString data = dir.path() + u'/';
    YearSettings settings;
    settings.classCount[1] = 13; // more than 12 classes are taken as 12
    settings.marume = 1;
    QVERIFY(settings.save(data, 2024));
    std::vector<RosterEntry> roster(61);
    roster[0].name = QStringLiteral("青木 一郎");
    roster[60].name = QStringLiteral("石田 花子");
    QVERIFY(roster::write(paths::rosterFile(data, 2024, 2), roster, true));

    FullScores full;
    full.values = {100, 50, 50, 0, 0, 0, 0};
    QVERIFY(TestScoreFile::writeFullScores(paths::fullScoreFile(data, 2024, u"A"_qs, 2, u"国語"_qs), full));
    ClassScores scores;
    scores.student(1)[0] = 88;
    QVERIFY(TestScoreFile::writeClassScores(paths::classScoreFile(data, 2024, u"A"_qs, 2, 1, u"国語"_qs),
                                            scores));
    scores.student(1)[0] = 66;
    QVERIFY(TestScoreFile::writeClassScores(paths::classScoreFile(data, 2024, u"A"_qs, 2, 12, u"国語"_qs),
                                            scores));
    // A truncated file: the first student is read, the rest stay blank.
    QByteArray bytes = TestScoreFile::serializeClassScores(scores);
    bytes.truncate(100);
    QVERIFY(saveFileAtomically(paths::classScoreFile(data, 2024, u"A"_qs, 2, 2, u"数学"_qs), bytes));
    // The folder spelled in another case is found.
    QVERIFY(QDir(data + u"2024"_qs).rename(u"Test"_qs, u"TEST"_qs));

    TestAggregation::Context context;
    context.nendo = 2024;
    context.grade = 2;
    context.testCode = QStringLiteral("A");
    context.testName = QStringLiteral("前期中間テスト");
    const TestAggregation a = TestAggregation::load(data, context);
    QCOMPARE(a.classCount(), 12);
    QCOMPARE(a.marume(), 1);
    QCOMPARE(a.name(2, 1), QStringLiteral("石田 花子"));
    QCOMPARE(a.fullScores[0].values[1], 50);
    QCOMPARE(a.record(0, 1, 1)[0], 88);
    QCOMPARE(a.record(0, 12, 1)[0], 66);
    QCOMPARE(a.record(2, 2, 1)[0], 66);
    QCOMPARE(a.statistics(subjectSeries(0)).count, 2);
    QCOMPARE(a.damagedFiles(), QStringList{u"A202数学.dat"_qs});
    QVERIFY(a.damagedFilesMessage().endsWith(u"\r\nA202数学.dat"_qs));
    QVERIFY(a.fullScoreLabel().startsWith(u"【満点】国語 100点 社会 0点 "_qs));
    QVERIFY(a.fullScoreLabel().contains(u"\n  音楽 0点 "_qs));
}

QTEST_GUILESS_MAIN(TestAggregationTest)
#include "TestAggregationTest.moc"
