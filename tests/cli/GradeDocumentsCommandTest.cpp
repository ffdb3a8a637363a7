#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "common/Cp932.h"
#include "support/CliRun.h"
#include "support/TestDoubles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

class GradeDocumentsCommandTest : public QObject {
    Q_OBJECT

private slots:
    // print ichiran and toutatsu from the store of the demo's grade 3; clip grade-transfer with the
    // default seats, chosen seats, in code page 932, and refused for an unknown subject.
    void gradeDocumentsAndTransfer() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QVERIFY(DemoSchool::write(folder, 2024));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, 2024, clock, nullptr));
        QVERIFY(demo::writeGradeResults(folder, 2024, clock, nullptr));
        const QStringList common{QStringLiteral("--data"),   folder,
                                 QStringLiteral("--year"),   QStringLiteral("2024"),
                                 QStringLiteral("--grade"),  QStringLiteral("3"),
                                 QStringLiteral("--period"), QStringLiteral("1")};
        const QString pdf = dir.filePath(QStringLiteral("ichiran.pdf"));
        const test::CliRun ichiran =
            cli(QStringList{QStringLiteral("print"), QStringLiteral("ichiran")} + common +
                QStringList{QStringLiteral("--classes"), QStringLiteral("1,2"), QStringLiteral("--now"),
                            QStringLiteral("2024-12-20T16:05:00"), QStringLiteral("--pdf"), pdf,
                            QStringLiteral("--layout"), QStringLiteral("-"), QStringLiteral("--dpi"),
                            QStringLiteral("300")});
        QCOMPARE(ichiran.status, 0);
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const QJsonObject layout = QJsonDocument::fromJson(ichiran.bytes).object();
        QCOMPARE(layout[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 資料A"));
        QCOMPARE(layout[QStringLiteral("paper")].toString(), QStringLiteral("A3"));
        QCOMPARE(layout[QStringLiteral("pages")].toArray().size(), 2);
        const QJsonArray ops = layout[QStringLiteral("pages")][0][QStringLiteral("ops")].toArray();
        QVERIFY(std::any_of(ops.begin(), ops.end(), [](const QJsonValue &op) {
            return op[QStringLiteral("text")].toString() == QStringLiteral("印刷日時：12/20 16:05:00");
        }));
        const test::CliRun noPeriod =
            cli({QStringLiteral("print"), QStringLiteral("toutatsu"), QStringLiteral("--data"), folder,
                 QStringLiteral("--year"), QStringLiteral("2024"), QStringLiteral("--grade"),
                 QStringLiteral("3"), QStringLiteral("--pdf"), dir.filePath(QStringLiteral("t.pdf"))});
        QCOMPARE(noPeriod.status, 1);
        QVERIFY(noPeriod.err.contains(QStringLiteral("--period")));

        const QStringList transfer = QStringList{QStringLiteral("clip"), QStringLiteral("grade-transfer")} +
                                     common +
                                     QStringList{QStringLiteral("--subject"), QStringLiteral("国語")};
        const test::CliRun all = cli(transfer);
        QCOMPARE(all.status, 0);
        const QStringList lines = all.out.split(QStringLiteral("\r\n"));
        QVERIFY(lines.size() > 30);
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines.first().count(u'\t'), 5); // five marks for 国語
        const test::CliRun two =
            cli(transfer + QStringList{QStringLiteral("--slots"), QStringLiteral("61,1")});
        QCOMPARE(two.out.count(QStringLiteral("\r\n")), 2);
        QVERIFY(two.out.startsWith(lines.first() + QStringLiteral("\r\n")));
        const test::CliRun sjis = cli(transfer + QStringList{QStringLiteral("--sjis")});
        QCOMPARE(sjis.bytes, cp932::encodeLossy(all.out));
        const test::CliRun math = cli(QStringList{QStringLiteral("clip"), QStringLiteral("grade-transfer")} +
                                      common + QStringList{QStringLiteral("--subject"), QStringLiteral("3")});
        QCOMPARE(math.out.section(QStringLiteral("\r\n"), 0, 0).count(u'\t'), 4);
        const test::CliRun unknown =
            cli(QStringList{QStringLiteral("clip"), QStringLiteral("grade-transfer")} + common +
                QStringList{QStringLiteral("--subject"), QStringLiteral("体育")});
        QCOMPARE(unknown.status, 1);
    }
};

QTEST_GUILESS_MAIN(GradeDocumentsCommandTest)
#include "GradeDocumentsCommandTest.moc"
