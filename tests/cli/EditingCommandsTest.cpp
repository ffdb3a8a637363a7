#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "common/Cp932.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "exchange/ResultCopies.h"
#include "support/CliRun.h"
#include "support/TestDoubles.h"
#include "testscores/ScoreEntrySession.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

namespace {

constexpr int kYear = 2024;

struct Demo {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    QString teacher;
    Demo() {
        QVERIFY(DemoSchool::write(folder, kYear));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, kYear, clock, nullptr));
        teacher = DemoSchool::teacherNames()[1];
    }
    QStringList w(const QString &command) const {
        return {command,
                QStringLiteral("--data"),
                folder,
                QStringLiteral("--year"),
                QString::number(kYear),
                QStringLiteral("--grade"),
                QStringLiteral("1"),
                QStringLiteral("--subject"),
                QStringLiteral("国語"),
                QStringLiteral("--teacher"),
                teacher,
                QStringLiteral("--classes"),
                QStringLiteral("12")};
    }
    std::unique_ptr<EvaluationSession> session() const {
        EvaluationContext c;
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.teacherName = teacher;
        c.chargeClasses = QStringLiteral("12");
        auto s = std::make_unique<EvaluationSession>(c);
        test::ScriptedPrompter prompter;
        s->load(prompter);
        return s;
    }
};

const QStringList kPeriod1{QStringLiteral("--period"), QStringLiteral("1")};

} // namespace

class EditingCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // The clip texts are exactly the core's texts; a pasted block lands and is saved; clear and
    // students refuse with the window's message.
    void clipPasteClearStudents() {
        Demo demo;
        auto s = demo.session();
        const test::CliRun all =
            cli(QStringList{QStringLiteral("clip"), QStringLiteral("results-all")} +
                demo.w(QString()).mid(1) + kPeriod1 + QStringList{QStringLiteral("--sjis")});
        QCOMPARE(all.status, 0);
        QCOMPARE(all.bytes, cp932::encodeLossy(exchange::resultsAllText(*s, 1)));
        const test::CliRun ach = cli(QStringList{QStringLiteral("clip"), QStringLiteral("achievements")} +
                                     demo.w(QString()).mid(1) + kPeriod1 +
                                     QStringList{QStringLiteral("--full"), QStringLiteral("100")});
        QCOMPARE(ach.out, exchange::achievementsText(*s, 1, 1));

        const test::CliRun paste = test::runProgram(
            QStringLiteral(TAVRO_CLI_PATH),
            demo.w(QStringLiteral("paste")) + QStringList{QStringLiteral("--grid"), QStringLiteral("scores"),
                                                          QStringLiteral("--at"), QStringLiteral("2,40")},
            QByteArray("12\t*7\tabc\r\n/\t\t5\n"));
        QCOMPARE(paste.status, 0);
        QCOMPARE(paste.out, QStringLiteral("貼り付け 4 セル, 変更なし 2 セル\n"));
        auto after = demo.session();
        const int row2 = after->rows()[1], row3 = after->rows()[2];
        QCOMPARE(after->worksheet().score(38, row2), 12);
        QCOMPARE(after->worksheet().score(39, row2), -1007);
        QCOMPARE(after->worksheet().score(38, row3), -4);
        QCOMPARE(after->worksheet().score(40, row3), 5);

        const test::CliRun no = cli(demo.w(QStringLiteral("clear")) + kPeriod1 +
                                    QStringList{QStringLiteral("--answer"), QStringLiteral("no")});
        QCOMPARE(no.status, 1);
        const test::CliRun yes = cli(demo.w(QStringLiteral("clear")) + kPeriod1 +
                                     QStringList{QStringLiteral("--answer"), QStringLiteral("yes")});
        QCOMPARE(yes.status, 0);
        EvaluationResults reread;
        ClassResultFile::load(paths::classResultFile(demo.folder, kYear, 1, 2, QStringLiteral("国語")), 2,
                              reread, true, nullptr);
        QCOMPARE(reread.dateTime(1), 0.0);

        const test::CliRun none = cli(demo.w(QStringLiteral("students")) + kPeriod1 +
                                      QStringList{QStringLiteral("--order"), QStringLiteral("achievement")});
        QCOMPARE(none.status, 1);
        QVERIFY(none.err.contains(QStringLiteral("該当するデータはありません。")));
        const test::CliRun byClass = cli(demo.w(QStringLiteral("students")) + kPeriod1 +
                                         QStringList{QStringLiteral("--order"), QStringLiteral("class")});
        QCOMPARE(byClass.status, 0);
        QVERIFY(byClass.out.startsWith(QStringLiteral("101 ")));
    }

    // clip test-entry prints the window's copy of a test; classes outside the grade are left out.
    void clipTestEntry() {
        Demo demo;
        const QStringList args{QStringLiteral("clip"),      QStringLiteral("test-entry"),
                               QStringLiteral("--data"),    demo.folder,
                               QStringLiteral("--year"),    QString::number(kYear),
                               QStringLiteral("--grade"),   QStringLiteral("1"),
                               QStringLiteral("--subject"), QStringLiteral("国語"),
                               QStringLiteral("--test"),    QStringLiteral("B")};
        const test::CliRun copy = cli(
            args + QStringList{QStringLiteral("--classes"), QStringLiteral("319"), QStringLiteral("--sjis")});
        QCOMPARE(copy.status, 0);
        ScoreEntryContext c;
        c.dataFolder = demo.folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.testCode = QStringLiteral("B");
        c.testName = QStringLiteral("1学期期末テスト");
        c.chargeClasses = QStringLiteral("31");
        ScoreEntrySession window(c);
        test::ScriptedPrompter prompter;
        QVERIFY(window.load(prompter));
        QCOMPARE(copy.bytes, cp932::encodeLossy(window.copyAllText()));
        QCOMPARE(copy.bytes.count("\r\n"), 2 + 120);

        const test::CliRun unknown =
            cli(args.mid(0, args.size() - 1) +
                QStringList{QStringLiteral("Z"), QStringLiteral("--classes"), QStringLiteral("1")});
        QCOMPARE(unknown.status, 1);
        const test::CliRun none = cli(args + QStringList{QStringLiteral("--classes"), QStringLiteral("7")});
        QCOMPARE(none.status, 1);
        QVERIFY(none.err.contains(QStringLiteral("入力できる学級がありません。")));
    }
};

QTEST_GUILESS_MAIN(EditingCommandsTest)
#include "EditingCommandsTest.moc"
