#include "evaluation/Statistics.h"

#include "evaluation/ClassResultFile.h"
#include "evaluation/EarlierGrades.h"
#include "evaluation/EvaluationPaths.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {

const std::vector<int> kRows{0, 1, 2, 3};

// Item `item` of kind `kind` with the scores of rows 0..3.
void setItem(Worksheet &w, int item, int kind, int full, std::initializer_list<int> scores,
             const char *name = "") {
    w.item(item).kind = kind;
    w.item(item).fullScore = full;
    w.item(item).name = QString::fromUtf8(name);
    int slot = 0;
    for (int s : scores)
        w.score(item, slot++) = s;
}

} // namespace

class StatisticsTest : public QObject {
    Q_OBJECT

private slots:
    void standardScores() {
        Worksheet w;
        setItem(w, 1, itemkind::kRegular, 100, {40, 60, score::estimate(70), score::kNotSubmitted});
        setItem(w, 2, itemkind::kRegular, 100, {50, score::kAbsent, score::kEmpty, score::kEmpty});
        setItem(w, 3, itemkind::kNone, 100, {10, 20, 30, 40});
        setItem(w, 4, itemkind::kRegular, 100, {0, 100, 100, 100}); // M 75, S 43.3
        ItemStatistics st;
        st.compute(w, kRows);
        QCOMPARE(st.meanOf(1), 50.0);
        QCOMPARE(st.deviationOf(1), 10.0);
        QCOMPARE(st.standardScore(1, 0), 40.0f);
        QCOMPARE(st.standardScore(1, 1), 60.0f);
        QCOMPARE(st.standardScore(1, 2), -70.0f); // an estimate: negated
        QCOMPARE(st.standardScore(1, 3), -1.0f);
        QCOMPARE(st.meanOf(2), 0.0); // one real score only
        QCOMPARE(st.standardScore(2, 0), -1.0f);
        QCOMPARE(st.meanOf(3), 0.0); // kind 0 not computed
        QCOMPARE(st.standardScore(4, 0), 32.679493f);

        // One 0 among 29 full marks lies more than five deviations below the mean: limited to 0.
        std::vector<int> rows;
        for (int slot = 0; slot < 30; ++slot) {
            rows.push_back(slot);
            w.score(4, slot) = slot == 0 ? 0 : 100;
        }
        st.compute(w, rows);
        QCOMPARE(st.standardScore(4, 0), 0.0f);
        QCOMPARE(st.standardScore(4, 1), 50.0f + float((100 - st.meanOf(4)) * 10 / st.deviationOf(4)));
    }

    void estimateFromAllItems() {
        Worksheet w;
        setItem(w, 1, itemkind::kRegular, 100, {40, 60, 50, 50});                  // M 50, S 7.07
        setItem(w, 2, itemkind::kPeriodicTest, 100, {score::kAbsent, 80, 60, 70}); // M 70, S 8.16
        setItem(w, 3, itemkind::kRegular, 100,
                {score::kAbsent, 5, score::kEmpty, score::kEmpty}); // one score
        setItem(w, 4, itemkind::kAggregate, 0, {});
        w.item(4).formula = QStringLiteral("1,2,3");
        ItemStatistics st;
        const std::vector<int> changed = estimate::run(w, kRows, estimate::Method::AllItems, st);
        QCOMPARE(changed, std::vector<int>({0}));
        // Row 0: Z of item 1 = (40 - 50) * 10 / 7.07 + 50 = 35.86; item 2 gets
        // (35.86 - 50) * 8.16 / 10 + 70 = 58.45 -> 58.
        QCOMPARE(w.score(2, 0), score::estimate(58));
        QCOMPARE(w.score(3, 0), score::estimate(0));  // fewer than two real scores: estimate 0
        QCOMPARE(w.score(4, 0), score::estimate(98)); // aggregate recomputed
        QVERIFY(st.standardScore(2, 0) < 0);          // statistics computed again

        // A row whose other items have no standard score keeps its "*".
        Worksheet lone;
        setItem(lone, 1, itemkind::kRegular, 100, {score::kAbsent, 60, 50, 50});
        QVERIFY(estimate::run(lone, kRows, estimate::Method::AllItems, st).empty());
        QCOMPARE(lone.score(1, 0), score::kAbsent);
    }

