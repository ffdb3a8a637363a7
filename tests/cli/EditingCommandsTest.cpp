#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "common/Cp932.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GradePeriodResults.h"
#include "exchange/ResultCopies.h"
#include "exchange/Transfers.h"
#include "support/CliRun.h"
#include "support/FileSnapshot.h"
#include "support/TestDoubles.h"
#include "testscores/ScoreEntrySession.h"

#include "common/FileSave.h"
#include "config/Electives.h"
#include "evaluation/WorksheetFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        const test::CliRun marks = cli(QStringList{QStringLiteral("clip"), QStringLiteral("marks")} +
                                       demo.w(QString()).mid(1) + kPeriod1 +
                                       QStringList{QStringLiteral("--class"), QStringLiteral("2"),
                                                   QStringLiteral("--numbers"), QStringLiteral("3,1")});
        QCOMPARE(marks.out, exchange::marksText(*s, 1, 2, {1, 3}, false));
        GradePeriodResults grade;
        QVERIFY(GradePeriodResults::load(demo.folder, kYear, 1, 1, 1, grade, nullptr));
        const test::CliRun excel = cli(
            {QStringLiteral("clip"), QStringLiteral("excel"), QStringLiteral("--data"), demo.folder,
             QStringLiteral("--year"), QString::number(kYear), QStringLiteral("--grade"), QStringLiteral("1"),
             QStringLiteral("--period"), QStringLiteral("1"), QStringLiteral("--sjis")});
        QCOMPARE(excel.bytes,
                 cp932::encodeLossy(exchange::excelText(grade, {1, 2, 3}, s->periodName(1), true)));

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

    // A result file whose share is gone (a link into a missing folder, which stops root as well):
    // calc, clear and a paste of percentages end with status 1 and the file in one message, and no
    // result file or backup changes; the same for an elective's calculation.
    void failedResultWritesChangeNothing() {
#ifdef Q_OS_UNIX
        Demo demo;
        YearSettings y = YearSettings::load(demo.folder, kYear);
        y.toutatuPaste = true;
        QVERIFY(y.save(demo.folder, kYear));
        const QString first = paths::classResultFile(demo.folder, kYear, 1, 1, QStringLiteral("国語"));
        const QString second = paths::classResultFile(demo.folder, kYear, 1, 2, QStringLiteral("国語"));
        QVERIFY(QFile::remove(second));
        QVERIFY(QFile::link(demo.folder + QStringLiteral("gone/102国語.dat"), second));
        QString elective;
        for (const QString &line : electives::readLines(demo.folder, kYear))
            if (elective.isEmpty() && electives::gradeOf(line) == 1)
                elective = electives::nameOf(line);
        QVERIFY(!elective.isEmpty());
        const QString electiveFile = paths::electiveResultFile(demo.folder, kYear, 1, elective);
        QFile::remove(electiveFile);
        QVERIFY(QDir().mkpath(QFileInfo(electiveFile).path()));
        QVERIFY(QFile::link(demo.folder + QStringLiteral("gone/e.dat"), electiveFile));
        const QStringList files{first, backupPathFor(first), backupPathFor(second),
                                backupPathFor(electiveFile)};
        const test::FileSnapshot snapshot(files);
        QVERIFY(!snapshot.bytes(first).isEmpty());
        const auto unchanged = [&] {
            return snapshot.unchanged() && !QFileInfo::exists(demo.folder + QStringLiteral("gone"));
        };
        const auto failedOnce = [](const test::CliRun &run, const QString &file) {
            return run.status == 1 && run.err.count(QStringLiteral("評定の保存ができませんでした。")) == 1 &&
                   run.err.contains(file);
        };
        const QStringList yes{QStringLiteral("--answer"), QStringLiteral("yes"), QStringLiteral("--answer"),
                              QStringLiteral("ok")};

        const test::CliRun calc = cli(demo.w(QStringLiteral("calc")) + kPeriod1 + yes);
        QVERIFY2(failedOnce(calc, QStringLiteral("102国語.dat")), qPrintable(calc.err));
        QVERIFY(unchanged());
        const test::CliRun clear = cli(demo.w(QStringLiteral("clear")) + kPeriod1 + yes.mid(0, 2));
        QVERIFY2(failedOnce(clear, QStringLiteral("102国語.dat")), qPrintable(clear.err));
        QVERIFY(unchanged());
        const test::CliRun paste =
            test::runProgram(QStringLiteral(TAVRO_CLI_PATH),
                             demo.w(QStringLiteral("paste")) + kPeriod1 +
                                 QStringList{QStringLiteral("--grid"), QStringLiteral("results"),
                                             QStringLiteral("--at"), QStringLiteral("1,3")},
                             QByteArray("90\r\n"));
        QVERIFY2(failedOnce(paste, QStringLiteral("102国語.dat")), qPrintable(paste.err));
        QVERIFY(unchanged());

        QVERIFY(WorksheetFile::save(paths::worksheetFile(demo.folder, demo.teacher, kYear, 1, elective),
                                    *std::make_unique<Worksheet>()));
        QStringList args = demo.w(QStringLiteral("calc")) + kPeriod1;
        args[args.indexOf(QStringLiteral("国語"))] = elective;
        args.remove(args.indexOf(QStringLiteral("--classes")), 2);
        args << QStringLiteral("--elective") << QStringLiteral("--answer") << QStringLiteral("no")
             << QStringLiteral("--answer") << QStringLiteral("no");
        const test::CliRun calcElective = cli(args);
        QVERIFY2(failedOnce(calcElective, QStringLiteral("e.dat")), qPrintable(calcElective.err));
        QVERIFY(unchanged());
#endif
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
