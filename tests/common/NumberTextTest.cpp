#include "common/NumberText.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <limits>

using namespace tavro;

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void agreesWithPrintfOffTies();
};

void NumberTextTest::format_data() {
    QTest::addColumn<QString>("conversion");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *conversion, double value, const char *text) {
        QTest::addRow("%s %.17g", conversion, value)
            << QString::fromLatin1(conversion) << value << QString::fromLatin1(text);
    };
    // Exact binary ties go away from zero (printf would give 81.2, 72.12, 0, 2, -0, 0.12).
    row("%5.1f", 81.25, " 81.3");
    row("%3.2f", 72.125, "72.13");
    row("%3.6f", 35.12042236328125, "35.120422"); // ...4223|6328125 is not a tie
    row("%3.13f", 35.12042236328125, "35.1204223632813");
    row("%3.0f", 0.5, "  1");
    row("%3.0f", 2.5, "  3");
    row("%3.0f", -0.5, " -1");
    row("%3.0f", -2.5, " -3");
    row("%3.2f", 0.125, "0.13");
    row("%4.1f", double(72.25f), "72.3");
    row("%8.4f", 12.34565, " 12.3456"); // 12.345649999... in binary
    row("%8.4f", 0.00005, "  0.0001");  // 5.000000000000000409e-05
    // Values next to a tie, and decimal "ties" that are not ties in binary.
    row("%3.1f", 0.15, "0.1"); // 0.1499999999999999944...
    row("%3.1f", 0.25, "0.3");
    row("%3.1f", 0.35, "0.3"); // 0.34999999999999997779...
    row("%3.1f", 0.45, "0.5"); // 0.4500000000000000111...
    row("%3.0f", std::nextafter(2.5, 0.0), "  2");
    row("%3.0f", std::nextafter(2.5, 3.0), "  3");
    row("%4.1f", double(72.45f), "72.4"); // the single is 72.4499969...
    // Carries through nines.
    row("%5.1f", 99.95, "100.0"); // 99.9500000000000028...
    row("%3.2f", 9.995, "9.99");  // 9.9949999999999992...
    row("%3.0f", 999.5, "1000");
    row("%f", 0.0000005, "0.000000"); // 4.99999999999999977e-07
    row("%f", 70.66666412353516, "70.666664");
    row("%3.2f", -0.001, "-0.00");
    row("%3.2f", 1e20, "100000000000000000000.00");
    // The 15-digit general form of the spreadsheet table.
    row("%.15G", 0.1, "0.1");
    row("%.15G", 1.0 / 3.0, "0.333333333333333");
    row("%.15G", 2.0 / 3.0, "0.666666666666667");
    row("%.15G", 81.25, "81.25");
    row("%.15G", 123456789012345.5, "123456789012346"); // a tie at the 15th digit
    row("%.15G", 999999999999999.5, "1E+15");
    row("%.15G", 1e15, "1E+15");
    row("%.15G", 0.0001, "0.0001");
    row("%.15G", 0.00001234, "1.234E-05");
    row("%.15G", -72.125, "-72.125");
    row("%.15G", 0.0, "0");
    row("%.4g", 1234.5, "1235");
    row("%.4g", 12345.0, "1.235e+04"); // a tie
    row("%.4g", 0.5, "0.5");
}

void NumberTextTest::format() {
    QFETCH(QString, conversion);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(numbertext::format(conversion.toLatin1().constData(), value), text);
}

// Away from an exact tie both roundings agree, so printf is the reference for values that are not ties.
void NumberTextTest::agreesWithPrintfOffTies() {
    QRandomGenerator random(20);
    const char *conversions[] = {"%5.1f", "%3.2f", "%3.6f", "%4.1f", "%3.0f", "%f", "%8.4f", "%.15G", "%.4g"};
    for (int i = 0; i < 20000; ++i) {
        const double scale = std::pow(10.0, random.bounded(-6, 8));
        const double value = (random.generateDouble() - 0.3) * scale;
        for (const char *conversion : conversions) {
            char buffer[512];
            std::snprintf(buffer, sizeof buffer, conversion, value);
            const QString expected = QString::fromLatin1(buffer);
            const QString actual = numbertext::format(conversion, value);
            if (actual != expected)
                QFAIL(qPrintable(QStringLiteral("%1 of %2: %3, printf %4")
                                     .arg(QString::fromLatin1(conversion))
                                     .arg(value, 0, 'g', 17)
                                     .arg(actual, expected)));
        }
    }
}

QTEST_GUILESS_MAIN(NumberTextTest)
#include "NumberTextTest.moc"
