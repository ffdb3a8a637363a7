#include "evaluation/Formula.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tavro;
using namespace tavro::formula;

namespace {

// Scores of items 1..n for one row, others empty.
struct Row {
    std::vector<int> scores;
    int operator()(int n) const { return n >= 1 && n <= int(scores.size()) ? scores[n - 1] : score::kEmpty; }
};

// Both evaluators must agree; returns the result.
int eval(const QString &formula, int item, const std::vector<int> &scores) {
    const Row row{scores};
    const int byText = evaluateByText(formula, item, row);
    const int compiled = Formula::compile(formula, item).evaluate(row);
    if (byText != compiled)
        qWarning() << formula << "text" << byText << "compiled" << compiled;
    return byText == compiled ? byText : -99999;
}

} // namespace

class FormulaTest : public QObject {
    Q_OBJECT

private slots:
    void listForm() {
        QCOMPARE(eval(QStringLiteral("1,2,3"), 4, {10, 20, 30}), 60);
        QCOMPARE(eval(QStringLiteral("1,2,3"), 2, {10, 20, 30}), 10); // 2 and 3 are not lower
        QCOMPARE(eval(QStringLiteral("1,x,3"), 4, {10, 20, 30}), 10); // stops at x
        QCOMPARE(eval(QStringLiteral("3,1000,1"), 4, {10, 20, 30}), 30);
        QCOMPARE(eval(QStringLiteral(""), 4, {10}), -1);
        QCOMPARE(eval(QStringLiteral("K"), 4, {10}), -1);
        QCOMPARE(eval(QStringLiteral("1,2"), 4, {10, score::kAbsent}), score::estimate(10));
        QCOMPARE(eval(QStringLiteral("1,2"), 4, {score::kTransferred, 5}), score::kTransferred);
        QCOMPARE(eval(QStringLiteral("1,2"), 4, {score::kTransferred, score::kNotSubmitted}),
                 score::kNotSubmitted);
        QCOMPARE(eval(QStringLiteral("1,2"), 4, {5, score::kEmpty}), -1);
        QCOMPARE(eval(QStringLiteral("1,2"), 4, {score::kNotSubmitted, score::kNotSubmitted}),
                 score::kNotSubmitted);
        QCOMPARE(eval(QStringLiteral("1,2"), 4, {score::estimate(7), 3}), score::estimate(10));
    }

    void expressionForm() {
        QCOMPARE(eval(QStringLiteral("=[1]*2+[2]*3"), 3, {10, 20}), 80);
        QCOMPARE(eval(QStringLiteral("=[1]*2+[2]*3"), 3, {10, score::kAbsent}), score::estimate(20));
        QCOMPARE(eval(QStringLiteral("=([1]+[2])/2"), 3, {7, 8}), 8); // 7.5
        QCOMPARE(eval(QStringLiteral("=[1]/[2]"), 3, {7, 0}), 0);
        QCOMPARE(eval(QStringLiteral("=[1]-[2]"), 3, {3, 5}), -1); // -2 rounds to -1: cleared
        QCOMPARE(eval(QStringLiteral("=[1]-[2]"), 3, {3, 4}), 0);  // -1 rounds to 0
        QCOMPARE(eval(QStringLiteral("=-[1]+[2]*2"), 3, {3, 5}), 7);
        QCOMPARE(eval(QStringLiteral("=[1]+[2]"), 3, {score::kTransferred, 5}), score::kTransferred);
        QCOMPARE(eval(QStringLiteral("=[1]+[2]"), 3, {score::kTransferred, score::kNotSubmitted}),
                 score::kNotSubmitted);
        QCOMPARE(eval(QStringLiteral("=[1]+[2]"), 3, {5, score::kEmpty}), -1);
        QCOMPARE(eval(QStringLiteral("=[1]*0.5"), 3, {10}), 50);
        QCOMPARE(eval(QStringLiteral("=5"), 3, {10}), -1);
        QCOMPARE(eval(QStringLiteral("=[5]+[1]"), 3, {1, 2, 3, 4, 6}), 7); // no restriction by item
        QCOMPARE(eval(QStringLiteral("=[1][2]"), 3, {1, 2}), 12);          // joined in the text
        QCOMPARE(eval(QStringLiteral("=([1]+[2])3"), 3, {1, 2}), 33);
        QCOMPARE(eval(QStringLiteral("=[2]([1]-[2])"), 3, {1, 5}), 1); // "5-4"
        QCOMPARE(eval(QStringLiteral("=(([1]))*((2))"), 3, {4}), 8);
        QCOMPARE(eval(QStringLiteral("=[1]--[2]"), 3, {4, 3}), 7);
        QCOMPARE(eval(QStringLiteral("=[1]*-([2]-[1])"), 3, {4, 3}), 4);
        QCOMPARE(eval(QStringLiteral("=([1]/[2])*[2]"), 3, {1, 3}), 1);
    }

    void malformedExpressionsAreEmpty() {
        for (const char *f : {"=([1]+[2]", "=[1]+[2])", "=[1]+", "=[1]*+[2]", "=+[1]", "=[1]**[2]", "=()+[1]",
                              "=[1", "=[0]+[1]*", "=([2]/2)([2]/2)",
                              "=[1]*99999999999999999999999999999"
                              "9999999999999999999999999999999"})
            QCOMPARE(eval(QString::fromLatin1(f), 3, {4, 3}), -1);
        const QString huge = QStringLiteral("=[1]") + QString(300, QLatin1Char('9')) + QStringLiteral("*1");
        QCOMPARE(eval(huge, 3, {4}), -1);
        // Overflowing values: infinite intermediate results fail, a huge finite result is not stored.
        QCOMPARE(eval(QStringLiteral("=[1]*9999999999999"), 3, {999}), -1);
    }

