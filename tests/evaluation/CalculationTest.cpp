#include "evaluation/Calculation.h"

#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "support/TestDoubles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tavro;
using namespace tavro::calculation;
using Answer = Prompter::Answer;

namespace {

// Patterns: 1 = evaluation "5".."1" at 80/65/50/30; 2 = marks "A","B","C" at 80/50.
YearSettings settings() {
    YearSettings s;
    s.patterns[0].kigou = {QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"),
                           QStringLiteral("1")};
    s.patterns[0].cutPoint = {80, 65, 50, 30, 0, 0, 0, 0, 0};
    s.patterns[1].kigou = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    s.patterns[1].cutPoint = {80, 50, 0, 0, 0, 0, 0, 0, 0};
    for (auto *p : {&s.hissu, &s.sentaku}) {
        p->hyouteiPatern.fill(1);
        p->kantenPatern.fill(2);
    }
    return s;
}

// One class of three students with a worksheet of two items in viewpoint 1 of period 1.
struct Fixture {
    Worksheet w;
    EvaluationResults results;
    YearSettings year = settings();
    std::unique_ptr<EvaluationSheet> sheet;
    test::ScriptedPrompter prompter;
    test::FixedClock clock;

    Fixture() {
        sheet = std::make_unique<EvaluationSheet>(EvaluationSheet{w, results, year, false, {}, {}});
        sheet->names.assign(kSlots, QString());
        for (int n = 1; n <= 3; ++n) {
            sheet->rows.push_back(slotOf(1, n));
            sheet->names[std::size_t(slotOf(1, n))] = QStringLiteral("生徒%1").arg(n);
        }
        w.item(1).fullScore = 50;
        w.item(2).fullScore = 100;
        w.itemRatio(1, 1, 1) = 1;
        w.itemRatio(2, 1, 1) = 1;
        w.viewpointRatio(1, 1) = 1;
        setRow(1, 40, 50);
        setRow(2, 50, 100);
        setRow(3, 10, 20);
    }
    void setRow(int n, int a, int b) {
        w.score(1, 1, n) = a;
        w.score(2, 1, n) = b;
    }
    const StudentResult &result(int n, int k = 1) const { return results.at(k, 1, n); }
    Report run(int k = 1) { return calculate(*sheet, k, prompter, clock, nullptr); }
};

} // namespace

class CalculationTest : public QObject {
    Q_OBJECT

private slots:
    void phaseOneWeightsAndCaps() {
        Fixture f;
        QCOMPARE(f.run().outcome, Outcome::Calculated);
        QCOMPARE(f.result(1).viewpointPercentages[0], 65.0f); // (40/50 + 50/100) * 100 / 2
        QCOMPARE(f.result(1).marks[0], QStringLiteral("B"));
        QCOMPARE(f.result(1).percentage, 65.0f);
        QCOMPARE(f.result(1).evaluation, QStringLiteral("4"));
        QCOMPARE(f.result(2).viewpointPercentages[0], 100.0f);
        QCOMPARE(f.result(2).evaluation, QStringLiteral("5"));
        QCOMPARE(f.result(1).viewpointPercentages[1], kNoPercentage); // no weighted item
        QVERIFY(f.prompter.shown().isEmpty());
        QCOMPARE(f.results.dateTime(1), toDayCount(f.clock.now()));

        // A score above the full score counts as the full score once the warning is confirmed.
        f.results.dateTime(1) = 0;
        f.setRow(3, 60, 120);
        f.prompter.script({Answer::Ok});
        QCOMPARE(f.run().outcome, Outcome::Calculated);
        QCOMPARE(f.prompter.texts().last(), aboveFullScoreText());
        QCOMPARE(f.result(3).viewpointPercentages[0], 100.0f);
    }

