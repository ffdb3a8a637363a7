#include "common/Rounding.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace tavro;

class RoundingTest : public QObject {
    Q_OBJECT
private slots:
    void rounding_data();
    void rounding();
};

void RoundingTest::rounding_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<qint64>("addHalf");
    QTest::addColumn<qint64>("even");
    QTest::addColumn<qint64>("away");
    QTest::addColumn<qint64>("ceil");
    QTest::newRow("2.5") << 2.5 << qint64(3) << qint64(2) << qint64(3) << qint64(3);
    QTest::newRow("3.5") << 3.5 << qint64(4) << qint64(4) << qint64(4) << qint64(4);
    QTest::newRow("0.5") << 0.5 << qint64(1) << qint64(0) << qint64(1) << qint64(1);
    QTest::newRow("-0.5") << -0.5 << qint64(0) << qint64(0) << qint64(-1) << qint64(0);
    QTest::newRow("-2.5") << -2.5 << qint64(-2) << qint64(-2) << qint64(-3) << qint64(-2);
    QTest::newRow("-2.7") << -2.7 << qint64(-2) << qint64(-3) << qint64(-3) << qint64(-2);
    QTest::newRow("-3.5") << -3.5 << qint64(-3) << qint64(-4) << qint64(-4) << qint64(-3);
    QTest::newRow("2.4999") << 2.4999 << qint64(2) << qint64(2) << qint64(2) << qint64(3);
    // Values next to a half are not halves.
    QTest::newRow("just above 2.5") << std::nextafter(2.5, 3.0) << qint64(3) << qint64(3) << qint64(3)
                                    << qint64(3);
    QTest::newRow("just below 3.5") << std::nextafter(3.5, 3.0) << qint64(3) << qint64(3) << qint64(3)
                                    << qint64(4);
    QTest::newRow("1.005 * 100") << 1.005 * 100 << qint64(100) << qint64(100) << qint64(100) << qint64(101);
    QTest::newRow("huge") << 1e300 << std::numeric_limits<qint64>::max() << std::numeric_limits<qint64>::max()
                          << std::numeric_limits<qint64>::max() << std::numeric_limits<qint64>::max();
    QTest::newRow("integer") << 7.0 << qint64(7) << qint64(7) << qint64(7) << qint64(7);
    QTest::newRow("-0.0") << -0.0 << qint64(0) << qint64(0) << qint64(0) << qint64(0);
}

void RoundingTest::rounding() {
    QFETCH(double, x);
    QFETCH(qint64, addHalf);
    QFETCH(qint64, even);
    QFETCH(qint64, away);
    QFETCH(qint64, ceil);
    QCOMPARE(rounding::addHalfTruncate(x), addHalf);
    QCOMPARE(rounding::halfEven(x), even);
    QCOMPARE(rounding::halfAwayFromZero(x), away);
    QCOMPARE(rounding::ceiling(x), ceil);
}

QTEST_GUILESS_MAIN(RoundingTest)
#include "RoundingTest.moc"