    void frozenFormulasKeepScores() {
        QVERIFY(isFrozen(u"@sjs"));
        QCOMPARE(eval(QStringLiteral("@SJS pasted"), 2, {3, 77}), 77);
        Worksheet w;
        w.item(1).kind = itemkind::kRegular;
        w.item(2).kind = itemkind::kAggregate;
        w.item(2).formula = QStringLiteral("@Sjs");
        w.score(2, 0) = 55;
        w.item(3).kind = itemkind::kAggregate;
        w.item(3).formula = QStringLiteral("1,2");
        w.score(1, 0) = 5;
        recalculateRow(w, 0);
        QCOMPARE(w.score(2, 0), 55);
        QCOMPARE(w.score(3, 0), 60);
    }

    void rowsUseFreshLowerAndPreviousHigherAggregates() {
        Worksheet w;
        w.item(1).kind = itemkind::kRegular;
        w.item(2).kind = itemkind::kAggregate;
        w.item(2).formula = QStringLiteral("=[1]*2+[4]"); // item 4 is higher: its previous value
        w.item(3).kind = itemkind::kAggregate;
        w.item(3).formula = QStringLiteral("1,2");
        w.item(4).kind = itemkind::kAggregate;
        w.item(4).formula = QStringLiteral("=[3]");
        for (int slot : {0, 61}) {
            w.score(1, slot) = 10;
            w.score(4, slot) = 1;
        }
        recalculateRows(w, {0, 61});
        for (int slot : {0, 61}) {
            QCOMPARE(w.score(2, slot), 21);
            QCOMPARE(w.score(3, slot), 31);
            QCOMPARE(w.score(4, slot), 31);
        }
        QCOMPARE(w.score(2, 1), -1); // rows not asked for stay
        recalculateRow(w, 0);
        QCOMPARE(w.score(2, 0), 51);
    }

    // Random formulas over random scores: the parsed evaluation gives exactly the substitution
    // result, and nothing crashes.
    void parsedEqualsSubstitution() {
        QRandomGenerator rng(4242);
        const QString pieces[] = {QStringLiteral("[1]"), QStringLiteral("[2]"), QStringLiteral("[3]"),
                                  QStringLiteral("[7]"), QStringLiteral("("),   QStringLiteral(")"),
                                  QStringLiteral("+"),   QStringLiteral("-"),   QStringLiteral("*"),
                                  QStringLiteral("/"),   QStringLiteral("2"),   QStringLiteral("0"),
                                  QStringLiteral("."),   QStringLiteral(" "),   QStringLiteral("[x]"),
                                  QStringLiteral("[0]"), QStringLiteral("["),   QStringLiteral("]"),
                                  QStringLiteral("15"),  QStringLiteral(","),   QStringLiteral("a")};
        const int codes[] = {0, 1, 3, 7, 50, 99, 100, 999, -1, -2, -3, -4, -1000, -1005, -1999, -5, -30000};
        int mismatches = 0, computed = 0;
        for (int round = 0; round < 20000; ++round) {
            QString f = rng.bounded(4) == 0 ? QString() : QStringLiteral("=");
            const int length = int(rng.bounded(12)) + 1;
            for (int i = 0; i < length; ++i)
                f += pieces[rng.bounded(int(std::size(pieces)))];
            std::vector<int> scores(8);
            for (int &s : scores)
                s = rng.bounded(3) == 0 ? codes[rng.bounded(int(std::size(codes)))] : int(rng.bounded(101));
            const int item = int(rng.bounded(9)) + 1;
            const Row row{scores};
            const int a = evaluateByText(f, item, row);
            const int b = Formula::compile(f, item).evaluate(row);
            if (a != b && ++mismatches < 5)
                qWarning() << f << scores << a << b;
            if (a >= 0 && f.startsWith(QLatin1Char('=')))
                ++computed;
        }
        QCOMPARE(mismatches, 0);
        QVERIFY2(computed > 1000, qPrintable(QString::number(computed))); // not only malformed texts
    }

    void arithmeticText() {
        QCOMPARE(evaluateArithmetic(u"1+2*3"), std::optional<double>(7));
        QCOMPARE(evaluateArithmetic(u"(1+2)*3"), std::optional<double>(9));
        QCOMPARE(evaluateArithmetic(u"10-4-3"), std::optional<double>(3));
        QCOMPARE(evaluateArithmetic(u"8/4/2"), std::optional<double>(1));
        QCOMPARE(evaluateArithmetic(u"((2))-(0-3)"), std::optional<double>(5));
        QCOMPARE(evaluateArithmetic(u"1/3*3"), std::optional<double>(1.0 / 3.0 * 3.0));
        QCOMPARE(evaluateArithmetic(u""), std::nullopt);
        QCOMPARE(decimalText(0.1), QStringLiteral("0.1"));
        QCOMPARE(decimalText(-0.0), QStringLiteral("0"));
        QCOMPARE(decimalText(1e-7), QStringLiteral("0.0000001"));
    }
};

QTEST_GUILESS_MAIN(FormulaTest)
#include "FormulaTest.moc"