    void estimateByViewpoint() {
        Worksheet w;
        setItem(w, 1, itemkind::kPeriodicTest, 100, {70, 50, 30, 50}, "前期①");             // row 0: Z 64.1
        setItem(w, 2, itemkind::kPeriodicTest, 100, {30, 50, 70, 50}, "前期②");             // row 0: Z 35.9
        setItem(w, 3, itemkind::kPeriodicTest, 100, {score::kAbsent, 40, 60, 50}, "後期①"); // M 50, S 8.16
        setItem(w, 4, itemkind::kRegular, 50, {score::kAbsent, 20, 30, 40});                // M 30, S 8.16
        setItem(w, 5, itemkind::kAchievementTest, 100, {score::kAbsent, 1, 1, 1});          // S 0
        ItemStatistics st;
        st.compute(w, kRows);
        estimate::fill(w, st, kRows, estimate::Method::ByViewpoint);
        // Item 3 uses the mean of viewpoint ① (64.14): (14.14) * 8.165 / 10 + 50 = 61.55 -> 62.
        QCOMPARE(w.score(3, 0), score::estimate(62));
        // Item 4 (regular) has no regular item to go by: the mean of all (50): its own mean.
        QCOMPARE(w.score(4, 0), score::estimate(30));
        // Item 5: kind 4 has none either; all items give 50, S 0: the mean 1.
        QCOMPARE(w.score(5, 0), score::estimate(1));
        QCOMPARE(estimate::methodOf(0), estimate::Method::AllItems);
        QCOMPARE(estimate::methodOf(1), estimate::Method::ByViewpoint);
    }

    void earlierGrades() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/");
        for (int y : {2022, 2023})
            QVERIFY(QDir().mkpath(paths::hyouteiFolder(folder, y)));
        EvaluationResults r;
        r.at(1, 2, 5).evaluation = QStringLiteral("4");
        r.at(1, 2, 5).comment = QStringLiteral("よくできました");
        r.dateTime(1) = 45000;
        QVERIFY(
            ClassResultFile::save(paths::classResultFile(folder, 2023, 2, 2, QStringLiteral("国語")), r, 2));
        test::ScriptedPrompter prompter;
        EarlierGrades g = EarlierGrades::load(folder, 2024, 3, QStringLiteral("国語"), &prompter);
        QCOMPARE(g.count, 2);
        QCOMPARE(g.year(1)->at(1, 2, 5).evaluation, QStringLiteral("4"));
        QVERIFY(g.year(1)->at(1, 2, 5).comment.isEmpty());
        QCOMPARE(g.year(1)->dateTime(1), 0.0);
        QVERIFY(g.year(3) == nullptr);
        QVERIFY(prompter.shown().isEmpty());
        QCOMPARE(EarlierGrades::load(folder, 2024, 1, QStringLiteral("国語"), &prompter).count, 0);

        // A file too new stops the loading with the message.
        QFile f(paths::classResultFile(folder, 2022, 1, 1, QStringLiteral("国語")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("TAVRO_600\r\n", 11) + QByteArray(1, '\0'));
        f.close();
        g = EarlierGrades::load(folder, 2024, 3, QStringLiteral("国語"), &prompter);
        QVERIFY(g.refused);
        QCOMPARE(prompter.texts().size(), 1);
        QVERIFY(prompter.texts().first().startsWith(QStringLiteral("ファイルの読み込みができません。")));
    }
};

QTEST_GUILESS_MAIN(StatisticsTest)
#include "StatisticsTest.moc"