    void specialCodes() {
        Fixture f;
        f.setRow(1, score::estimate(35), score::kNotSubmitted); // *35 counts 35, "/" counts 0
        f.setRow(2, score::kEmpty, 100);                        // empty counts 0 with full weight
        f.setRow(3, 10, 20);
        f.w.score(7, 1, 3) = score::kTransferred; // an item without ratio still removes the row
        QCOMPARE(f.run().outcome, Outcome::Calculated);
        QCOMPARE(f.result(1).viewpointPercentages[0], 35.0f);
        QCOMPARE(f.result(2).viewpointPercentages[0], 50.0f);
        QCOMPARE(f.result(3).viewpointPercentages[0], kNoPercentage);
        QVERIFY(f.result(3).evaluation.isEmpty());
    }

    void excludedAndEmptyRowsGetNothing() {
        Fixture f;
        f.sheet->names[std::size_t(slotOf(1, 1))] = QStringLiteral("＊転出生");
        f.results.at(1, 1, 1).evaluation = QStringLiteral("3"); // stale
        f.setRow(2, score::kEmpty, score::kEmpty);
        f.w.item(2).fullScore = 100;
        QCOMPARE(f.run().outcome, Outcome::Calculated);
        QVERIFY(f.result(1).evaluation.isEmpty());
        QCOMPARE(f.result(1).viewpointPercentages[0], kNoPercentage);
        QCOMPARE(f.result(2).viewpointPercentages[0], kNoPercentage); // no score at all
        QCOMPARE(f.result(2).percentage, kNoPercentage);
    }

    void checksStopWithUntouchedResults() {
        auto expectStop = [](Fixture &f, const QString &text) {
            f.results.at(1, 1, 1).evaluation = QStringLiteral("old");
            const double stamp = f.results.dateTime(1);
            QCOMPARE(f.run().outcome, Outcome::Stopped);
            QCOMPARE(f.prompter.texts().last(), text);
            QCOMPARE(f.result(1).evaluation, QStringLiteral("old"));
            QCOMPARE(f.results.dateTime(1), stamp);
        };
        {
            Fixture f;
            f.results.dateTime(1) = 45000;
            expectStop(f, alreadyCalculatedText()); // default No
            QCOMPARE(f.prompter.shown().last().buttons, Prompter::Buttons::YesNo);
            QCOMPARE(f.prompter.shown().last().defaultAnswer, Answer::No);
            f.prompter.script({Answer::Yes});
            QCOMPARE(f.run().outcome, Outcome::Calculated);
        }
        {
            Fixture f;
            f.setRow(2, score::kAbsent, 3);
            expectStop(f, estimateRequiredText());
            QCOMPARE(f.prompter.shown().last().buttons, Prompter::Buttons::Ok);
        }
        {
            Fixture f;
            f.w.item(2).fullScore = 0;
            expectStop(f, fullScoreMissingText());
        }
        {
            Fixture f;
            f.setRow(2, 51, 3);
            expectStop(f, aboveFullScoreText()); // default Cancel
            QCOMPARE(f.prompter.shown().last().defaultAnswer, Answer::Cancel);
        }
        {
            Fixture f;
            f.w.viewpointRatio(1, 1) = 0;
            expectStop(f, viewpointRatioMissingText()); // Yes stops
            f.prompter.script({Answer::No});
            QCOMPARE(f.run().outcome, Outcome::Calculated);
            f.year.hissu.hyouteiPatern[0] = 6; // pattern K does not ask
            f.results.dateTime(1) = 0;
            f.prompter.clear();
            QCOMPARE(f.run().outcome, Outcome::Calculated);
            QVERIFY(f.prompter.shown().isEmpty());
        }
        {
            Fixture f;
            f.w.itemRatio(1, 1, 1) = 0;
            f.w.itemRatio(2, 1, 1) = 0;
            expectStop(f, itemRatioMissingText());
        }
    }

