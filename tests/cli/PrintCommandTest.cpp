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

    // The test documents render inside the A4 page; the score list prints a page per class with the
    // date of --now, the notices the range of --range; a missing --test or --subject is refused.
    void testDocuments() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QVERIFY(DemoSchool::write(folder, 2024));
        const QString pdf = dir.filePath(QStringLiteral("test.pdf"));
        const QStringList common{QStringLiteral("--data"),   folder,
                                 QStringLiteral("--year"),   QStringLiteral("2024"),
                                 QStringLiteral("--grade"),  QStringLiteral("1"),
                                 QStringLiteral("--pdf"),    pdf,
                                 QStringLiteral("--dpi"),    QStringLiteral("300"),
                                 QStringLiteral("--layout"), QStringLiteral("-"),
                                 QStringLiteral("--now"),    QStringLiteral("2024-06-03T08:04:05")};
        auto run = [&](const QString &doc, const QStringList &more) {
            return cli(QStringList{QStringLiteral("print"), doc} + common + more);
        };
        const QStringList test{QStringLiteral("--test"), QStringLiteral("A")};
        for (const QString &doc : {QStringLiteral("score-list"), QStringLiteral("class-list"),
                                   QStringLiteral("notices-5"), QStringLiteral("notices-9"),
                                   QStringLiteral("notices-100"), QStringLiteral("notices-viewpoints")}) {
            const test::CliRun r =
                run(doc, test + QStringList{QStringLiteral("--subject"), QStringLiteral("国語")});
            QCOMPARE(r.status, 0);
            const QJsonArray pages =
                QJsonDocument::fromJson(r.bytes).object()[QStringLiteral("pages")].toArray();
            QVERIFY(!pages.isEmpty());
            for (const QJsonValue &page : pages)
                for (const QJsonValue &op : page[QStringLiteral("ops")].toArray())
                    if (op[QStringLiteral("op")].toString() == QLatin1String("text")) {
                        QVERIFY2(op[QStringLiteral("x")].toInt() >= 0 &&
                                     op[QStringLiteral("x")].toInt() < 2400,
                                 qPrintable(doc));
                        QVERIFY2(op[QStringLiteral("y")].toInt() >= 0 &&
                                     op[QStringLiteral("y")].toInt() < 3450,
                                 qPrintable(doc));
                    }
        }
        test::CliRun r = run(QStringLiteral("score-list"),
                             test + QStringList{QStringLiteral("--subject"), QStringLiteral("国語"),
                                                QStringLiteral("--classes"), QStringLiteral("1,2")});
        QJsonObject layout = QJsonDocument::fromJson(r.bytes).object();
        QCOMPARE(layout[QStringLiteral("pages")].toArray().size(), 2);
        const QJsonArray ops = layout[QStringLiteral("pages")][1][QStringLiteral("ops")].toArray();
        QVERIFY(std::any_of(ops.begin(), ops.end(), [](const QJsonValue &op) {
            return op[QStringLiteral("text")].toString() == QStringLiteral("印刷日時: 2024/06/03 8:04:05");
        }));
        r = run(QStringLiteral("notices-5"),
                test + QStringList{QStringLiteral("--range"), QStringLiteral("2-3")});
        layout = QJsonDocument::fromJson(r.bytes).object();
        QCOMPARE(layout[QStringLiteral("pages")].toArray().size(), 1);
        int notices = 0;
        for (const QJsonValue &op : layout[QStringLiteral("pages")][0][QStringLiteral("ops")].toArray())
            notices += op[QStringLiteral("text")].toString() == QStringLiteral("得　点");
        QCOMPARE(notices, 2);

        r = run(QStringLiteral("notices-viewpoints"), {});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(QStringLiteral("--test")));
        r = run(QStringLiteral("score-list"), test);
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(QStringLiteral("--subject")));
    }
};

QTEST_GUILESS_MAIN(PrintCommandTest)
#include "PrintCommandTest.moc"
