#include "evaluation/Checks.h"

#include <QTest>
#include <memory>

using namespace tavro;
using namespace tavro::checks;

namespace {

struct Fixture {
    Worksheet w;
    EvaluationResults results;
    YearSettings year;
    std::unique_ptr<EvaluationSheet> sheet;
    CheckSymbols symbols;

    Fixture() {
        // Pattern 1: "5".."1" at 80/65/50/30; pattern 2: "A" "B" "C" at 80/50.
        year.patterns[0].kigou = {QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                                  QStringLiteral("2"), QStringLiteral("1")};
        year.patterns[0].cutPoint = {80, 65, 50, 30, 0, 0, 0, 0, 0};
        year.patterns[1].kigou = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        year.patterns[1].cutPoint = {80, 50, 0, 0, 0, 0, 0, 0, 0};
        year.hissu.hyouteiPatern.fill(1);
        year.hissu.kantenPatern.fill(2);
        sheet = std::make_unique<EvaluationSheet>(EvaluationSheet{w, results, year, false, {0, 1, 60}, {}});
        sheet->names.assign(kSlots, QStringLiteral("名"));
    }
    StudentResult &r(int k, int slot = 0) { return results.at(k, slot); }
    void marks(int k, int slot, std::initializer_list<const char *> list) {
        int v = 0;
        for (const char *m : list) {
            r(k, slot).marks[std::size_t(v)] = QString::fromUtf8(m);
            r(k, slot).viewpointPercentages[std::size_t(v)] = 50;
            ++v;
        }
    }
};

} // namespace

class ChecksTest : public QObject {
    Q_OBJECT

private slots:
    void changeSymbols() {
        const struct {
            const char *first, *second, *symbol;
        } cases[] = {{"3", "5", "▲"}, {"3", "4", "△"}, {"3", "3", ""}, {"4", "3", "▽"},
                     {"5", "3", "▼"}, {"", "3", ""},   {"3", "", ""},  {"x", "3", ""}};
        for (const auto &c : cases) {
            Fixture f;
            f.year.hissu.hikaku[1] = 1;
            f.r(1).evaluation = QString::fromUtf8(c.first);
            f.r(2).evaluation = QString::fromUtf8(c.second);
            f.symbols.refresh(*f.sheet);
            QCOMPARE(f.symbols.at(2, 0).change, QString::fromUtf8(c.symbol));
            QCOMPARE(f.symbols.companion(2, 0), QString::fromUtf8(c.symbol));
            QVERIFY(f.symbols.at(3, 0).change.isEmpty()); // no comparison for period 3
        }
    }

    void yearEndConsistency() {
        Fixture f;
        f.year.consistency = true;
        f.year.consistencyItem = {4, 1, 2, 0};
        f.w.viewpointRatio(4, 1) = 1;
        f.w.viewpointRatio(4, 2) = 1;
        for (int slot : {0, 1, 60}) {
            f.r(1, slot).evaluation = QStringLiteral("4"); // index 2
            f.r(2, slot).evaluation = QStringLiteral("3"); // index 3
            f.marks(1, slot, {"A", "B"});
            f.marks(2, slot, {"B", "B"});
        }
        f.r(4, 0).evaluation = QStringLiteral("4"); // |5 - 4| = 1: consistent
        f.marks(4, 0, {"A", "B"});
        f.r(4, 1).evaluation = QStringLiteral("5"); // |5 - 2| = 3: "★"
        f.marks(4, 1, {"C", "B"});                  // C outside A..B in viewpoint 1
        f.r(4, 60).evaluation = QStringLiteral("3");
        f.marks(4, 60, {"B", "C", "C"}); // viewpoint 3 has no ratio
        f.symbols.refresh(*f.sheet);
        QVERIFY(f.symbols.at(4, 0).consistency.isEmpty());
        QCOMPARE(f.symbols.at(4, 1).consistency, QStringLiteral("★"));
        QCOMPARE(f.symbols.at(4, 1).consistencyDetail, QStringLiteral("★☆①"));
        QCOMPARE(f.symbols.at(4, 60).consistency, QStringLiteral("☆"));
        QCOMPARE(f.symbols.at(4, 60).consistencyDetail, QStringLiteral("☆②"));
        QCOMPARE(f.symbols.companion(4, 60), QStringLiteral("☆"));
        QCOMPARE(f.symbols.yearEndPeriod(), 4);

        f.r(4, 0).evaluation = QStringLiteral("2"); // index 4: |5 - 8| = 3
        f.symbols.refresh(*f.sheet);
        QCOMPARE(f.symbols.at(4, 0).consistency, QStringLiteral("★"));

        // Without targets there is no check (not a "★" for everyone).
        f.year.consistencyItem = {4, 0, 0, 0};
        f.symbols.refresh(*f.sheet);
        QVERIFY(f.symbols.at(4, 0).consistency.isEmpty());
        QCOMPARE(f.symbols.yearEndPeriod(), 0);
    }

