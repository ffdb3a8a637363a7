#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "common/DataPaths.h"
#include "common/IniFile.h"
#include "evaluation/EvaluationSession.h"
#include "exchange/ResultCopies.h"
#include "exchange/Transfers.h"
#include "support/CliRun.h"
#include "support/TestDoubles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

namespace {

constexpr int kYear = 2024;

// The demo school with lettered classes ("A組"), as a school sets it on the administration page.
struct LetteredSchool {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    QString teacher;
    LetteredSchool() {
        QVERIFY(DemoSchool::write(folder, kYear));
        IniFile main(paths::mainSettingsFile(folder));
        main.writeString(QStringLiteral("Settings"), QStringLiteral("ClassType"), QStringLiteral("0"));
        QVERIFY(main.save());
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, kYear, clock, nullptr));
        teacher = DemoSchool::teacherNames()[1];
    }
    QStringList worksheet(const QString &classes = QStringLiteral("12")) const {
        return {QStringLiteral("--data"),    folder,  QStringLiteral("--year"),    QString::number(kYear),
                QStringLiteral("--grade"),   "1",     QStringLiteral("--subject"), QStringLiteral("国語"),
                QStringLiteral("--teacher"), teacher, QStringLiteral("--classes"), classes,
                QStringLiteral("--period"),  "1"};
    }
    // The session the evaluation window opens: the class notation from the main settings.
    std::unique_ptr<EvaluationSession> windowSession() const {
        EvaluationContext c;
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.teacherName = teacher;
        c.chargeClasses = QStringLiteral("12");
        c.classType = false;
        auto s = std::make_unique<EvaluationSession>(c);
        test::ScriptedPrompter prompter;
        s->load(prompter);
        return s;
    }
};

} // namespace

class ClassListCliTest : public QObject {
    Q_OBJECT

private slots:
    // The worksheet copies of the command line equal the window's for lettered classes.
    void copiesWithLetteredClasses() {
        LetteredSchool school;
        const auto session = school.windowSession();
        const test::CliRun all = cli(QStringList{"clip", "results-all"} + school.worksheet());
        QCOMPARE(all.status, 0);
        QCOMPARE(all.out, exchange::resultsAllText(*session, 1));
        QVERIFY(all.out.contains(QStringLiteral("\r\nA\t")) || all.out.startsWith(QStringLiteral("A\t")));
        QVERIFY(all.out.contains(QStringLiteral("\r\nB\t")));

        const test::CliRun achievements = cli(QStringList{"clip", "achievements"} + school.worksheet());
        QCOMPARE(achievements.status, 0);
        QCOMPARE(achievements.out, exchange::achievementsText(*session, 1, 10));
        QVERIFY(achievements.out.contains(QStringLiteral("\r\nA\t")));
        QVERIFY(!achievements.out.contains(QStringLiteral("\r\n1\t")));

        const std::vector<bool> checks = exchange::defaultChecks(*session, 2);
        std::vector<int> numbers;
        for (int n = 1; n <= kSeatsPerClass; ++n)
            if (checks[std::size_t(n - 1)])
                numbers.push_back(n);
        const test::CliRun marks =
            cli(QStringList{"clip", "marks"} + school.worksheet() + QStringList{"--class", "2"});
        QCOMPARE(marks.status, 0);
        QCOMPARE(marks.out,
                 exchange::marksText(*session, 1, 2, numbers, session->settings().addKoumuToutatu));
    }

    // An empty class list is no class checked: the message, status 1 and no PDF, for every command
    // that takes --classes.
    void emptyClassList() {
        LetteredSchool school;
        const QString pdf = school.dir.filePath(QStringLiteral("out.pdf"));
        const QStringList grade{"--data", school.folder, "--year", QString::number(kYear), "--grade", "1"};
        const QList<QStringList> commands{
            QStringList{"clip", "results-all"} + school.worksheet(QString()),
            QStringList{"clip", "achievements"} + school.worksheet(QString()),
            QStringList{"calc"} + school.worksheet(QString()),
            QStringList{"clip", "excel"} + grade + QStringList{"--period", "1", "--classes", ""},
            QStringList{"conference"} + grade + QStringList{"--period", "1", "--classes", "", "--json"},
            QStringList{"clip", "test-entry"} + grade +
                QStringList{"--subject", "国語", "--test", "A", "--classes", ""},
            QStringList{"print", "kondan"} + grade +
                QStringList{"--period", "1", "--classes", "", "--pdf", pdf},
            QStringList{"print", "ichiran"} + grade +
                QStringList{"--period", "1", "--classes", ",", "--pdf", pdf},
            QStringList{"print", "class-list"} + grade +
                QStringList{"--test", "A", "--classes", "", "--pdf", pdf},
            QStringList{"print", "score-list"} + grade +
                QStringList{"--test", "A", "--subject", "国語", "--classes", "", "--pdf", pdf},
            QStringList{"print", "shiryou-c"} + school.worksheet(QString()).mid(0, 10) +
                QStringList{"--period", "1", "--classes", "", "--pdf", pdf},
        };
        for (const QStringList &args : commands) {
            const test::CliRun run = cli(args);
            QVERIFY2(run.status == 1, qPrintable(args.join(u' ') + u'\n' + run.err));
            QVERIFY2(run.err.contains(QStringLiteral("学級を選択してください。")), qPrintable(run.err));
            QVERIFY(run.out.isEmpty());
            QVERIFY2(!QFile::exists(pdf), qPrintable(args.join(u' ')));
        }
        // A list of classes still prints.
        QCOMPARE(cli(QStringList{"print", "kondan"} + grade +
                     QStringList{"--period", "1", "--classes", "1", "--pdf", pdf})
                     .status,
                 0);
        QVERIFY(QFile::exists(pdf));
    }
};

QTEST_GUILESS_MAIN(ClassListCliTest)
#include "ClassListCliTest.moc"
