#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
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
};

QTEST_GUILESS_MAIN(PrintCommandTest)
#include "PrintCommandTest.moc"