    void borderSymbols() {
        Fixture f;
        f.year.borderCheck = 2;
        f.year.patterns[0].kigou = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
        f.year.patterns[0].cutPoint = {80, 50, 0, 0, 0, 0, 0, 0, 0};
        const struct {
            float percentage;
            const char *evaluation, *symbol;
        } cases[] = {{78.5f, "2", "+"}, {51, "2", "-"}, {65, "2", ""}, {81, "1", "-"},
                     {95, "1", ""},     {49, "3", ""},  {10, "", ""}};
        for (const auto &c : cases) {
            f.r(1).percentage = c.percentage;
            f.r(1).evaluation = QString::fromUtf8(c.evaluation);
            f.symbols.refresh(*f.sheet);
            QCOMPARE(f.symbols.at(1, 0).border, QString::fromUtf8(c.symbol));
        }
        // "しない" never gives a symbol, even where rounding lifted the evaluation over its bound.
        f.year.borderCheck = 0;
        f.r(1).percentage = 79.01f;
        f.r(1).evaluation = QStringLiteral("1");
        f.symbols.refresh(*f.sheet);
        QVERIFY(f.symbols.at(1, 0).border.isEmpty());
    }

    void conversionSymbolsAndCompanion() {
        Fixture f;
        f.year.compareKanten = true;
        f.marks(1, 0, {"A", "A", "A", "B"});
        f.r(1).evaluation = QStringLiteral("5");
        f.symbols.refresh(*f.sheet);
        QVERIFY(f.symbols.at(1, 0).conversion.isEmpty()); // 18 / 4 = 4.5 goes up to 5
        f.year.kanHyouHenkan = 1;
        f.symbols.refresh(*f.sheet);
        QCOMPARE(f.symbols.at(1, 0).conversion, QStringLiteral("4"));

        // Companion: border, change, consistency (year-end only), conversion.
        f.year.borderCheck = 5;
        f.r(1).percentage = 82; // "5" above 80 by less than 5: "-"
        f.year.hissu.hikaku[1] = 1;
        f.r(2).evaluation = QStringLiteral("3");
        f.r(2).percentage = 54;
        f.symbols.refresh(*f.sheet);
        QCOMPARE(f.symbols.companion(1, 0), QStringLiteral("-4"));
        QCOMPARE(f.symbols.companion(2, 0), QStringLiteral("-▼"));

        // Electives convert with 3/2/1 to letters.
        Fixture e;
        e.sheet->elective = true;
        e.year.sentaku = e.year.hissu;
        e.year.compareKanten = true;
        e.marks(1, 0, {"A", "B"});
        e.r(1).evaluation = QStringLiteral("A");
        e.symbols.refresh(*e.sheet);
        QVERIFY(e.symbols.at(1, 0).conversion.isEmpty());
        QCOMPARE(conversionValue(e.r(1), 1, true), QStringLiteral("B"));
        StudentResult single;
        single.marks[0] = QStringLiteral("A");
        single.viewpointPercentages[0] = 90;
        QVERIFY(conversionValue(single, 0, false).isEmpty()); // one viewpoint is not enough
    }

    void distributionCounts() {
        Fixture f;
        f.r(1, 0).evaluation = QStringLiteral("5");
        f.r(1, 1).evaluation = QStringLiteral("5");
        f.r(1, 60).evaluation = QStringLiteral("3");
        f.r(1, 700).evaluation = QStringLiteral("3"); // every slot counts, not only roster rows
        f.r(1, 2).marks[1] = QStringLiteral("B");
        const Distribution d = distribution(f.results, f.year, false, 1, 0);
        QCOMPARE(d.symbols[0], QStringLiteral("5"));
        QCOMPARE(d.counts[0][0], 2);
        QCOMPARE(d.counts[2][1], 1);
        QCOMPARE(d.counts[2][11], 1);
        QCOMPARE(d.counts[2][12], 2);
        QCOMPARE(d.counts[10][12], 4);
        const Distribution v = distribution(f.results, f.year, false, 1, 2);
        QCOMPARE(v.counts[1][0], 1);
        QCOMPARE(v.counts[10][12], 1);
        f.year.hissu.hyouteiPatern[0] = 6;
        QCOMPARE(distribution(f.results, f.year, false, 1, 0).counts[10][12], 0);
    }
};

QTEST_GUILESS_MAIN(ChecksTest)
#include "ChecksTest.moc"