    void borderRoundBoundaries() {
        SymbolPattern p = settings().patterns[0];
        auto symbol = [&](float x, int round) { return symbolFor(p, borderRounded(x, round)); };
        QCOMPARE(symbol(79.5f, 0), QStringLiteral("4"));
        QCOMPARE(symbol(79.5f, 1), QStringLiteral("5"));
        QCOMPARE(symbol(79.49f, 1), QStringLiteral("4"));
        QCOMPARE(symbol(79.95f, 3), QStringLiteral("5"));
        QCOMPARE(symbol(79.94f, 3), QStringLiteral("4"));
        QCOMPARE(symbol(79.01f, 2), QStringLiteral("5"));
        QCOMPARE(symbol(79.0f, 2), QStringLiteral("4"));
        QCOMPARE(symbol(0.0f, 0), QStringLiteral("1"));
        QCOMPARE(symbol(80.0f, 0), QStringLiteral("5"));
    }

    void overallPercentageAndPatterns() {
        Fixture f;
        StudentResult &r = f.results.at(1, 1, 1);
        r.viewpointPercentages = {90, 60, 30, kNoPercentage, kNoPercentage, kNoPercentage};
        f.w.viewpointRatio(1, 1) = 2;
        f.w.viewpointRatio(1, 2) = 1;
        assign(*f.sheet, 1);
        QCOMPARE(r.percentage, 67.5f); // (180 + 60 + 30) / 4
        QCOMPARE(r.evaluation, QStringLiteral("4"));
        QCOMPARE(r.marks[0], QStringLiteral("A"));
        QCOMPARE(r.marks[2], QStringLiteral("C"));

        f.year.hissu.hyouteiPatern[0] = 0; // no evaluation pattern: marks only
        assign(*f.sheet, 1);
        QVERIFY(r.evaluation.isEmpty());
        QCOMPARE(r.percentage, kNoPercentage);
        QCOMPARE(r.marks[1], QStringLiteral("B"));

        f.year.hissu.kantenPatern[0] = 0; // no viewpoint pattern: stale marks are cleared
        assign(*f.sheet, 1);
        QVERIFY(r.marks[0].isEmpty() && r.marks[1].isEmpty());
        QCOMPARE(r.viewpointPercentages[0], 90.0f);
    }

    void patternK() {
        Fixture f;
        f.year.hissu.hyouteiPatern[0] = 6;
        f.w.viewpointRatio(1, 1) = 0;
        StudentResult &r = f.results.at(1, 1, 1);
        r.viewpointPercentages = {90, 85, 95, 60, kNoPercentage, kNoPercentage}; // A A A B
        assign(*f.sheet, 1);
        QCOMPARE(r.evaluation, QStringLiteral("5")); // 18 / 4 = 4.5 goes up
        QCOMPARE(r.percentage, 82.5f);
        f.year.kanHyouHenkan = 1;
        assign(*f.sheet, 1);
        QCOMPARE(r.evaluation, QStringLiteral("4")); // 45 div 10

        // Full-width marks count by their half-width first letter; other marks add nothing.
        f.year.patterns[1].kigou = {QStringLiteral("Ａ"), QStringLiteral("Ｂ"), QStringLiteral("Ｃ")};
        f.year.kanHyouHenkan = 0;
        assign(*f.sheet, 1);
        QCOMPARE(r.evaluation, QStringLiteral("5"));
        f.year.patterns[1].kigou = {QStringLiteral("◎"), QStringLiteral("○"), QStringLiteral("△")};
        assign(*f.sheet, 1);
        QVERIFY(r.evaluation.isEmpty());
        QCOMPARE(r.percentage, kNoPercentage);

        Fixture e;
        e.sheet->elective = true;
        e.year.sentaku.hyouteiPatern[0] = 6;
        e.year.hissu.hyouteiPatern[0] = 1;
        StudentResult &s = e.results.at(1, 1, 1);
        s.viewpointPercentages = {90, 60, kNoPercentage, kNoPercentage, kNoPercentage, kNoPercentage};
        e.w.viewpointRatio(1, 1) = 0;
        assign(*e.sheet, 1);
        QCOMPARE(s.evaluation, QStringLiteral("A")); // points 5, W 2: 2.5 goes up to 3
        e.year.kanHyouHenkan = 1;
        assign(*e.sheet, 1);
        QCOMPARE(s.evaluation, QStringLiteral("B")); // 25 div 10 = 2
    }

