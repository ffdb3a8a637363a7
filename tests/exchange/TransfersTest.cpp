#include "exchange/Transfers.h"

#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GradePeriodResults.h"
#include "exchange/ResultCopies.h"
#include "support/TestDoubles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::exchange;

class TransfersTest : public QObject {
    Q_OBJECT

private slots:
    void numberFormats_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 75.0 << "75";
        QTest::newRow("one decimal") << 72.5 << "72.5";
        QTest::newRow("single widened") << double(72.333336f) << "72.3333358764648";
        QTest::newRow("tiny") << 1e-5 << "1E-5";
        QTest::newRow("small") << 0.0001 << "0.0001";
        QTest::newRow("huge") << 1e15 << "1E15";
        QTest::newRow("large") << 1e14 << "100000000000000";
    }
    void numberFormats() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(generalNumber(value), text);
    }

    // The class transfer, the 1000-point achievements at their ties and the spreadsheet table on the
    // demo's grade 1: rows stay aligned with tabs and line breaks in comments.
    void texts() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QVERIFY(DemoSchool::write(folder, 2024));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, 2024, clock, nullptr));
        EvaluationContext c;
        c.dataFolder = folder;
        c.nendo = 2024;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.teacherName = DemoSchool::teacherNames()[1];
        c.chargeClasses = QStringLiteral("12");
        EvaluationSession s(c);
        test::ScriptedPrompter prompter;
        s.load(prompter);
        StudentResult &r = s.results().at(1, 1, 1);
        r.marks = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A")};
        r.evaluation = QStringLiteral("4");
        r.percentage = 81.24f;
        r.comment = QStringLiteral("T");
        QCOMPARE(marksText(s, 1, 1, {1}, true), QStringLiteral("A\tB\tA\t4\t\t 81.2%|T\r\n"));
        QCOMPARE(marksText(s, 1, 1, {1}, false), QStringLiteral("A\tB\tA\t4\t\tT\r\n"));
        r.comment = QStringLiteral("一行目\r\n二行目\tです");
        QCOMPARE(marksText(s, 1, 1, {1}, false).count(QStringLiteral("\r\n")), 1);
        r.percentage = 72.25f;
        QVERIFY(achievementsText(s, 1, 10).contains(QStringLiteral("\t722\t")));
        r.percentage = 72.75f;
        QVERIFY(achievementsText(s, 1, 10).contains(QStringLiteral("\t728\t")));

        const std::vector<bool> checks = defaultChecks(s, 1);
        for (int n = 1; n <= 60; ++n) {
            const QString &name = s.nameOf(slotOf(1, n));
            QCOMPARE(bool(checks[std::size_t(n - 1)]), !name.isEmpty() && name != QStringLiteral("＊"));
        }

        QVERIFY(ClassResultFile::save(paths::classResultFile(folder, 2024, 1, 1, QStringLiteral("国語")),
                                      s.results(), 1));
        GradePeriodResults results;
        QVERIFY(GradePeriodResults::load(folder, 2024, 1, 1, 1, results, &prompter));
        const QString excel = excelText(results, {1, 2}, QStringLiteral("1学期"), true);
        const QStringList lines = excel.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2 + 120 + 1);
        QCOMPARE(lines[0], QStringLiteral("\t\t1学期\t1年\t"));
        QCOMPARE(lines[1].count(u'\t'), 3 + 27);
        for (int i = 2; i < 122; ++i)
            QCOMPARE(lines[i].count(u'\t'), 30);
        QVERIFY(lines[2].startsWith(QStringLiteral("1\t1\t")));
        QVERIFY(lines[2].contains(QStringLiteral("\t72.75\t")));
        QVERIFY(lines[2].contains(QStringLiteral("一行目  二行目 です")));
        QCOMPARE(excelText(results, {}, QStringLiteral("1学期"), true).count(QStringLiteral("\r\n")), 2);
    }
};

QTEST_GUILESS_MAIN(TransfersTest)
#include "TransfersTest.moc"
