#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "evaluation/EvaluationPaths.h"
#include "support/CliRun.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

class PrintCommandTest : public QObject {
    Q_OBJECT

private slots:
    // conference prints the data of the comment list; print kondan renders it to a PDF with the layout
    // of what it drew; a PDF that cannot be written fails with the message.
    void conferenceAndKondan() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QVERIFY(DemoSchool::write(folder, 2024));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, 2024, clock, nullptr));
        const QStringList common{QStringLiteral("--data"),   folder,
                                 QStringLiteral("--year"),   QStringLiteral("2024"),
                                 QStringLiteral("--grade"),  QStringLiteral("1"),
                                 QStringLiteral("--period"), QStringLiteral("1")};
        const test::CliRun data =
            cli(QStringList{QStringLiteral("conference")} + common +
                QStringList{QStringLiteral("--classes"), QStringLiteral("2"), QStringLiteral("--json")});
        QCOMPARE(data.status, 0);
        const QJsonObject json = QJsonDocument::fromJson(data.bytes).object();
        const QJsonArray students = json[QStringLiteral("classes")][0][QStringLiteral("students")].toArray();
        QVERIFY(!students.isEmpty());
        QCOMPARE(students[0][QStringLiteral("comments")].toArray().size(), 9);
        bool anyComment = false;
        for (const QJsonValue &s : students)
            anyComment = anyComment || !s[QStringLiteral("comments")][0].toString().isEmpty();
        QVERIFY(anyComment); // the demo's 国語 comments

        const QString pdf = dir.filePath(QStringLiteral("kondan.pdf"));
        const test::CliRun print =
            cli(QStringList{QStringLiteral("print"), QStringLiteral("kondan")} + common +
                QStringList{QStringLiteral("--classes"), QStringLiteral("1,2"), QStringLiteral("--now"),
                            QStringLiteral("2024-12-20T16:05:00"), QStringLiteral("--pdf"), pdf,
                            QStringLiteral("--layout"), QStringLiteral("-"), QStringLiteral("--dpi"),
                            QStringLiteral("300")});
        QCOMPARE(print.status, 0);
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const QJsonObject layout = QJsonDocument::fromJson(print.bytes).object();
        QCOMPARE(layout[QStringLiteral("pages")].toArray().size(), 2);
        QCOMPARE(layout[QStringLiteral("dpi")].toArray(), (QJsonArray{300, 300}));
        const QJsonArray ops = layout[QStringLiteral("pages")][0][QStringLiteral("ops")].toArray();
        QVERIFY(std::any_of(ops.begin(), ops.end(), [](const QJsonValue &op) {
            return op[QStringLiteral("text")].toString() ==
                   QStringLiteral("印刷日時： 2024(令和06)年12月20日(金) 16:05:00");
        }));
        for (const QJsonValue &op : ops)
            if (op[QStringLiteral("op")].toString() == QLatin1String("text")) {
                QVERIFY(op[QStringLiteral("x")].toInt() >= 0 && op[QStringLiteral("x")].toInt() < 3508);
                QVERIFY(op[QStringLiteral("y")].toInt() >= 0 && op[QStringLiteral("y")].toInt() < 2480);
            }

        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("blocked.pdf")));
        const test::CliRun failed =
            cli(QStringList{QStringLiteral("print"), QStringLiteral("kondan")} + common +
                QStringList{QStringLiteral("--pdf"), dir.filePath(QStringLiteral("blocked.pdf"))});
        QCOMPARE(failed.status, 1);
        QVERIFY(failed.err.contains(QStringLiteral("印刷できませんでした。")));
    }

    // The subject documents from the worksheet of --subject and --teacher: 資料C of two classes, the
    // small sheets' cover, and the options they need.
    void subjectDocuments() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QVERIFY(DemoSchool::write(folder, 2024));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, 2024, clock, nullptr));
        QString teacher;
        for (const QString &t : DemoSchool::teacherNames())
            if (QFile::exists(paths::worksheetFile(folder, t, 2024, 1, QStringLiteral("国語"))))
                teacher = t;
        const QStringList common{QStringLiteral("--data"),    folder,
                                 QStringLiteral("--year"),    QStringLiteral("2024"),
                                 QStringLiteral("--grade"),   QStringLiteral("1"),
                                 QStringLiteral("--subject"), QStringLiteral("国語"),
                                 QStringLiteral("--period"),  QStringLiteral("1")};
        const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
        const test::CliRun c =
            cli(QStringList{QStringLiteral("print"), QStringLiteral("shiryou-c")} + common +
                QStringList{QStringLiteral("--teacher"), teacher, QStringLiteral("--classes"),
                            QStringLiteral("1,3"), QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"),
                            QStringLiteral("-")});
        QCOMPARE(c.status, 0);
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const QJsonObject layout = QJsonDocument::fromJson(c.bytes).object();
        QCOMPARE(layout[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 評定資料C"));
        QCOMPARE(layout[QStringLiteral("pages")].toArray().size(), 2);

        const test::CliRun cover =
            cli(QStringList{QStringLiteral("print"), QStringLiteral("kohyou-cover")} + common +
                QStringList{QStringLiteral("--teacher"), teacher, QStringLiteral("--now"),
                            QStringLiteral("2024-12-20T16:05:00"), QStringLiteral("--pdf"),
                            dir.filePath(QStringLiteral("k.pdf")), QStringLiteral("--layout"),
                            QStringLiteral("-")});
        QCOMPARE(cover.status, 0);
        QVERIFY(cover.out.contains(QStringLiteral("印刷日時：2024/12/20 16:05:00")));

        const test::CliRun missing =
            cli(QStringList{QStringLiteral("print"), QStringLiteral("shiryou-a")} + common +
                QStringList{QStringLiteral("--pdf"), dir.filePath(QStringLiteral("a.pdf"))});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains(QStringLiteral("--teacher")));
        const test::CliRun usage = cli({QStringLiteral("print")});
        QCOMPARE(usage.status, 2);
        QVERIFY(
            usage.err.contains(QStringLiteral("shiryou-e --subject S --teacher T [--elective] --period K")));
    }
};

QTEST_GUILESS_MAIN(PrintCommandTest)
#include "PrintCommandTest.moc"