    void savesResultFiles() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("2024")));
        Fixture f;
        ResultTarget target{folder, 2024, 1, QStringLiteral("国語"), false, {1}, {}};
        QCOMPARE(calculate(*f.sheet, 1, f.prompter, f.clock, &target).outcome, Outcome::Calculated);
        EvaluationResults back;
        ClassResultFile::loadGrade(folder, 2024, 1, QStringLiteral("国語"), 1, {1}, back, nullptr);
        QCOMPARE(back.at(1, 1, 1).evaluation, QStringLiteral("4"));
        QCOMPARE(back.at(1, 1, 1).viewpointPercentages[0], 65.0f);
        QCOMPARE(back.dateTime(1), toDayCount(f.clock.now()));

        Fixture e;
        e.sheet->elective = true;
        ResultTarget electiveTarget{folder, 2024, 1, QStringLiteral("選択英語"), true, {}, e.sheet->rows};
        QCOMPARE(phase2(*e.sheet, 1, e.prompter, e.clock, &electiveTarget).outcome, Outcome::Calculated);
        QVERIFY(QFile::exists(paths::electiveResultFile(folder, 2024, 1, QStringLiteral("選択英語"))));

        ResultTarget bad{
            folder + QStringLiteral("missing/deeper/"), 2024, 1, QStringLiteral("国語"), false, {1}, {}};
        Fixture g;
        QCOMPARE(calculate(*g.sheet, 1, g.prompter, g.clock, &bad).outcome, Outcome::SaveFailed);
        QVERIFY(g.prompter.texts().last().startsWith(QStringLiteral("評定の保存ができませんでした。")));
    }

    // Random worksheets with every kind of code and ratio never crash the calculation.
    void randomWorksheets() {
        QRandomGenerator rng(77);
        for (int round = 0; round < 30; ++round) {
            Fixture f;
            for (int n = 4; n <= 60; ++n) {
                f.sheet->rows.push_back(slotOf(1, n));
                f.sheet->names[std::size_t(slotOf(1, n))] = n % 7 ? QStringLiteral("名") : QString();
            }
            for (int item = 1; item <= 40; ++item) {
                f.w.item(item).fullScore = int(rng.bounded(3)) == 0 ? 0 : int(rng.bounded(200));
                for (int v = 1; v <= kViewpoints; ++v)
                    f.w.itemRatio(item, 1, v) = int(rng.bounded(4)) - 1;
                for (int slot : f.sheet->rows) {
                    const int codes[] = {-1, -2, -3, -4, -1000, -1999, -7, 2147483647, -2147483647 - 1};
                    f.w.score(item, slot) =
                        rng.bounded(4) == 0 ? codes[rng.bounded(9)] : int(rng.bounded(250));
                }
            }
            for (int v = 1; v <= kViewpoints; ++v)
                f.w.viewpointRatio(1, v) = int(rng.bounded(5)) - 1;
            f.year.hissu.hyouteiPatern[0] = int(rng.bounded(7));
            f.year.hissu.kantenPatern[0] = int(rng.bounded(6));
            f.year.borderRound = int(rng.bounded(5));
            f.prompter.script({Answer::Ok, Answer::No, Answer::No});
            const Report r = f.run();
            Q_UNUSED(r);
            phase1(*f.sheet, 1);
            assign(*f.sheet, 1);
            for (int slot : f.sheet->rows)
                for (float p : f.results.at(1, slot).viewpointPercentages)
                    QVERIFY(p == kNoPercentage || (p >= 0 && p <= 100));
        }
    }
};

QTEST_GUILESS_MAIN(CalculationTest)
#include "CalculationTest.moc"
